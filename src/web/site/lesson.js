// The lesson's core in the page: loading it, handing it the user's actions, and taking what it
// announces. Everything the page shows comes from here; the page keeps no lesson state of its own.
import createKansu from './kansu.js';
import { coreCode, fontBytes, pageFace } from './boot.js';

// What the rest of the page shares: the core, its layout table, the page's element for each
// control, the canvases of the picture boxes and the window's client size as the core gives it.
export const ui = {
  core: null,
  layout: null,
  elements: new Map(), // control id -> its element (the window's own controls)
  pictures: new Map(), // picture box id -> { element, canvas, width, height, scale }
  geometry: { width: 0, height: 0 },
  ended: false,
  inClass: false, // a tablet following its teacher's class: its address keeps the class link
  locked: false, // the teacher has locked the class's own controls
  byName: (name) => ui.layout.controls.find((c) => c.name === name),
};

const listeners = { changes: [], ended: [], acts: [], settled: [] };

// Another part of the page takes each batch of changes, or the end of the lesson.
export function onChanges(show) {
  listeners.changes.push(show);
}
export function onEnded(show) {
  listeners.ended.push(show);
}
// Told of each action of the user's own (not one a class brings).
export function onUserAct(told) {
  listeners.acts.push(told);
}
// An action of the user's own outside the lesson's controls (another problem chosen): false while
// the teacher locks the class, else the page is told of it and it may go on.
export function ownAct() {
  if (ui.locked) return false;
  for (const told of listeners.acts) told();
  return true;
}

// Told each time the lesson is idle again after its actions (a run of automatic play has ended).
export function onSettled(told) {
  listeners.settled.push(told);
}

// What the core asks of the page.
const page = {
  queue: [], // the user's actions that wait for the lesson (it is inside a wait of automatic play)
  wake: null,
  busy: false, // a call into the lesson is in progress
  settled: [], // who waits for the call in progress to end
  // One batch of changes, as the lesson announces it after each action and before each wait.
  show(json) {
    const changes = JSON.parse(json);
    for (const show of listeners.changes) show(changes);
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
    ui.ended = true;
  },
};

// Calls the lesson with a text of any length in its memory. (A text handed over as a ccall
// 'string' lives on the core's stack: a paste of a few megabytes would run over it.)
function withText(text, call) {
  const core = ui.core;
  const bytes = core.lengthBytesUTF8(text) + 1;
  const address = core._malloc(bytes);
  try {
    core.stringToUTF8(text, address, bytes);
    return call(address);
  } finally {
    core._free(address);
  }
}

// A click (kind 1) or typing (kind 2). Outside a run the lesson takes it at once; during a run it
// is queued, and the run's wait wakes up and delivers it, as the desktop does. An action of the
// page's own (a teacher's moment it follows, a run it stops to start afresh) is not the user's:
// it acts while the teacher locks the class, where the user's own do not.
export async function act(kind, control, text = '', { fromPage = false } = {}) {
  if (ui.ended || (ui.locked && !fromPage)) return;
  if (!fromPage) for (const told of listeners.acts) told();
  page.queue.push({ kind, control, text });
  if (page.busy) {
    if (page.wake) page.wake();
    return;
  }
  page.busy = true;
  try {
    while (page.queue.length && !ui.ended) {
      const e = page.queue.shift();
      if (e.kind === 1) {
        await ui.core.ccall('kansu_click', null, ['number'], [e.control], { async: true });
      } else {
        withText(e.text, (text) => ui.core._kansu_type(e.control, text));
      }
    }
  } finally {
    page.busy = false;
  }
  if (ui.ended) for (const show of listeners.ended) show();
  for (const resolve of page.settled.splice(0)) resolve();
  for (const told of listeners.settled) told();
}

export function idle() {
  return !page.busy;
}

// Resolves once no call into the lesson is in progress: a run of automatic play has ended.
function settled() {
  return idle() ? Promise.resolve() : new Promise((resolve) => page.settled.push(resolve));
}

// A click on a control by its design name, as its button or check box would give it.
export function clickNamed(name, options) {
  return act(1, ui.byName(name).id, '', options);
}

// Whether a control is enabled now for the user (not while the teacher locks the class).
export function enabled(name) {
  const el = ui.elements.get(ui.byName(name).id);
  return el && !(el.input ?? el).disabled;
}

// Whether the lesson itself has a control enabled now, whoever may press it.
export function lessonEnables(name) {
  return ui.elements.get(ui.byName(name).id)?.shown?.enabled ?? false;
}

// The picture the core has just handed over at data, as an ImageData; null when it handed over
// nothing (a picture it does not have).
export function handedOver(data) {
  const core = ui.core;
  const width = core._kansu_picture_width();
  const height = core._kansu_picture_height();
  if (!data || !width || !height) return null;
  return new ImageData(new Uint8ClampedArray(core.HEAPU8.buffer, data, width * height * 4), width, height);
}

// What the user sees of a picture box at a device scale, the size of the picture.
export function picturePixels(id, scale) {
  return handedOver(ui.core._kansu_picture(id, scale));
}

export function state() {
  return JSON.parse(ui.core.UTF8ToString(ui.core._kansu_state()));
}

// The core and the font come down side by side, the font once: the same bytes go to the core,
// which prints its pictures with them, and to the page, which sets its captions in them.
// Returns why the lesson cannot be shown (its font did not come, or came damaged), or nothing.
export async function loadCore() {
  // The core's code, compiled already as it came, is made an instance here; should it fail, the
  // core's start fails with it rather than wait for ever.
  let failed;
  const failure = new Promise((resolve, reject) => {
    failed = reject;
  });
  const instantiateWasm = (imports, receive) => {
    coreCode
      .then((code) => WebAssembly.instantiate(code, imports).then((instance) => receive(instance, code)))
      .catch(failed);
    return {};
  };
  const [core, bytes] = await Promise.all([
    Promise.race([createKansu({ kansuPage: page, instantiateWasm }), failure]),
    fontBytes,
  ]);
  ui.core = core;
  // The font goes to the core in its own memory, before the core is asked anything; none, when it
  // did not come, which the core then says.
  const address = core._malloc(Math.max(1, bytes.byteLength));
  core.HEAPU8.set(new Uint8Array(bytes), address);
  core._kansu_font(address, bytes.byteLength);
  core._free(address);
  const problem = ui.core.UTF8ToString(ui.core._kansu_problem());
  if (problem) return problem;
  // In before anything shows: a browser that reads a face as it comes would otherwise lay the
  // page out in another face first. One it refuses leaves the page to the faces after it.
  const face = await pageFace;
  document.fonts.add(face);
  await face.load().catch(() => {});
  ui.layout = JSON.parse(ui.core.UTF8ToString(ui.core._kansu_layout()));
  return '';
}

// A fresh lesson, brought to the moment an address's fragment names: everything it shows comes as
// its first batch. A run of automatic play in progress is stopped first, as ストップ would, so
// the lesson it runs in is never thrown away under it. Resolves to 'none' (no fragment),
// 'opened', or 'unreadable' (the lesson then shows its initial screen).
export async function startLesson(fragment = '') {
  if (!idle()) {
    const stop = ui.byName('tomeru');
    if (lessonEnables('tomeru')) act(1, stop.id, '', { fromPage: true });
    await settled();
  }
  ui.ended = false;
  page.queue.length = 0;
  const opened = withText(fragment, (text) => ui.core._kansu_start(text));
  return ['none', 'opened', 'unreadable'][opened];
}

// The problems built into the lesson, for a chooser: [{ name, title, shown }].
export function problems() {
  return JSON.parse(ui.core.UTF8ToString(ui.core._kansu_problems()));
}

// Another problem for the lesson, by its name or its file's text; why it cannot be, or ''.
export function chooseProblem(nameOrText, fileName = '') {
  return withText(nameOrText, (text) =>
    withText(fileName, (name) => ui.core.UTF8ToString(ui.core._kansu_choose_problem(text, name))));
}

// The moment the lesson shows now as an address's fragment, without its "#".
export function momentLink() {
  return ui.core.UTF8ToString(ui.core._kansu_link());
}

// The questions the moment asks: [{ kind, text, answer, values }] (none once the lesson ended).
export function questions() {
  return JSON.parse(ui.core.UTF8ToString(ui.core._kansu_questions()));
}
