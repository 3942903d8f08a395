// What the page shares of itself with its parts, all from here: app.js and the parts loaded when
// first used (授業, 問題, 質問する) alike. The site's assembly then puts the page's own modules
// into the one file the page starts with, where parts sharing different sets of them would split
// it into several, each one more request before the first frame.
export * from './lesson.js';
export * from './notice.js';
export * from './share.js';
export * from './window.js';
