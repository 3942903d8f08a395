// 問題: the problem the lesson shows, chosen from those built in or opened from a teacher's file.
// The core reads a file as the desktop does; a file that is no problem is said in one line and the
// lesson keeps its problem. Nothing is sent anywhere: the file is read on this device.
import { chooseProblem, idle, ownAct, problems, tell, ui } from './page.js';

const panel = document.getElementById('problem-panel');
const list = document.getElementById('problem-list');
const file = document.getElementById('problem-file');

function choose(nameOrText, fileName = '') {
  if (!idle()) {
    tell('自動で動いている間は、問題を変えられません。');
    return;
  }
  if (!ownAct()) {
    tell('先生が操作を止めています。');
    return;
  }
  const why = chooseProblem(nameOrText, fileName);
  if (why) tell(`${why}。`, 10000);
}

function fill() {
  list.replaceChildren();
  for (const p of problems()) {
    const item = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = p.title;
    button.dataset.problem = p.name;
    button.setAttribute('aria-pressed', String(p.shown));
    button.addEventListener('click', () => {
      panel.close();
      choose(p.name);
    });
    item.append(button);
    list.append(item);
  }
}

// Returns true: the click that loaded this module is to be given again.
export function attachProblems(button) {
  button.addEventListener('click', () => {
    if (!ui.layout || ui.ended) return;
    fill();
    panel.showModal();
  });
  panel.querySelector('.close').addEventListener('click', () => panel.close());
  document.getElementById('problem-open').addEventListener('click', () => file.click());
  panel.addEventListener('close', () => button.focus());
  file.addEventListener('change', async () => {
    const chosen = file.files[0];
    file.value = '';
    panel.close();
    if (!chosen) return;
    if (chosen.size > 64 * 1024) {
      tell('問題として読めませんでした（the file is larger than 64 KiB）。', 10000);
      return;
    }
    choose(await chosen.text(), chosen.name.replace(/\.[^.]*$/, ''));
  });
  return true;
}
