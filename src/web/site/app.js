// The page around the lesson's core: it builds the window from the core's layout table, turns the
// user's clicks, keys and typing into calls, and shows each batch of changes the core announces.
// The picture boxes show what the core composes of them, labels, dots and lines included.
import {
  act, attachSharing, build, condenseCaptions, idle, keepAddress, loadCore, onChanges, onEnded,
  openedAt, showChanges, startLesson, state, tell, ui,
} from './page.js';
import { arrange, attachFullScreen, keepArranged } from './arrange.js';
import { attachKeys } from './keys.js';
import { attachMenus, showPictures } from './pictures.js';
import { attachPrinting } from './sheet.js';

const win = document.getElementById('window');
const endedPanel = document.getElementById('ended');

onChanges((changes) => {
  showChanges(changes);
  if (changes.window) {
    ui.geometry = changes.window;
    arrange();
  }
  showPictures(changes);
  keepAddress();
});

onEnded(() => {
  win.hidden = true;
  endedPanel.hidden = false;
  document.getElementById('again').focus();
});

const isClassLink = (fragment) => /^#?class=/.test(fragment);

// The lesson afresh, at the moment the fragment names (shows everything at once). An address that
// names no moment opens the initial screen and says so in one line. A class link opens the
// initial screen and joins the class, which brings the lesson to the teacher's moment.
async function start(fragment = '') {
  const joining = isClassLink(fragment) && !ui.inClass;
  if (joining) ui.inClass = true; // from now on the address keeps the class link
  build();
  attachMenus();
  condenseCaptions();
  endedPanel.hidden = true;
  win.hidden = false;
  openedAt(location.hash);
  const opened = await startLesson(ui.inClass ? '' : fragment);
  if (opened === 'unreadable') {
    tell('リンクを読み取れませんでした。はじめの画面を表示しています。', 10000);
  }
  if (joining) {
    const part = await partOfPage(() => import('./classroom.js')).catch(() => null);
    if (!part || !(await part.joinClass(fragment))) ui.inClass = false;
  }
}

// A part of the page loaded when first used (each import named as it is, for the site's assembly
// to follow). One that does not come (the network gone, or a new version put up on the server
// since this page was opened) is said in one line.
async function partOfPage(load) {
  try {
    return await load();
  } catch (error) {
    tell('この機能を読み込めませんでした。ページを読み込み直してください。', 10000);
    throw error;
  }
}

// A control whose part of the page comes at its first click: the click is given again once the
// part has taken the control (attach resolves to true), and a part that did not come is tried
// again at the next click. Returns the first click's listener.
function attachOnFirstClick(button, attach) {
  const firstClick = async () => {
    button.removeEventListener('click', firstClick);
    let taken;
    try {
      taken = await attach();
    } catch {
      button.addEventListener('click', firstClick);
      return;
    }
    if (taken) button.click();
  };
  button.addEventListener('click', firstClick);
  return firstClick;
}

// 授業 and its code come when it is first used, or, once the lesson shows, in a tab that leads a
// class already (a teacher's reload): the session's storage that says so is slow to open.
function attachClass(lessonShown) {
  const button = document.getElementById('class');
  let attached = null;
  const attach = () => {
    if (!attached) {
      attached = partOfPage(() => import('./classroom.js')).then((part) => part.attachTeaching(button));
      // Tried again at the next click should it fail.
      attached.catch(() => {
        attached = null;
      });
    }
    return attached.then(() => true);
  };
  const firstClick = attachOnFirstClick(button, attach);
  lessonShown.then(async () => {
    let leading = null;
    try {
      leading = sessionStorage.getItem('kansu-class');
    } catch {
      // No session storage: no class to go on with.
    }
    if (leading && !ui.inClass) {
      // A click while 授業 comes is still taken, and given again once it is here.
      await attach().catch(() => {});
      if (attached) button.removeEventListener('click', firstClick);
    }
  });
}

// A browser that offers to install the lesson as an app gets a control for it.
function offerInstall() {
  const button = document.getElementById('install');
  let offer = null;
  addEventListener('beforeinstallprompt', (event) => {
    event.preventDefault();
    offer = event;
    button.hidden = false;
  });
  button.addEventListener('click', async () => {
    if (!offer) return;
    button.hidden = true;
    offer.prompt();
    offer = null;
  });
  addEventListener('appinstalled', () => {
    button.hidden = true;
  });
}

async function main() {
  attachFullScreen(document.getElementById('fullscreen'));
  attachPrinting(document.getElementById('print'));
  offerInstall();
  // Without its core there is no lesson, and without its font the lesson would draw blank
  // numbers: the page says so instead.
  const problem = await loadCore().catch(() => null);
  document.getElementById('stage').hidden = false;
  document.getElementById('toolbar').hidden = false;
  if (problem !== '') {
    const message = document.getElementById('problem');
    message.textContent = problem === null
      ? '授業を表示できません。授業のプログラムを読み込めませんでした。ページを読み込み直してください。'
      : `授業を表示できません。文字のフォントを読み込めませんでした（${problem}）。`;
    message.hidden = false;
    return;
  }
  await start(location.hash);
  keepArranged();
  attachKeys();
  attachSharing(document.getElementById('share'), start);
  // 問題's panel and its code come when it is first opened.
  const problems = document.getElementById('problems');
  attachOnFirstClick(problems, async () =>
    (await partOfPage(() => import('./problems.js'))).attachProblems(problems));
  document.getElementById('again').addEventListener('click', () => start());
  // Painted right after this frame's callbacks.
  const lessonShown = new Promise((resolve) => {
    requestAnimationFrame(() =>
      setTimeout(() => {
        performance.mark('kansu-first-frame');
        resolve();
      }, 0),
    );
    // A tab behind another paints no frame until it is shown: what waits for one goes on at once,
    // or as soon as the tab is put behind another.
    if (document.visibilityState === 'hidden') resolve();
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden') resolve();
    });
  });
  attachClass(lessonShown);
  const params = new URLSearchParams(location.search);
  if ('serviceWorker' in navigator && params.get('offline') !== 'no') {
    // The worker itself is asked of the server, never of the browser's HTTP cache.
    navigator.serviceWorker.register('sw.js', { updateViaCache: 'none' }).catch(() => {});
  }
}

// For tests and measurements: the state as kansu-script writes it, the lesson's own calls, and the
// core itself, whose boundary with the page is tested as any script could cross it.
window.kansu = {
  state, act, idle, core: () => ui.core,
  classShown: async () => (await import('./classroom.js')).classShown(),
  tally: async () => (await import('./asking.js')).tally(),
};

main();
