// The lesson's window on the page: its own controls built from the core's layout table as the
// browser's elements, in the order a reader takes them, and kept in step with each batch of
// changes; what a screen reader is told of the pictures.
import { act, ui } from './lesson.js';

const win = document.getElementById('window');
const spoken = document.getElementById('spoken');

export const px = (v) => `${v}px`;

function fontOf(c, el) {
  el.style.fontSize = px(c.fontPx);
  el.style.fontWeight = c.bold ? 'bold' : 'normal';
}

// The order a reader takes the window in, and the order of Tab: the title row left to right, the
// figure, the column of buttons and boxes beside it top to bottom, the sentence under the figure,
// the table, the graph, and 終了 last. (The desktop keeps the design's own focus order.)
export function readingOrder(controls) {
  const middle = (c) => c.state.top + c.height / 2;
  const band = (c) => {
    if (c.name === 'end') return 5;
    if (c.kind === 'picture') return c.name === 'kokuban' ? 1 : c.name === 'hyo' ? 3 : 4;
    if (middle(c) < 45) return 0;
    if (c.state.left >= 520 && middle(c) < 505) return 2;
    return middle(c) < 555 ? 2.5 : 3;
  };
  return [...controls].sort((a, b) => band(a) - band(b) || (band(a) === 2 ? middle(a) - middle(b) : 0) || a.state.left - b.state.left);
}

export function build() {
  document.title = ui.layout.title;
  win.replaceChildren();
  ui.elements.clear();
  ui.pictures.clear();
  win.style.background = ui.layout.back;
  // Those inside a picture box are part of its picture.
  for (const c of readingOrder(ui.layout.controls.filter((c) => c.box === null))) {
    ui.elements.set(c.id, makeControl(c));
    if (c.name === 'hyo') win.append(makeTable(c));
  }
}

function place(el, c) {
  el.style.left = px(c.state.left);
  el.style.top = px(c.state.top);
  el.style.width = px(c.width);
  el.style.height = px(c.height);
}

function makeControl(c) {
  let el;
  switch (c.kind) {
    case 'label':
      el = document.createElement(c.heading ? 'h1' : 'div');
      el.className = 'control label';
      el.textContent = c.caption;
      el.style.background = c.back;
      el.style.color = c.fore ?? '#000000';
      break;
    case 'button':
      el = document.createElement('button');
      el.type = 'button';
      el.className = 'control button';
      el.textContent = c.caption;
      el.style.background = c.back;
      el.addEventListener('click', () => act(1, c.id));
      break;
    case 'check': {
      el = document.createElement('label');
      el.className = 'control check';
      el.style.background = c.back;
      el.style.color = c.fore ?? '#000000';
      const box = document.createElement('input');
      box.type = 'checkbox';
      // The box ticks at once; the lesson's answer sets it right if it decided otherwise.
      box.addEventListener('click', () => act(1, c.id));
      const caption = document.createElement('span');
      caption.textContent = c.caption;
      el.append(box, caption);
      el.input = box;
      break;
    }
    case 'text':
      el = document.createElement('input');
      el.type = 'text';
      el.className = 'control text';
      el.spellcheck = false;
      el.autocomplete = 'off';
      el.addEventListener('input', () => act(2, c.id, el.value));
      el.input = el;
      break;
    case 'combo':
      el = makeCombo(c);
      break;
    case 'picture': {
      el = document.createElement('div');
      el.className = 'control picture';
      el.style.borderWidth = px(ui.layout.border);
      el.setAttribute('role', 'img');
      const canvas = document.createElement('canvas');
      el.append(canvas);
      const width = c.width - 2 * ui.layout.border;
      const height = c.height - 2 * ui.layout.border;
      canvas.style.width = px(width);
      canvas.style.height = px(height);
      ui.pictures.set(c.id, { element: el, canvas, width, height, scale: 0, control: c });
      break;
    }
    default:
      el = document.createElement('div');
  }
  place(el, c);
  fontOf(c, el);
  el.dataset.name = c.name;
  // A control is named by its caption; the layout's name for it is given where there is no
  // caption, or where it says more and still contains the caption (y cm²), never instead of it.
  const caption = c.caption.trim().replace(/\s+/g, ' ');
  const name = c.accessibleName;
  if (c.kind !== 'label' && name && (!caption || (name !== caption && name.includes(caption)))) {
    (el.input ?? el).setAttribute('aria-label', name);
  }
  win.append(el);
  return el;
}

// The speed box: any text may be typed, or an entry picked from its list.
function makeCombo(c) {
  const el = document.createElement('div');
  el.className = 'control combo';
  const input = document.createElement('input');
  input.type = 'text';
  input.spellcheck = false;
  input.autocomplete = 'off';
  input.addEventListener('input', () => act(2, c.id, input.value));
  // Up and Down step through the list from the entry the text shows, as the desktop does.
  input.addEventListener('keydown', (event) => {
    if (event.key !== 'ArrowDown' && event.key !== 'ArrowUp') return;
    event.preventDefault();
    const at = c.items.indexOf(input.value);
    const next = event.key === 'ArrowDown' ? Math.min(at + 1, c.items.length - 1) : Math.max(at - 1, 0);
    if (next !== at) act(2, c.id, c.items[next]);
  });
  const list = document.createElement('select');
  list.tabIndex = -1;
  list.setAttribute('aria-hidden', 'true');
  for (const s of c.items) list.append(new Option(s, s));
  list.addEventListener('change', () => act(2, c.id, list.value));
  const arrow = document.createElement('span');
  arrow.className = 'arrow';
  el.append(input, list, arrow);
  el.input = input;
  el.list = list;
  return el;
}

// The table of values as a table for screen readers, beside its picture and hidden from sight:
// a row for x and one for y, a column a shown second.
function makeTable(c) {
  const table = document.createElement('table');
  table.id = 'values';
  table.className = 'unseen';
  const caption = document.createElement('caption');
  caption.textContent = c.accessibleName;
  const body = document.createElement('tbody');
  // The design's captions, named as a class reads them: "χ" is the lesson's x, not chi.
  for (const [caption, name] of [['χ', 'x'], ['ｙ', 'y']]) {
    const row = body.insertRow();
    const head = document.createElement('th');
    head.scope = 'row';
    head.textContent = caption;
    head.setAttribute('aria-label', name);
    row.append(head);
  }
  table.append(caption, body);
  return table;
}

let tabled = '';

function showTable(values) {
  const table = document.getElementById('values');
  if (!table || values === undefined) return;
  // Built again only when a column came or went.
  const now = JSON.stringify(values);
  if (now === tabled && table.tBodies[0].rows[0].cells.length === values.length + 1) return;
  tabled = now;
  for (const [r, row] of [...table.tBodies[0].rows].entries()) {
    while (row.cells.length > 1) row.deleteCell(1);
    for (const column of values) row.insertCell().textContent = String(column[r]);
  }
}

function showControl(s) {
  const el = ui.elements.get(s.id);
  if (!el) return; // inside a picture box: its picture shows it
  el.shown = s;
  const c = ui.layout.controls[s.id];
  el.style.display = s.visible ? '' : 'none';
  if (c.kind === 'button') el.disabled = !s.enabled || ui.locked;
  if (c.kind === 'text') el.disabled = ui.locked;
  if (c.kind === 'combo') el.input.disabled = el.list.disabled = ui.locked;
  if (c.kind === 'check') {
    el.input.checked = s.value !== 0;
    el.input.disabled = !s.enabled || ui.locked;
    // Why it is disabled, where the lesson says why.
    if (s.tip) el.title = s.tip;
    else el.removeAttribute('title');
  }
  if (c.kind === 'text' && el.value !== s.text) el.value = s.text;
  if (c.kind === 'combo') {
    if (el.input.value !== s.text) el.input.value = s.text;
    el.list.selectedIndex = c.items.indexOf(s.text);
  }
}

// The figure's moment and the graph's last point in words: kept as the pictures' descriptions, and
// the figure's said aloud, once the motion rests for a moment: a moment a tenth of a second long
// is over before anyone could hear it, and each change of the words costs the page a layout and
// the screen reader's tree an update, five times a second while the lesson plays.
const restBeforeSpeaking = 500; // ms, longer than a wait at "80"
let speaking = 0;
let words = null;

function describe(changes) {
  words = { figure: changes.figure, graph: changes.graph };
  clearTimeout(speaking);
  speaking = setTimeout(() => {
    const figure = ui.elements.get(ui.byName('kokuban').id);
    const graph = ui.elements.get(ui.byName('gamen').id);
    if (!figure || !graph) return;
    if (figure.getAttribute('aria-description') !== words.figure) {
      figure.setAttribute('aria-description', words.figure);
      if (spoken) spoken.textContent = words.figure; // absent from a page cached before it had one
    }
    if (graph.getAttribute('aria-description') !== words.graph) graph.setAttribute('aria-description', words.graph);
  }, restBeforeSpeaking);
}

// The class's own controls locked by the teacher, or free again: each shown as the lesson has it.
export function lockControls(locked) {
  ui.locked = locked;
  for (const el of ui.elements.values()) if (el.shown) showControl(el.shown);
}

export function showChanges(changes) {
  for (const s of changes.controls) showControl(s);
  describe(changes);
  showTable(changes.table);
}

// A caption wider than its label in the face in use ("８ cm") is condensed to fit, as on the
// desktop, not cut; one that fits stays as it is. Measured from the layout's sizes, so a label out
// of view is measured too; the face is in before the window is built, so the captions are final
// before the window is first laid out.
export function condenseCaptions() {
  const measure = document.createElement('canvas').getContext('2d');
  for (const el of win.querySelectorAll('.label')) {
    measure.font = `${el.style.fontWeight} ${el.style.fontSize} "Kansu Gothic"`;
    const wide = measure.measureText(el.textContent).width;
    const room = parseFloat(el.style.width);
    const caption = document.createElement('span');
    caption.className = 'caption';
    caption.textContent = el.textContent;
    el.replaceChildren(caption);
    if (wide > room) caption.style.transform = `scaleX(${room / wide})`;
  }
}
