// Printing the page gives one worksheet, as the desktop prints it: the title, the moment, the
// figure and the graph side by side and the table under them, with no controls. The pictures are
// drawn for the printer at a finer scale than any screen.
import { picturePixels, ui } from './lesson.js';

const sheet = document.getElementById('sheet');
const printScale = 3;

function pictureCanvas(name) {
  const c = ui.byName(name);
  const { rgba, width, height } = picturePixels(c.id, printScale);
  const canvas = document.createElement('canvas');
  canvas.width = width;
  canvas.height = height;
  canvas.getContext('2d').putImageData(new ImageData(rgba, width, height), 0, 0);
  canvas.className = `sheet-${name}`;
  canvas.setAttribute('role', 'img');
  canvas.setAttribute('aria-label', c.accessibleName);
  return canvas;
}

export function fillSheet() {
  if (!ui.layout || ui.ended) return;
  const title = document.createElement('h2');
  title.textContent = ui.byName('Label6').caption;
  const time = ui.elements.get(ui.byName('Text1').id).value.trim();
  const moment = document.createElement('p');
  moment.textContent = `${ui.byName('Label1').caption} ${time} ${ui.byName('Label2').caption}`;
  const pictures = document.createElement('div');
  pictures.className = 'sheet-pictures';
  pictures.append(pictureCanvas('kokuban'), pictureCanvas('gamen'));
  sheet.replaceChildren(title, moment, pictures, pictureCanvas('hyo'));
}

export function attachPrinting(button) {
  addEventListener('beforeprint', fillSheet);
  addEventListener('afterprint', () => sheet.replaceChildren());
  button.addEventListener('click', () => {
    fillSheet();
    print();
  });
}
