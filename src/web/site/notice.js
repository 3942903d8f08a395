// A short line at the foot of the page, read out by assistive technology and gone after a while.
const notice = document.getElementById('notice');
let timer = 0;

export function tell(text, milliseconds = 4000) {
  notice.textContent = text;
  notice.hidden = false;
  clearTimeout(timer);
  timer = setTimeout(() => {
    notice.hidden = true;
  }, milliseconds);
}
