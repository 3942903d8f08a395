// Printing the page gives a worksheet of the moment, composed by the lesson as the desktop prints
// it: 解答用 (the graph traced, the table and the answers filled in) or 問題用 (for students to
// fill in), the figure at its true size. 印刷 asks which; the browser's own Ctrl+P prints 解答用.
// Texts and rules are vectors; the pictures are drawn for the printer at about 300 dpi.
import { handedOver, ui } from './lesson.js';

const sheet = document.getElementById('sheet');
const svgNamespace = 'http://www.w3.org/2000/svg';
const printDotsPerMm = 300 / 25.4;
const mmPerPoint = 25.4 / 72;
// The area the page's margins leave on A4 and on Letter alike.
const printableHeight = 255;

function svgElement(name, attributes) {
  const element = document.createElementNS(svgNamespace, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, String(value));
  return element;
}

function pictureCanvas(index, picture, margin) {
  const scale = Math.min(4, Math.max(1, Math.ceil(picture.mmPerPixel * printDotsPerMm)));
  const image = handedOver(ui.core._kansu_worksheet_picture(index, scale));
  const canvas = document.createElement('canvas');
  if (image) {
    canvas.width = image.width;
    canvas.height = image.height;
    canvas.getContext('2d').putImageData(image, 0, 0);
  }
  canvas.className = 'sheet-picture';
  canvas.style.left = `${picture.x - margin}mm`;
  canvas.style.top = `${picture.y - margin}mm`;
  canvas.style.width = `${picture.width}mm`;
  canvas.style.height = `${picture.height}mm`;
  canvas.setAttribute('role', 'img');
  canvas.setAttribute('aria-label', picture.name);
  return canvas;
}

// kind: 'answers' or 'blank'.
export function fillSheet(kind = 'answers') {
  if (!ui.layout || ui.ended) return;
  const core = ui.core;
  const composed = core.UTF8ToString(core._kansu_worksheet(kind === 'blank' ? 1 : 0));
  if (!composed) return;
  const page = JSON.parse(composed);
  const margin = page.margin;
  const width = page.paperWidth - 2 * margin;
  const drawing = svgElement('svg', {
    viewBox: `${margin} ${margin} ${width} ${printableHeight}`,
    width: `${width}mm`,
    height: `${printableHeight}mm`,
  });
  for (const p of page.pictures) {
    drawing.append(svgElement('rect', {
      x: p.x, y: p.y, width: p.width, height: p.height, fill: 'none', stroke: '#000', 'stroke-width': 0.25,
    }));
  }
  for (const r of page.rules) {
    drawing.append(svgElement('line', {
      x1: r.x1, y1: r.y1, x2: r.x2, y2: r.y2, stroke: '#000', 'stroke-width': r.width, 'stroke-linecap': 'square',
    }));
  }
  for (const t of page.texts) {
    const text = svgElement('text', {
      x: t.x, y: t.baseline, 'font-size': t.points * mmPerPoint, fill: t.colour,
      'font-weight': t.bold ? 'bold' : 'normal',
    });
    text.textContent = t.text;
    drawing.append(text);
  }
  const pictures = page.pictures.map((p, i) => pictureCanvas(i, p, margin));
  sheet.dataset.kind = kind;
  sheet.replaceChildren(...pictures, drawing);
}

// 印刷 opens a panel asking which worksheet; the choice prints it.
export function attachPrinting(button) {
  const panel = document.getElementById('print-panel');
  // Filled already when 印刷 chose the kind; the browser's own Ctrl+P finds it empty.
  addEventListener('beforeprint', () => {
    if (sheet.childElementCount === 0) fillSheet('answers');
  });
  addEventListener('afterprint', () => sheet.replaceChildren());
  button.addEventListener('click', () => {
    if (!ui.layout || ui.ended) return;
    panel.showModal();
  });
  for (const choice of panel.querySelectorAll('[data-kind]')) {
    choice.addEventListener('click', () => panel.close(choice.dataset.kind));
  }
  panel.querySelector('.close').addEventListener('click', () => panel.close(''));
  panel.addEventListener('close', () => {
    button.focus();
    const kind = panel.returnValue;
    panel.returnValue = '';
    if (kind !== 'answers' && kind !== 'blank') return;
    fillSheet(kind);
    print();
  });
}
