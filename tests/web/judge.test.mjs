// How a class's answers are marked: each row an answer as a student might type it on a tablet,
// and whether a teacher would mark it right.
import { describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { isRight } from '../../src/web/site/judge.js';

// The lesson's square at 4.5 s and the questions it asks (as the core words them).
const y = { kind: 'y', values: [18] };
const half = { kind: 'y', values: [4.5] };
const square = { kind: 'rule', values: [0, 0, 1, 1, 2, 4, 3, 9, 4, 16] };
const line = { kind: 'rule', values: [4, 16, 5, 20, 6, 24, 7, 28, 8, 32] };
const level = { kind: 'rule', values: [0, 8, 1, 8, 2, 8] };
const halfSquare = { kind: 'rule', values: [0, 0, 2, 2, 4, 8] };
const twoTimes = { kind: 'x', values: [2, 14] };
const third = { kind: 'x', values: [14 / 3] };

const rows = [
  [y, '18', true], [y, 'y = １８', true], [y, '18cm²', true], [y, '18 cm2', true], [y, 'ｙ＝18平方センチメートル', true],
  [y, '36/2', true], [y, '17', false], [y, '', false], [y, 'x', false], [y, '18x', false], [y, '2^99', false],
  [half, '4.5', true], [half, '9/2', true], [half, '4,5', false],
  [square, 'x²', true], [square, 'y=x^2', true], [square, 'x*x', true], [square, 'Y = X²', true],
  [square, 'y = x^2 (0≦x≦4)', true], [square, '2x', false], [square, 'x2', false], [square, 'x^9', false],
  [line, '4x', true], [line, 'y=4×x', true], [line, '2(2x)', true], [line, 'x+3x', true], [line, '4', false], [line, '-4x', false],
  [level, '8', true], [level, 'y=8', true], [level, '8x', false],
  [halfSquare, '1/2x²', true], [halfSquare, 'x²÷2', true], [halfSquare, '0.5x^2', true], [halfSquare, 'x^2/2', true],
  [twoTimes, '2、14', true], [twoTimes, 'x=14, x=2', true], [twoTimes, '2と14', true], [twoTimes, '2', false],
  [twoTimes, '2、2、14', false], [twoTimes, '2、15', false], [twoTimes, '2秒後、14秒後', true],
  [third, '14/3', true], [third, '4.67', true], [third, '4.6', false],
  // What no answer is: nothing is run, nothing is looked up, nothing overflows.
  [y, 'constructor', false], [y, '__proto__', false], [y, '((((((((((((((((((((((18))))))))))))))))))))))', false],
  [y, `${'1+'.repeat(200)}1`, false], [y, '18)', false], [y, '(18', false], [y, '1e3', false],
];

describe('a class\'s answers, marked', () => {
  it('marks each answer as a teacher would', () => {
    for (const [question, text, right] of rows) {
      assert.equal(isRight(question, text), right, `${JSON.stringify(text)} for ${JSON.stringify(question.values)}`);
    }
  });
});
