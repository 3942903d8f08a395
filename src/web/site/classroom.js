// 授業: the page on the projector leads the class's tablets through the school's relay. The
// teacher starts a class and hands its link (or QR code) to the class; each tablet that opens it
// asks for a seat number once, follows every moment the teacher reaches, and may step on its own
// unless the teacher locks it, coming back with 先生に合わせる. Loaded only when 授業 is used or
// a class link is opened, with the relay's client.
import { Follow, Lead, classFragment, createClass, heartbeat, readClassFragment, restoredClass, savedClass } from './class.js';
import {
  clickNamed, copyLink, idle, lessonEnables, lockControls, momentLink, onChanges, onSettled, onUserAct,
  startLesson, tell, ui,
} from './page.js';
import { drawCode, loadCodes } from './qr.js';
import { attachAnswering } from './answering.js';
import { attachAsking, closeQuestion, currentQuestion, takeAnswer } from './asking.js';

const line = document.getElementById('class-line');
const keptClass = 'kansu-class';
const seatOf = (id) => `kansu-seat-${id}`;
const answerKeysOf = (id) => `kansu-answer-keys-${id}`;

// The tab's session storage, where a browser allows it (else a reload starts afresh).
const session = {
  get: (key) => {
    try {
      return sessionStorage.getItem(key);
    } catch {
      return null;
    }
  },
  set: (key, value) => {
    try {
      sessionStorage.setItem(key, value);
    } catch {
      // Kept for this visit only.
    }
  },
  remove: (key) => {
    try {
      sessionStorage.removeItem(key);
    } catch {
      // Nothing was kept.
    }
  },
};

function say(text) {
  line.textContent = text;
  line.hidden = text === '';
}

// The relays the site was built for (a school's one, a district's several), the one named by the
// address's ?relay=N first: a school's pages may prefer their nearest relay.
function relays() {
  const meta = document.querySelector('meta[name="kansu-relay"]');
  const scheme = location.protocol === 'https:' ? 'wss:' : 'ws:';
  const all = (meta?.content ?? '/relay').split(/[\s,]+/).filter(Boolean)
    .map((relay) => (relay.startsWith('/') ? `${scheme}//${location.host}${relay}` : relay));
  const first = Number.parseInt(new URLSearchParams(location.search).get('relay') ?? '1', 10) - 1;
  if (first > 0 && first < all.length) all.push(...all.splice(0, first));
  return all;
}

let natsConnect = null;
async function connectFunction() {
  if (!natsConnect) natsConnect = (await import('./nats.js')).connect;
  return natsConnect;
}

// The keys that sign and check a class's moments exist only on a page from a secure address
// (https, or this machine).
const secure = () => Boolean(globalThis.isSecureContext && globalThis.crypto?.subtle);
const insecure = '授業には https のアドレスで開いたページが必要です。';

// The relay's state as one line; a page whose relay is away goes on on its own.
const away = '中継サーバーにつながりません。この端末だけで続けています（自動でつなぎ直します）。';

// ---- The teacher ----

let lead = null;
let locking = false;
let sendQueued = false;

function sendMoment() {
  sendQueued = false;
  if (!lead || ui.ended) return Promise.resolve();
  const link = momentLink();
  // A speed text no link can name: the class stays at the last moment that could be named.
  if (!link) return Promise.resolve();
  return lead.show({ link, playing: !idle(), lock: locking, question: currentQuestion() }).catch(() => {});
}

// After each batch of changes, once the call that made it has given the page back its turn.
function queueMoment() {
  if (lead && !sendQueued) {
    sendQueued = true;
    queueMicrotask(sendMoment);
  }
}

async function classLink(cls) {
  const url = new URL(location.href);
  url.search = '';
  url.hash = await classFragment(cls);
  return url.href;
}

async function startLeading(cls, panelParts) {
  const connect = await connectFunction();
  lead = new Lead({
    connect, servers: relays(), cls, onAnswer: takeAnswer,
    onStatus: (status) => {
      if (status === 'connected') say('授業中：生徒のタブレットがこの画面に合わせて動きます。');
      else if (status === 'disconnected') say(away);
    },
  });
  say('中継サーバーに接続しています…');
  const slow = setTimeout(() => lead && !lead.connection && say(away), 3000);
  sendMoment();
  panelParts.show(await classLink(cls));
  lead.start().catch(() => say(away)).finally(() => clearTimeout(slow));
}

async function endLeading(panelParts) {
  if (!lead) return;
  locking = false;
  closeQuestion();
  // The class is let go: its tablets are free again before the teacher leaves.
  await sendMoment();
  const leaving = lead;
  lead = null;
  session.remove(keptClass);
  say('');
  panelParts.hide();
  await leaving.close();
}

function teacherPanel(button) {
  const panel = document.getElementById('class-panel');
  const starting = document.getElementById('class-start');
  const running = document.getElementById('class-running');
  const field = document.getElementById('class-link');
  const canvas = document.getElementById('class-code');
  const said = document.getElementById('class-said');
  const lock = document.getElementById('class-lock');
  const asking = attachAsking({ sendQuestion: () => sendMoment(), closePanel: () => panel.close() });
  const parts = {
    show(link) {
      starting.hidden = true;
      running.hidden = false;
      field.value = link;
      lock.checked = locking;
      try {
        drawCode(canvas, link);
        canvas.hidden = false;
      } catch {
        canvas.hidden = true;
        said.textContent = 'リンクが長すぎて QR コードにできません。リンクをコピーしてください。';
      }
    },
    hide() {
      starting.hidden = false;
      running.hidden = true;
      field.value = '';
    },
  };
  button.addEventListener('click', async () => {
    if (ui.ended) {
      tell('授業を終了しています。');
      return;
    }
    said.textContent = '';
    await loadCodes();
    if (lead && field.value) parts.show(field.value);
    asking.refresh();
    panel.showModal();
  });
  const begin = document.getElementById('class-begin');
  begin.addEventListener('click', async () => {
    if (lead || begin.disabled) return;
    if (!secure()) {
      said.textContent = insecure;
      return;
    }
    begin.disabled = true; // one class, however often it is pressed
    try {
      const cls = await createClass();
      session.set(keptClass, await savedClass(cls));
      await startLeading(cls, parts);
      document.getElementById('class-copy').focus();
    } catch {
      said.textContent = '授業を始められませんでした。ページを読み込み直してください。';
    } finally {
      begin.disabled = false;
    }
  });
  document.getElementById('class-copy').addEventListener('click', () => copyLink(field, said));
  lock.addEventListener('change', () => {
    locking = lock.checked;
    sendMoment();
  });
  document.getElementById('class-end').addEventListener('click', () => endLeading(parts));
  panel.querySelector('.close').addEventListener('click', () => panel.close());
  panel.addEventListener('close', () => button.focus());
  return parts;
}

// 授業 in the toolbar; a teacher's reload goes on leading the class it led (its keys kept in the
// tab's session storage), so the class follows again without a new link.
export async function attachTeaching(button) {
  const parts = teacherPanel(button);
  onChanges(queueMoment);
  onSettled(queueMoment);
  const kept = session.get(keptClass);
  if (kept) {
    const cls = await restoredClass(kept);
    if (cls) await startLeading(cls, parts);
    else session.remove(keptClass);
  }
}

// ---- A student ----

let follow = null;
let following = true;
let latest = null; // the teacher's newest moment: { link, playing, lock }
let bringing = false;
let seat = '';
let connected = false;
const shownFromClass = []; // the last moments shown from the class (for tests and measurements)

function studentLine() {
  if (!connected) return;
  const who = seat ? `出席番号 ${seat}：` : '';
  if (ui.locked) say(`${who}先生が操作を止めています。先生の画面に合わせて動きます。`);
  else if (following) say(`${who}先生の画面に合わせて動きます。`);
  else say(`${who}自分で操作しています。「先生に合わせる」で先生の画面に戻ります。`);
}

function showFollowing(button) {
  button.setAttribute('aria-pressed', String(following));
  button.disabled = ui.locked;
  studentLine();
}

// "x=4.5&c=…&s=…" and "x=4.6&c=…&s=…": one step apart (+1 or -1), else 0.
function stepBetween(from, to) {
  const parts = (link) => {
    const p = new URLSearchParams(link);
    const x = p.get('x');
    p.delete('x');
    return { x: Math.round(Number(x) * 10), rest: p.toString() };
  };
  if (!from || !to) return 0;
  const a = parts(from);
  const b = parts(to);
  if (a.rest !== b.rest || !Number.isFinite(a.x) || !Number.isFinite(b.x)) return 0;
  const d = b.x - a.x;
  return d === 1 || d === -1 ? d : 0;
}

// The lesson brought to the teacher's moment: a step away by a press of 進む or 戻る, as the
// teacher's own page made it, anything else by a fresh lesson at that moment.
async function bringTo(link) {
  const now = momentLink();
  if (now === link) return;
  const step = stepBetween(now, link);
  const button = step > 0 ? 'susumu' : 'modoru';
  if (step && idle() && lessonEnables(button)) {
    await clickNamed(button, { fromPage: true });
    if (momentLink() === link) return;
  }
  await startLesson(link);
}

async function bringToLatest() {
  if (bringing) return;
  bringing = true;
  try {
    while (latest && (following || ui.locked) && !ui.ended && momentLink() !== latest.link) {
      const link = latest.link;
      await bringTo(link);
      if (momentLink() !== link) break; // the moment cannot be shown here; the next one may
      shownFromClass.push(link);
      if (shownFromClass.length > 1000) shownFromClass.shift();
    }
  } finally {
    bringing = false;
  }
}

function askSeat(id) {
  seat = session.get(seatOf(id)) ?? '';
  if (seat) return;
  const panel = document.getElementById('seat-panel');
  const form = document.getElementById('seat-form');
  const input = document.getElementById('seat');
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    const n = Number(input.value);
    if (!Number.isInteger(n) || n < 1 || n > 99) {
      input.setCustomValidity('1 から 99 までの番号を入れてください。');
      input.reportValidity();
      return;
    }
    seat = String(n);
    session.set(seatOf(id), seat);
    panel.close();
    studentLine();
  });
  input.addEventListener('input', () => input.setCustomValidity(''));
  // The seat is asked once and is needed: Esc does not leave the question unanswered.
  panel.addEventListener('cancel', (event) => event.preventDefault());
  panel.showModal();
}

// A tablet opening a class link: it follows from now on, the link kept in its address so a
// reload joins again.
export async function joinClass(fragment) {
  const link = readClassFragment(fragment);
  if (!link) {
    tell('授業のリンクを読み取れませんでした。はじめの画面を表示しています。', 10000);
    return false;
  }
  if (follow) return true;
  if (!secure()) {
    tell(insecure, 10000);
    return false;
  }
  ui.inClass = true;
  document.getElementById('class').hidden = true;
  const button = document.getElementById('follow');
  button.hidden = false;
  showFollowing(button);
  button.addEventListener('click', () => {
    following = true;
    showFollowing(button);
    bringToLatest();
    follow?.hello();
  });
  onUserAct(() => {
    if (!following) return;
    following = false;
    showFollowing(button);
  });
  askSeat(link.id);
  const answering = attachAnswering({
    send: async ({ question, text }) => {
      try {
        return await follow.answer({ seat: Number(seat), question, text });
      } catch {
        return false;
      }
    },
  });
  say('中継サーバーに接続しています…');
  const connect = await connectFunction();
  follow = new Follow({
    connect, servers: relays(), link,
    onSent: (question) => answering.sent(question),
    onMoment: (moment) => {
      answering.show(moment.question);
      latest = moment;
      if (moment.lock !== ui.locked) lockControls(moment.lock);
      if (moment.lock) following = true;
      showFollowing(button);
      bringToLatest();
    },
    onStatus: (status) => {
      connected = status === 'connected';
      if (connected) {
        showFollowing(button);
        return;
      }
      // Without the relay the teacher cannot unlock it: the tablet is the student's own again.
      if (ui.locked) lockControls(false);
      showFollowing(button);
      say(away);
    },
  });
  setTimeout(() => !connected && say(away), 3000);
  // A teacher not heard from for three heartbeats has gone (the tab closed): a locked tablet is
  // the student's own again, and locks again with the teacher's next moment; a question shows
  // again with it.
  setInterval(() => {
    if (follow.heard && Date.now() - follow.heard > 3 * heartbeat) {
      answering.show(null); // its question is closed with it
      if (ui.locked) {
        lockControls(false);
        showFollowing(button);
      }
    }
  }, 5000);
  follow.start(session.get(answerKeysOf(link.id)))
    .then((keys) => session.set(answerKeysOf(link.id), keys), () => say(away));
  return true;
}

export function classShown() {
  return [...shownFromClass];
}
