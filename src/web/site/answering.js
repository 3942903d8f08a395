// A question from the teacher, on a tablet: it shows over the lesson with 答え and 送る until the
// teacher closes it, and the answer may be changed and sent again meanwhile. An answer sent while
// the relay is away goes when it is back.
import { longestAnswer } from './answers.js';

const $ = (id) => document.getElementById(id);

let shown = null; // the number of the question shown
let sending = 0;

// send({ question, text }): whether the relay can be reached now; sent() once the teacher has it.
export function attachAnswering({ send }) {
  const panel = $('question-panel');
  const input = $('answer');
  const said = $('answer-said');
  input.maxLength = longestAnswer;
  $('answer-form').addEventListener('submit', async (event) => {
    event.preventDefault();
    const text = input.value.trim();
    if (!text) {
      said.textContent = '答えを入れてから送ってください。';
      return;
    }
    if (shown === null) return;
    const mine = ++sending;
    said.textContent = '送っています…';
    const online = await send({ question: shown, text });
    if (mine === sending && !online && said.textContent === '送っています…') said.textContent = '中継サーバーにつながったら送ります。';
  });
  return {
    // The teacher's question with each moment: { number, text } or none.
    show(question) {
      if (!question) {
        if (panel.open) panel.close();
        shown = null;
        return;
      }
      if (question.number === shown) return;
      shown = question.number;
      $('question-text').textContent = question.text;
      input.value = '';
      said.textContent = '';
      if (!panel.open) panel.show();
      input.focus({ preventScroll: true });
    },
    // The teacher has the answer last sent to a question.
    sent(question) {
      if (question === shown) said.textContent = '送りました';
    },
  };
}
