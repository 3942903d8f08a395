// The page around the lesson's core: it builds the window from the core's layout table, turns the
// user's clicks and typing into calls, and shows what the core says has changed. It keeps no
// lesson state of its own. The picture boxes show what the core composes of them, labels, dots
// and lines included.
import createKansu from './kansu.js';

const params = new URLSearchParams(location.search);
// A fixed scale instead of fitting the screen (tests compare pictures one pixel a pixel).
const pinnedScale = params.has('scale') ? Number(params.get('scale')) : null;

const stage = document.getElementById('stage');
const win = document.getElementById('window');
const endedPanel = document.getElementById('ended');
const spoken = document.getElementById('spoken');

let lesson = null; // the core
let layout = null; // the layout table
const elements = new Map(); // control id -> its element
const pictures = new Map(); // picture box id -> {canvas, width, height}
let geometry = { width: 0, height: 0 };
let fitScale = 1;
let ended = false;

// ---- What the core asks of the page --------------------------------------------------------------

const page = {
  queue: [], // the user's actions that wait for the lesson (it is inside a wait of automatic play)
  wake: null,
  busy: false, // a call into the lesson is in progress
  // One batch of changes, as the lesson announces it after each action and before each wait.
  show(changes) {
    show(JSON.parse(changes));
  },
  wait(milliseconds) {
    return new Promise((resolve) => {
      let timer = 0;
      const done = () => {
        clearTimeout(timer);
        page.wake = null;
        resolve();
      };
      page.wake = done;
      timer = setTimeout(done, Math.max(0, milliseconds));
      if (page.queue.length) done();
    });
  },
  ended() {
    ended = true;
  },
};

// A click (kind 1) or typing (kind 2). Outside a run the lesson takes it at once; during a run it
// is queued, and the run's wait wakes up and delivers it, as the desktop does.
async function act(kind, control, text = '') {
  if (ended) return;
  page.queue.push({ kind, control, text });
  if (page.busy) {
    if (page.wake) page.wake();
    return;
  }
  page.busy = true;
  try {
    while (page.queue.length && !ended) {
      const e = page.queue.shift();
      if (e.kind === 1) {
        await lesson.ccall('kansu_click', null, ['number'], [e.control], { async: true });
      } else {
        lesson.ccall('kansu_type', null, ['number', 'string'], [e.control, e.text]);
      }
    }
  } finally {
    page.busy = false;
  }
  if (ended) showEnded();
}

// ---- Building the window from the layout table -----------------------------------------------

function px(v) {
  return `${v}px`;
}

function fontOf(c, el) {
  el.style.fontSize = px(c.fontPx);
  el.style.fontWeight = c.bold ? 'bold' : 'normal';
}

function build() {
  document.title = layout.title;
  win.replaceChildren();
  elements.clear();
  pictures.clear();
  win.style.background = layout.back;
  // The window's controls are listed topmost first: the bottom one is made first. Those inside a
  // picture box are part of its picture.
  for (const c of [...layout.controls].reverse()) {
    if (c.box === null) elements.set(c.id, makeWindowed(c));
  }
}

function place(el, c) {
  el.style.left = px(c.state.left);
  el.style.top = px(c.state.top);
  el.style.width = px(c.width);
  el.style.height = px(c.height);
}

function makeWindowed(c) {
  let el;
  switch (c.kind) {
    case 'label':
      el = document.createElement('div');
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
    case 'combo': {
      el = document.createElement('div');
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
      arrow.textContent = '▾';
      el.append(input, list, arrow);
      el.input = input;
      el.list = list;
      break;
    }
    case 'picture': {
      el = document.createElement('div');
      el.className = 'control picture';
      el.style.borderWidth = px(layout.border);
      el.setAttribute('role', 'img');
      const canvas = document.createElement('canvas');
      el.append(canvas);
      const width = c.width - 2 * layout.border;
      const height = c.height - 2 * layout.border;
      canvas.style.width = px(width);
      canvas.style.height = px(height);
      pictures.set(c.id, { canvas, width, height, scale: 0 });
      break;
    }
    default:
      el = document.createElement('div');
  }
  place(el, c);
  fontOf(c, el);
  el.dataset.name = c.name;
  const name = c.accessibleName;
  if (name && c.kind !== 'label') (el.input ?? el).setAttribute('aria-label', name);
  if (c.tab !== null) (el.input ?? el).tabIndex = c.tab + 1;
  win.append(el);
  return el;
}

// ---- Showing what changed --------------------------------------------------------------------

function showControl(s) {
  const el = elements.get(s.id);
  if (!el) return; // inside a picture box: its picture shows it
  const c = layout.controls[s.id];
  el.style.display = s.visible ? '' : 'none';
  if (c.kind === 'button') el.disabled = !s.enabled;
  if (c.kind === 'check') {
    el.input.checked = s.value !== 0;
    el.input.disabled = !s.enabled;
  }
  if (c.kind === 'text' && el.value !== s.text) el.value = s.text;
  if (c.kind === 'combo') {
    if (el.input.value !== s.text) el.input.value = s.text;
    el.list.selectedIndex = c.items.indexOf(s.text);
  }
}

function drawPicture(id) {
  const p = pictures.get(id);
  const scale = fitScale * (pinnedScale === null ? window.devicePixelRatio || 1 : 1);
  const data = lesson._kansu_picture(id, scale);
  const w = lesson._kansu_picture_width();
  const h = lesson._kansu_picture_height();
  if (p.canvas.width !== w || p.canvas.height !== h) {
    p.canvas.width = w;
    p.canvas.height = h;
  }
  const rgba = new Uint8ClampedArray(lesson.HEAPU8.buffer, data, w * h * 4);
  p.canvas.getContext('2d').putImageData(new ImageData(rgba, w, h), 0, 0);
  p.scale = scale;
}

// A picture box wholly outside the window's client area is drawn when it comes into view.
const pending = new Set();

function inView(id) {
  const c = layout.controls[id];
  return c.state.left < geometry.width && c.state.top < geometry.height;
}

// The figure's moment and the graph's last point in words: kept as the pictures' descriptions, and
// the figure's said aloud once the motion rests for a moment: a moment a tenth of a second long
// is over before anyone could hear it, and each change of the spoken words costs the page a
// layout.
const restBeforeSpeaking = 500; // ms, longer than a wait at "80"
let speaking = 0;

function describe(changes) {
  if (changes.figure === undefined) return;
  const figure = win.querySelector('[data-name="kokuban"]');
  const graph = win.querySelector('[data-name="gamen"]');
  if (figure && figure.getAttribute('aria-description') !== changes.figure) {
    figure.setAttribute('aria-description', changes.figure);
    clearTimeout(speaking);
    speaking = setTimeout(() => {
      if (spoken) spoken.textContent = changes.figure; // absent from a page cached before it had one
    }, restBeforeSpeaking);
  }
  if (graph && graph.getAttribute('aria-description') !== changes.graph) {
    graph.setAttribute('aria-description', changes.graph);
  }
}

function show(changes) {
  for (const s of changes.controls) showControl(s);
  describe(changes);
  for (const id of changes.pictures) pending.add(id);
  if (changes.window) {
    geometry = changes.window;
    fit();
  }
  for (const id of pending) {
    if (!inView(id)) continue;
    pending.delete(id);
    drawPicture(id);
  }
}

// The whole window scales as one to fit the screen, keeping its shape, centred.
function fit() {
  const w = geometry.width;
  const h = geometry.height;
  const scale = pinnedScale ?? Math.min(innerWidth / w, innerHeight / h);
  win.style.width = px(w);
  win.style.height = px(h);
  const x = pinnedScale === null ? Math.max(0, (innerWidth - w * scale) / 2) : 0;
  const y = pinnedScale === null ? Math.max(0, (innerHeight - h * scale) / 2) : 0;
  win.style.transform = `translate(${x}px, ${y}px) scale(${scale})`;
  if (scale !== fitScale) {
    fitScale = scale;
    for (const id of pictures.keys()) pending.add(id);
  }
}

function showEnded() {
  win.hidden = true;
  endedPanel.hidden = false;
  document.getElementById('again').focus();
}

// A caption wider than its label in the face in use ("８ cm") is condensed to fit, as on the
// desktop, not cut; one that fits stays as it is. Measured once the face is loaded, from the
// layout's sizes, so a label out of view is measured too.
function condenseCaptions() {
  const measure = document.createElement('canvas').getContext('2d');
  for (const el of win.querySelectorAll('.label')) {
    const font = `${el.style.fontWeight} ${el.style.fontSize} "Kansu Gothic"`;
    document.fonts.load(font, el.textContent).then(() => {
      measure.font = font;
      const wide = measure.measureText(el.textContent).width;
      const room = parseFloat(el.style.width);
      const caption = document.createElement('span');
      caption.className = 'caption';
      caption.textContent = el.textContent;
      el.replaceChildren(caption);
      if (wide > room) caption.style.transform = `scaleX(${room / wide})`;
    });
  }
}

function start() {
  ended = false;
  page.queue.length = 0;
  build();
  condenseCaptions();
  endedPanel.hidden = true;
  win.hidden = false;
  lesson._kansu_start(); // shows everything at once
}

// ---- Start-up --------------------------------------------------------------------------------

async function main() {
  // The font and the core come down side by side; the core starts once both are here.
  const font = fetch('kansu-gothic.ttf').then((response) => response.arrayBuffer());
  lesson = await createKansu({
    kansuPage: page,
    preRun: [
      (module) => {
        module.addRunDependency('font');
        font.then((bytes) => {
          // Where the core looks for the face its pictures print in.
          module.FS.mkdir('/fonts');
          module.FS.writeFile('/fonts/ipagp.ttf', new Uint8Array(bytes));
          module.removeRunDependency('font');
        });
      },
    ],
  });
  layout = JSON.parse(lesson.UTF8ToString(lesson._kansu_layout()));
  start();
  addEventListener('resize', () => {
    fit();
    show({ controls: [], pictures: [] });
  });
  document.getElementById('again').addEventListener('click', start);
  // Painted right after this frame's callbacks.
  requestAnimationFrame(() => setTimeout(() => performance.mark('kansu-first-frame'), 0));
  if ('serviceWorker' in navigator && params.get('offline') !== 'no') {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
}

// For tests and measurements: the state as kansu-script writes it, and the lesson's own calls.
window.kansu = {
  state: () => JSON.parse(lesson.UTF8ToString(lesson._kansu_state())),
  act,
  idle: () => !page.busy,
};

main();
