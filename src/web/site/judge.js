// Whether a student's answer is right, as a teacher marking it would see it: the number or the
// rule may be written in full-width or half-width characters, with "y =" or "x =" before it and
// the unit after it, a rule in any order and with fractions (1/2x² is ½x²), several times
// separated by 、 or と. A question (from the core) says what a right answer comes to.

// The answer as a student typed it, in one spelling: half-width, lower case, no spaces, and ー
// read as the minus a Japanese input method types for "-".
export function spelling(text) {
  return String(text)
    .replace(/²/g, '^2').replace(/³/g, '^3')
    .normalize('NFKC')
    .toLowerCase()
    .replace(/[×・]/g, '*').replace(/÷/g, '/').replace(/[−‐–ー]/g, '-')
    .replace(/\s+/g, '');
}

function withoutDecoration(text, variable) {
  return text
    .replace(new RegExp(`^${variable}=`), '')
    .replace(/\([^()]*[≦≤<][^()]*\)$/, '') // the piece it holds on, "(0≦x≦4)"
    .replace(/(cm\^?2|平方センチメ-トル|平方cm|秒後|秒|s)$/, '');
}

// What two answers to a question share when they say the same thing, however spelled ("y = 6",
// "６", "6 cm²"): the tally counts them as one answer.
export function sameAnswer(question, text) {
  return withoutDecoration(spelling(text), question.kind === 'x' ? 'x' : 'y');
}

// A value of an expression in x (numbers, x, + - * / ^, brackets, a number or a bracket before x
// meaning times), or NaN when it is none.
export function valueOf(text, x = Number.NaN) {
  const tokens = text.match(/\d+(?:\.\d+)?|\.\d+|[x()+\-*/^]|./g) ?? [];
  let at = 0;
  let depth = 0;
  const peek = () => tokens[at];
  const fail = () => {
    throw new Error('not an expression');
  };
  const sum = () => {
    let v = product();
    while (peek() === '+' || peek() === '-') v = tokens[at++] === '+' ? v + product() : v - product();
    return v;
  };
  const product = () => {
    let v = signed();
    for (;;) {
      const t = peek();
      if (t === '*') {
        ++at;
        v *= signed();
      } else if (t === '/') {
        ++at;
        v /= signed();
      } else if (t === 'x' || t === '(' || /^[\d.]/.test(t ?? '')) {
        v *= power();
      } else {
        return v;
      }
    }
  };
  const signed = () => {
    if (peek() === '-') {
      ++at;
      return -signed();
    }
    if (peek() === '+') {
      ++at;
      return signed();
    }
    return power();
  };
  const power = () => {
    const base = atom();
    if (peek() !== '^') return base;
    ++at;
    const exponent = atom();
    if (!Number.isInteger(exponent) || exponent < 0 || exponent > 3) fail();
    return base ** exponent;
  };
  const atom = () => {
    const t = tokens[at++];
    if (t === 'x') return Number.isNaN(x) ? fail() : x;
    if (t === '(') {
      if (++depth > 20) fail();
      const v = sum();
      if (tokens[at++] !== ')') fail();
      --depth;
      return v;
    }
    if (/^[\d.]/.test(t ?? '')) return Number(t);
    return fail();
  };
  try {
    if (tokens.length === 0 || tokens.length > 100) return Number.NaN;
    const v = sum();
    return at === tokens.length ? v : Number.NaN;
  } catch {
    return Number.NaN;
  }
}

const near = (a, b, within) => Math.abs(a - b) <= within * Math.max(1, Math.abs(b));

// question: { kind: 'y' | 'rule' | 'x', values } as the core gives it.
export function isRight(question, text) {
  const written = spelling(text);
  if (question.kind === 'y') {
    const v = valueOf(withoutDecoration(written, 'y'));
    return near(v, question.values[0], 1e-6);
  }
  if (question.kind === 'rule') {
    const rule = withoutDecoration(written, 'y');
    for (let i = 0; i + 1 < question.values.length; i += 2) {
      if (!near(valueOf(rule, question.values[i]), question.values[i + 1], 1e-6)) return false;
    }
    return question.values.length > 0;
  }
  // Every time, each once, in any order; a time shown to three places may be written to two.
  const times = written.split(/(?:[,、;]|と|および|かつ)+/).filter(Boolean)
    .map((part) => valueOf(withoutDecoration(part, 'x')));
  if (times.length !== question.values.length) return false;
  const left = [...question.values];
  for (const t of times) {
    const i = left.findIndex((v) => Math.abs(v - t) <= 0.006);
    if (i < 0) return false;
    left.splice(i, 1);
  }
  return true;
}
