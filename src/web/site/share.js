// A moment of the lesson handed to a class: the page's address names it in its fragment (nothing
// of it goes to the server), kept up to date as the lesson changes, and 共有 shows that address
// as a link to copy and as a QR code large enough for a tablet's camera at the back of a room.
import { momentLink, ui } from './lesson.js';
import { tell } from './notice.js';

// The fragment the address holds (without "#"), as the page opened it or last wrote it. A page
// in a class keeps its class link instead.
let written = '';
// A plain address (no fragment) stays plain while the lesson is where it opened.
let plainAt = null;
let timer = 0;
let lastWrite = -Infinity;

// Some browsers refuse more than about a hundred address changes in half a minute, and automatic
// play changes the moment five times a second: the address follows at most once a second.
const writeEvery = 1000;

// The lesson has just (re)started from this fragment.
export function openedAt(fragment) {
  written = fragment.replace(/^#/, '');
  plainAt = null;
}

function writeAddress() {
  clearTimeout(timer);
  timer = 0;
  if (!ui.core || ui.ended) return;
  const link = momentLink();
  if (written === '' && plainAt === null) plainAt = link;
  if (link === written || (written === '' && link === plainAt)) return;
  try {
    // Replaced, not pushed: the browser's Back leaves the page rather than step through it. A
    // moment no link can name leaves the address plain, so a reload opens the initial screen
    // rather than an earlier moment or a link the page cannot read.
    history.replaceState(history.state, '', link ? `#${link}` : location.pathname + location.search);
    written = link;
    lastWrite = performance.now();
  } catch {
    // Refused for now; the next change tries again.
  }
}

// After each batch of changes.
export function keepAddress() {
  if (timer || ui.inClass) return;
  timer = setTimeout(writeAddress, Math.max(0, lastWrite + writeEvery - performance.now()));
}

// The address of this moment as another device opens it: the page's own address without the
// settings of this screen (its query), with the moment's fragment.
function shareableAddress(link) {
  const url = new URL(location.href);
  url.search = '';
  url.hash = link;
  return url.href;
}

export async function copyLink(field, said) {
  try {
    await navigator.clipboard.writeText(field.value);
    said.textContent = 'リンクをコピーしました。';
  } catch {
    field.select();
    said.textContent = 'コピーできませんでした。選んだリンクをコピーしてください。';
  }
}

// 共有 opens the panel; Esc (the dialog's own) or × closes it. Another address typed in, or the
// browser's Back to an earlier one, opens that moment afresh.
export function attachSharing(button, start) {
  const panel = document.getElementById('share-panel');
  const field = document.getElementById('share-link');
  const said = document.getElementById('share-said');
  const canvas = document.getElementById('share-code');
  const copy = document.getElementById('share-copy');
  button.addEventListener('click', async () => {
    if (ui.ended) {
      tell('授業を終了しています。');
      return;
    }
    // The code's drawing comes when a code is first wanted, off the lesson's way in; without it
    // the link still shows and copies.
    let drawCode = () => {
      throw new Error('no QR code');
    };
    try {
      const codes = await import('./qr.js');
      await codes.loadCodes();
      drawCode = codes.drawCode;
    } catch {
      // Said below, as for a link too long for a code.
    }
    if (panel.open) return; // a second click while the first was still loading
    writeAddress();
    said.textContent = '';
    const link = momentLink();
    const named = link !== '';
    field.value = named ? shareableAddress(link) : '';
    copy.disabled = !named;
    canvas.hidden = !named;
    if (!named) {
      said.textContent = '速度の欄の文字が長すぎるか、使えない文字を含むため、この場面はリンクにできません。';
    } else {
      try {
        drawCode(canvas, field.value);
      } catch {
        // Past what a QR code holds (a very long address of the page itself): the link still copies.
        canvas.hidden = true;
        said.textContent = 'リンクが長すぎて QR コードにできません。リンクをコピーしてください。';
      }
    }
    panel.showModal();
  });
  panel.querySelector('.close').addEventListener('click', () => panel.close());
  copy.addEventListener('click', () => copyLink(field, said));
  panel.addEventListener('close', () => button.focus());
  addEventListener('hashchange', () => {
    if (location.hash.replace(/^#/, '') === written || ui.inClass) return;
    if (panel.open) panel.close();
    start(location.hash);
  });
}
