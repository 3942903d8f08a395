// The picture boxes on the page: each drawn from what the core composes of it (labels, dots and
// lines included) at the screen's resolution, only while it is in the window's view; and taken out
// of the page as they are seen: copied, or saved as PNG, from a menu (right-click or a long press)
// or with Ctrl+C.
import { picturePixels, ui } from './lesson.js';
import { tell } from './notice.js';

// Device pixels per design pixel, as the window is shown now.
export const view = { scale: 1 };

const pending = new Set();

// Whether a picture box lies inside the window's client area as the core sizes it.
export function inView(id) {
  const c = ui.layout.controls[id];
  return c.state.left < ui.geometry.width && c.state.top < ui.geometry.height;
}

let drawn = false;

function draw(id) {
  const p = ui.pictures.get(id);
  const image = picturePixels(id, view.scale);
  if (!image) return;
  if (p.canvas.width !== image.width || p.canvas.height !== image.height) {
    p.canvas.width = image.width;
    p.canvas.height = image.height;
  }
  p.canvas.getContext('2d').putImageData(image, 0, 0);
  p.scale = view.scale;
  // The lesson's first figure on the screen: what a school times a visit by.
  if (!drawn && p.control.name === 'kokuban') {
    drawn = true;
    performance.mark('lesson-drawn');
  }
}

// A picture box out of view is neither drawn nor seen nor reached by Tab, nor told to a screen
// reader (the table's values neither); it is drawn when it comes into view.
export function refreshPictures() {
  for (const [id, p] of ui.pictures) {
    const visible = inView(id);
    p.element.style.visibility = visible ? '' : 'hidden';
    p.element.tabIndex = visible ? 0 : -1;
    if (p.control.name === 'hyo') {
      const values = document.getElementById('values');
      if (values) values.hidden = !visible;
    }
    if (!visible) continue;
    if (pending.has(id) || p.scale !== view.scale) {
      pending.delete(id);
      draw(id);
    }
  }
}

export function showPictures(changes) {
  for (const id of changes.pictures) pending.add(id);
  refreshPictures();
}

// ---- Out of the page ---------------------------------------------------------------------------

// The picture as seen, as a PNG.
export function pictureBlob(id) {
  const image = picturePixels(id, view.scale);
  if (!image) return Promise.resolve(null);
  const canvas = document.createElement('canvas');
  canvas.width = image.width;
  canvas.height = image.height;
  canvas.getContext('2d').putImageData(image, 0, 0);
  return new Promise((resolve) => canvas.toBlob(resolve, 'image/png'));
}

export async function copyPicture(id) {
  try {
    await navigator.clipboard.write([new ClipboardItem({ 'image/png': pictureBlob(id) })]);
    tell(`${ui.layout.controls[id].accessibleName}をコピーしました`);
  } catch {
    tell('コピーできませんでした');
  }
}

// Saved as 図-4.5秒.png: what it is and the moment it shows.
export async function savePicture(id) {
  const time = ui.elements.get(ui.byName('Text1').id).value.trim();
  const link = document.createElement('a');
  link.href = URL.createObjectURL(await pictureBlob(id));
  link.download = `${ui.layout.controls[id].accessibleName}-${time}秒.png`;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// ---- The menu ----------------------------------------------------------------------------------

const menu = document.getElementById('picture-menu');
let menuFor = null;
let returnFocus = null;

function openMenu(id, x, y) {
  menuFor = id;
  returnFocus = document.activeElement;
  menu.hidden = false;
  const width = menu.offsetWidth;
  const height = menu.offsetHeight;
  menu.style.left = `${Math.max(0, Math.min(x, innerWidth - width))}px`;
  menu.style.top = `${Math.max(0, Math.min(y, innerHeight - height))}px`;
  menu.querySelector('button').focus();
}

export function closeMenu() {
  if (menu.hidden) return;
  menu.hidden = true;
  menuFor = null;
  if (returnFocus && document.contains(returnFocus)) returnFocus.focus();
}

menu.addEventListener('click', (event) => {
  const button = event.target.closest('button');
  if (!button || menuFor === null) return;
  const id = menuFor;
  closeMenu();
  if (button.dataset.action === 'copy') copyPicture(id);
  else savePicture(id);
});
menu.addEventListener('keydown', (event) => {
  if (event.key === 'Escape') {
    event.preventDefault();
    closeMenu();
  }
});
document.addEventListener('pointerdown', (event) => {
  if (!menu.hidden && !menu.contains(event.target)) closeMenu();
});

// A long press on a touch screen opens the menu as a right-click does.
const longPress = 550; // ms

export function attachMenus() {
  for (const [id, p] of ui.pictures) {
    const el = p.element;
    el.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      openMenu(id, event.clientX, event.clientY);
    });
    let timer = 0;
    const cancel = () => clearTimeout(timer);
    el.addEventListener('pointerdown', (event) => {
      if (event.pointerType !== 'touch') return;
      timer = setTimeout(() => openMenu(id, event.clientX, event.clientY), longPress);
    });
    for (const type of ['pointerup', 'pointercancel', 'pointermove']) el.addEventListener(type, cancel);
    el.addEventListener('keydown', (event) => {
      if (event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey)) {
        event.preventDefault();
        const r = el.getBoundingClientRect();
        openMenu(id, r.left + 16, r.top + 16);
      }
    });
  }
}

// The picture a copy takes: the one that has the focus, else the figure, as the desktop copies it.
export function pictureToCopy() {
  for (const [id, p] of ui.pictures) if (p.element === document.activeElement) return id;
  return ui.byName('kokuban').id;
}
