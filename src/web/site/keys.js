// The keys of a presenter's clicker and of a keyboard at the front of a classroom, as on the
// desktop: PageDown and → step forward, PageUp and ← step back, Home the initial screen, P and F5
// play and stop. Each acts only as a click on its button would, so only when that button is
// enabled; keys typed into the time box or the speed box edit them as usual. F5, a clicker's start
// key, never reloads the lesson.
import { clickNamed, enabled, ui } from './lesson.js';
import { closeMenu, copyPicture, pictureToCopy } from './pictures.js';

function press(name) {
  if (enabled(name)) clickNamed(name);
}

function playOrStop() {
  if (enabled('jidou')) press('jidou');
  else press('tomeru');
}

const steps = {
  PageDown: 'susumu',
  ArrowRight: 'susumu',
  PageUp: 'modoru',
  ArrowLeft: 'modoru',
  Home: 'Command1',
};

function typing(target) {
  return (target instanceof HTMLInputElement && target.type === 'text') || target instanceof HTMLSelectElement;
}

export function attachKeys() {
  document.addEventListener('keydown', (event) => {
    if (event.defaultPrevented || ui.ended || !ui.layout) return;
    // A panel over the lesson (共有) keeps its keys to itself.
    const panelOpen = document.querySelector('dialog[open]') !== null;
    if (event.key === 'F5' && !event.ctrlKey && !event.altKey && !event.metaKey) {
      event.preventDefault();
      if (!panelOpen) playOrStop();
      return;
    }
    if (panelOpen) return;
    if (typing(event.target)) return;
    if ((event.ctrlKey || event.metaKey) && !event.altKey && event.key.toLowerCase() === 'c') {
      event.preventDefault();
      closeMenu();
      copyPicture(pictureToCopy());
      return;
    }
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (steps[event.key]) {
      event.preventDefault();
      press(steps[event.key]);
    } else if (event.key === 'p' || event.key === 'P') {
      event.preventDefault();
      playOrStop();
    }
  });
}
