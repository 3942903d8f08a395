// 質問する and 答えの集計, on the teacher's page: one of the moment's questions goes to the class,
// and the answers that come back are tallied live on the projector (how many answered, how many
// are right, each wrong answer with how many gave it), by seat number only and with the seat
// numbers hidden until the teacher shows them. CSV saves the answers to every question of the
// visit; nothing else keeps them.
import { isRight, sameAnswer } from './judge.js';
import { questions } from './page.js';

const $ = (id) => document.getElementById(id);

let asked = null; // { number, text, kind, values, at, open }
let answers = new Map(); // a tablet's key -> { seat, text, right, seconds }
const earlier = []; // the questions asked before this one: { text, answers }
let seatsShown = false;
let tallyHidden = false;
let drawQueued = false;

// The class's question is closed (the class ends): its answers stay for the CSV.
export function closeQuestion() {
  if (asked) asked.open = false;
  drawSoon();
}

export function currentQuestion() {
  return asked?.open ? { number: asked.number, text: asked.text } : null;
}

// An answer from a tablet, opened: the newest of each tablet to the open question counts.
export function takeAnswer({ sender, seat, question, text }) {
  if (!asked?.open || question !== asked.number) return;
  answers.set(sender, { seat, text, right: isRight(asked, text), seconds: (Date.now() - asked.at) / 1000 });
  drawSoon();
}

// Answers come together (a class answering at once): drawn (and said to a screen reader) at most
// four times a second. A timer, not an animation frame, so a page behind another keeps its tally.
function drawSoon() {
  if (drawQueued) return;
  drawQueued = true;
  setTimeout(() => {
    drawQueued = false;
    drawTally();
  }, 250);
}

const seatList = (seats) => [...seats].sort((a, b) => a - b).join('、');

function drawTally() {
  const tally = $('tally');
  $('class-tally').hidden = !asked || !tallyHidden;
  tally.hidden = !asked || tallyHidden;
  if (!asked) return;
  $('tally-question').textContent = asked.open ? asked.text : `${asked.text}（締め切りました）`;
  const all = [...answers.values()];
  const right = all.filter((a) => a.right).length;
  $('tally-count').textContent = `答えた人 ${all.length}　正しい答え ${right}`;

  // Each wrong answer once, however it was spelled, the most given first.
  const wrong = new Map();
  for (const a of all.filter((one) => !one.right)) {
    const key = sameAnswer(asked, a.text);
    if (!wrong.has(key)) wrong.set(key, { text: a.text.trim() || '（空欄）', seats: [] });
    wrong.get(key).seats.push(a.seat);
  }
  const list = $('tally-wrong');
  list.replaceChildren(...[...wrong.values()].sort((a, b) => b.seats.length - a.seats.length).map((w) => {
    const item = document.createElement('li');
    const answer = document.createElement('span');
    answer.className = 'tally-answer';
    answer.textContent = w.text;
    item.append(answer, `　${w.seats.length} 人`);
    if (seatsShown) item.append(`（出席番号 ${seatList(w.seats)}）`);
    return item;
  }));

  // Two tablets answering for one seat: the teacher sees both.
  const bySeat = new Map();
  for (const a of all) bySeat.set(a.seat, (bySeat.get(a.seat) ?? 0) + 1);
  const twice = [...bySeat].filter(([, n]) => n > 1).map(([s]) => s);
  const twiceLine = $('tally-twice');
  twiceLine.hidden = twice.length === 0;
  twiceLine.textContent = seatsShown
    ? `同じ出席番号に 2 台以上から答えがあります：出席番号 ${seatList(twice)}`
    : `同じ出席番号に 2 台以上から答えがあります（${twice.length} 人分）`;
  $('tally-close').hidden = !asked.open;
  $('tally-seats').setAttribute('aria-pressed', String(seatsShown));
}

// The tally as the teacher sees it (for tests and whoever wants to look): each answer, newest of
// each tablet, to the question asked last.
export function tally() {
  return { question: asked?.text ?? null, number: asked?.number ?? 0, open: Boolean(asked?.open), answers: [...answers.values()].map((a) => ({ ...a })) };
}

// A field of the CSV as a spreadsheet reads it back: quoted where it must be, and never taken for
// a formula ("=…", "+…", "@…", "-…" unless it is a number and nothing else).
function csvField(value) {
  let text = String(value);
  if (/^[=+@\t\r]/.test(text) || (/^-/.test(text) && !/^-\d+(\.\d+)?$/.test(text))) text = `'${text}`;
  return /[",\r\n]/.test(text) ? `"${text.replace(/"/g, '""')}"` : text;
}

export function answersCsv() {
  const all = [...earlier, ...(asked ? [{ text: asked.text, answers }] : [])];
  const rows = all.flatMap((q) => [...q.answers.values()].sort((a, b) => a.seat - b.seat || a.seconds - b.seconds)
    .map((a) => [q.text, a.seat, a.text, a.right ? '正' : '誤', a.seconds.toFixed(1)].map(csvField).join(',')));
  return `\uFEFF${['質問,出席番号,答え,正誤,秒', ...rows].join('\r\n')}\r\n`;
}

function saveCsv() {
  const url = URL.createObjectURL(new Blob([answersCsv()], { type: 'text/csv;charset=utf-8' }));
  const link = document.createElement('a');
  const now = new Date();
  const two = (n) => String(n).padStart(2, '0');
  link.href = url;
  link.download = `答え-${now.getFullYear()}${two(now.getMonth() + 1)}${two(now.getDate())}-${two(now.getHours())}${two(now.getMinutes())}.csv`;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

// The moment's questions, offered when the panel opens.
export function offerQuestions() {
  const select = $('class-question');
  const offered = questions();
  select.replaceChildren(...offered.map((q, i) => new Option(q.text, String(i))));
  $('class-ask').disabled = offered.length === 0;
  return offered;
}

// sendQuestion(): the class is told of the question (with the next moment).
export function attachAsking({ sendQuestion, closePanel }) {
  let offered = [];
  $('class-ask').addEventListener('click', () => {
    offered = offered.length ? offered : offerQuestions();
    const chosen = offered[Number($('class-question').value)];
    if (!chosen) return;
    if (asked && answers.size) earlier.push({ text: asked.text, answers });
    asked = { ...chosen, number: Math.max((asked?.number ?? 0) + 1, Date.now()), at: Date.now(), open: true };
    answers = new Map();
    tallyHidden = false;
    seatsShown = false; // a new question's answers go up on the projector without seats
    sendQuestion();
    drawTally();
    closePanel();
  });
  // The buttons that hide themselves hand the focus to 授業, where the next question is asked.
  $('tally-close').addEventListener('click', () => {
    if (!asked) return;
    asked.open = false;
    sendQuestion();
    $('class').focus();
    drawTally();
  });
  $('tally-seats').addEventListener('click', () => {
    seatsShown = !seatsShown;
    drawTally();
  });
  $('tally-csv').addEventListener('click', saveCsv);
  // Hidden, not lost: 授業 shows it again until the next question.
  $('tally-hide').addEventListener('click', () => {
    tallyHidden = true;
    $('class').focus();
    drawTally();
  });
  $('class-tally').addEventListener('click', () => {
    tallyHidden = false;
    drawTally();
    closePanel();
  });
  return {
    refresh() {
      offered = offerQuestions();
    },
  };
}
