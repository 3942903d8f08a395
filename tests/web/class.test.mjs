// A class following its teacher, in real Chromium pages through a real nats-server run with the
// project's own configuration: the link read from the QR code, following and locking, a hostile
// client on the relay, the relay stopped and started again, and three relays as a cluster.
import assert from 'node:assert/strict';
import { after, before, describe, it } from 'node:test';
import { createRequire } from 'node:module';
import { webcrypto } from 'node:crypto';
import { mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { connect as natsConnect } from 'nats';
import { at, canvasDigest, click, idle, launch, openLesson, readCode, saved, serve, site, state } from './browser.mjs';
import { until, within } from './wait.mjs';
import { sealedSite, startCluster, startRelay } from './relay.mjs';

// The class's own modules as written: in the site they are put together with the rest of 授業.
const sources = new URL('../../src/web/site/', import.meta.url);
const { AnswerBox, AnswerSender, ackToken } = await import(new URL('answers.js', sources).href);
const { Follow, classFragment, createClass, readClassFragment } = await import(new URL('class.js', sources).href);

let chromium;
before(async () => {
  chromium = await launch();
});
after(async () => {
  await chromium?.close();
});

// A class's pages side by side in one browser: only the one in front has frames, and a click
// waits for one, so each click or key brings its page to the front first, as a user's tap would.
async function openPage(...args) {
  const opened = await openLesson(chromium.browser, ...args);
  const { page } = opened;
  const inFront = (object, name) => {
    const plain = object[name].bind(object);
    object[name] = async (...given) => {
      await page.bringToFront();
      return plain(...given);
    };
  };
  inFront(page, 'click');
  inFront(page, 'type');
  inFront(page.keyboard, 'press');
  inFront(page.keyboard, 'sendCharacter');
  return opened;
}

const time = async (page) => (await state(page)).controls.Text1.text;
const link = (page) => page.evaluate(() => location.hash);

// The teacher's page with a class started; resolves to the class link as its panel shows it.
async function startClass(page) {
  await page.click('#class');
  await page.waitForSelector('#class-panel[open]');
  await page.click('#class-begin');
  await page.waitForFunction(() => document.getElementById('class-link').value !== '', { polling: 50 });
  return page.$eval('#class-link', (e) => e.value);
}

async function closePanel(page) {
  await page.keyboard.press('Escape');
  await page.waitForSelector('#class-panel:not([open])');
}

// A student's tablet opening the class link; it gives its seat number through the dialog.
async function joinAs(url, seat, viewport) {
  const address = new URL(url);
  const query = `scale=1${address.search.replace('?', '&')}${address.hash}`;
  const student = await openPage(`${address.origin}${address.pathname}`, query, viewport);
  const { page } = student;
  await page.waitForSelector('#seat-panel[open]');
  await page.type('#seat', String(seat));
  await page.keyboard.press('Enter');
  await page.waitForSelector('#seat-panel:not([open])');
  return student;
}

// Waits until the page shows the teacher's moment (its address keeps the class link, so the
// moment is read from the lesson).
async function showsMoment(student, moment) {
  await student.page.waitForFunction((m) => window.kansu.core()
    && window.kansu.idle() && window.kansu.core().UTF8ToString(window.kansu.core()._kansu_link()) === m, { polling: 50 }, moment);
}

// What axe-core finds wrong on a page, but the design's own colours.
async function axeViolations(page) {
  // Run as the test's own script: the class's site allows no script but its own.
  await page.evaluate(readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8'));
  return page.evaluate(async () => {
    const result = await window.axe.run(document, { rules: { 'color-contrast': { enabled: false } } });
    return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  });
}

const momentOf = (page) => page.evaluate(() => window.kansu.core().UTF8ToString(window.kansu.core()._kansu_link()));
const lineOf = (page) => page.$eval('#class-line', (e) => (e.hidden ? '' : e.textContent));
const pressed = (page) => page.$eval('#follow', (e) => e.getAttribute('aria-pressed'));

// A class's surroundings for one test: its relay (or a cluster's relays), the site sealed for them
// and served; all taken down after the test, whatever happens in it.
async function withClass(relays, body) {
  const all = [relays].flat();
  let sealed = null;
  let server = null;
  try {
    sealed = sealedSite(site, all.map((r) => r.wsUrl).join(','));
    server = await serve(sealed.dir);
    return await body({ relay: all[0], relays: all, server });
  } finally {
    await server?.stop();
    sealed?.remove();
    for (const r of all) await r.remove();
  }
}

// A tablet's answer and the teacher's word for it, without a relay: the tablet counts an answer as
// come only when the teacher names that answer, and one numbered below what the teacher took before
// the tablet's clock went back goes again, numbered on from it, however often the word comes.
it('a tablet whose clock went back across a reload counts its answer as come only once the teacher took it', async () => {
  const cls = await createClass(webcrypto);
  const link = readClassFragment(await classFragment(cls, webcrypto));
  // The teacher's own clock, which goes on as it should.
  let teacherTime = 0;
  const teacher = new AnswerBox({ cls, crypto: webcrypto, now: () => teacherTime });
  const sent = [];
  const tabletLoaded = async (keys) => {
    const tablet = new Follow({ link, crypto: webcrypto, onMoment: () => {}, onSent: (q) => sent.push(q) });
    tablet.connection = { published: [], publish(subject, bytes) { this.published.push(bytes); }, isClosed: () => false };
    tablet.online = true;
    return { tablet, keys: await tablet.answers.start(keys) };
  };
  const told = async (tablet, bytes) => {
    const opened = await teacher.open(bytes);
    return opened?.ack ? teacher.ack(opened.sender, opened.ack) : null;
  };
  const clock = Date.now;
  try {
    const { tablet: before, keys } = await tabletLoaded();
    await before.answer({ seat: 4, question: 1, text: '9' });
    await before.acknowledged(await told(before, before.connection.published.at(-1)));
    assert.deepEqual(sent, [1]);
    clearTimeout(before.resendTimer);

    Date.now = () => clock() - 3600e3;
    teacherTime += 2000;
    const { tablet } = await tabletLoaded(keys);
    await tablet.answer({ seat: 4, question: 2, text: '12' });
    const behind = tablet.connection.published.at(-1);
    const word = await told(tablet, behind);
    assert.ok(word, 'the teacher tells the newest number it took');
    // Said twice (or replayed by anyone on the relay), the word never counts the answer as come.
    await Promise.all([tablet.acknowledged(word), tablet.acknowledged(word)]);
    assert.deepEqual(sent, [1]);
    const again = tablet.connection.published.at(-1);
    assert.notDeepEqual(again, behind);
    teacherTime += 2000;
    await tablet.acknowledged(await told(tablet, again));
    assert.deepEqual(sent, [1, 2]);
    clearTimeout(tablet.resendTimer);
  } finally {
    Date.now = clock;
  }
});

describe('a class that follows its teacher', () => {
  it('a page without a class link asks no relay and loads no relay code', async () => {
    const server = await serve();
    const page = await chromium.browser.newPage();
    await page.evaluateOnNewDocument(() => {
      window.socketsOpened = 0;
      const Plain = window.WebSocket;
      window.WebSocket = class extends Plain {
        constructor(...args) {
          super(...args);
          window.socketsOpened += 1;
        }
      };
    });
    await page.setViewport({ width: 1100, height: 760, deviceScaleFactor: 1 });
    await page.goto(`${server.url}?scale=1&offline=no`, { waitUntil: 'load' });
    await page.waitForFunction(() => window.kansu && window.kansu.idle() && document.querySelector('[data-name="Text1"]').value !== '', { polling: 50 });
    await click(page, 'susumu');
    await idle(page);
    assert.equal(await page.evaluate(() => window.socketsOpened), 0);
    for (const code of [/^\/nats\.js$/, /^\/classroom-/]) assert.ok(!server.served.paths.some((p) => code.test(p)), code);
    assert.equal(await lineOf(page), '');
    await page.close();
    await server.stop();
  });

  it('three tablets from the QR code follow the teacher, step on their own, come back, and are locked', async () => withClass(await startRelay(), async ({ server }) => {
    const teacher = await openPage(server.url, 'scale=1', { width: 1920, height: 1080 });
    const { page } = teacher;
    const classLink = await startClass(page);
    assert.match(classLink, new RegExp(`^${server.url}#class=[A-Za-z0-9_-]{22}&t=[A-Za-z0-9_-]{87}&k=[A-Za-z0-9_-]{87}$`));
    // The QR code reads back as the link, from the back of the room.
    const code = await readCode(page, '#class-code');
    assert.ok(code.modulePx >= 8, `a module is ${code.modulePx} px`);
    assert.equal(code.text, classLink);
    await closePanel(page);
    await page.waitForFunction(() => document.getElementById('class-line').textContent.startsWith('授業中'), { polling: 50 });
    await click(page, 'Check2');
    for (let i = 0; i < 3; ++i) await click(page, 'susumu');
    await idle(page);

    // Each joins at the teacher's moment, 先生に合わせる pressed, and says its seat.
    const students = [];
    for (const seat of [3, 17, 40]) students.push(await joinAs(code.text, seat, { width: 1100, height: 760 }));
    for (const [i, s] of students.entries()) {
      await showsMoment(s, await momentOf(page));
      assert.equal(await pressed(s.page), 'true');
      assert.match(await lineOf(s.page), new RegExp(`^出席番号 ${[3, 17, 40][i]}：先生の画面に合わせて動きます`));
    }
    // Nothing of the class reached the site's server: the fragment stays in the browser.
    assert.ok(!server.served.paths.some((p) => p.includes('class=')));

    // Steps, a check box, another problem, a run: every tablet shows each, the same pixels.
    for (const act of [
      () => click(page, 'susumu'),
      () => click(page, 'Check3'),
      () => click(page, 'modoru'),
      async () => {
        await page.click('#problems');
        await page.waitForSelector('#problem-panel[open]');
        await page.click('#problem-list [data-problem="rectangle"]');
      },
      () => click(page, 'susumu'),
    ]) {
      await act();
      await idle(page);
      const moment = await momentOf(page);
      for (const s of students) await showsMoment(s, moment);
    }
    const teacherFigure = await canvasDigest(page, 'kokuban');
    for (const s of students) assert.equal(await canvasDigest(s.page, 'kokuban'), teacherFigure);
    await page.$eval(`${at('Combo1')} input`, (e) => e.select());
    await page.keyboard.sendCharacter('1');
    await click(page, 'jidou');
    await idle(page);
    for (const s of students) await showsMoment(s, await momentOf(page));

    // A student steps on alone; the teacher's next moment leaves that tablet where it is, and
    // 先生に合わせる brings it back.
    const [own, other] = students;
    await click(own.page, 'Command1');
    await own.page.waitForFunction(() => document.getElementById('follow').getAttribute('aria-pressed') === 'false', { polling: 50 });
    await click(page, 'Command1');
    await idle(page);
    await click(page, 'susumu');
    await idle(page);
    await showsMoment(other, await momentOf(page));
    assert.equal(await time(own.page), ' 0.0');
    await own.page.click('#follow');
    await showsMoment(own, await momentOf(page));
    assert.equal(await pressed(own.page), 'true');

    // Locked: the tablets' own controls are off (a click, a key, 問題 do nothing) and a tablet
    // that had gone its own way is brought back.
    await click(other.page, 'susumu');
    await other.page.waitForFunction(() => document.getElementById('follow').getAttribute('aria-pressed') === 'false', { polling: 50 });
    await page.click('#class');
    await page.waitForSelector('#class-panel[open]');
    await page.click('#class-lock');
    await closePanel(page);
    const moment = await momentOf(page);
    for (const s of students) {
      await showsMoment(s, moment);
      await s.page.waitForFunction(() => document.querySelector('[data-name="susumu"]').disabled, { polling: 50 });
      assert.deepEqual(await s.page.evaluate(() => [document.getElementById('follow').disabled,
        document.getElementById('follow').getAttribute('aria-pressed'),
        document.querySelector('[data-name="Check1"] input').disabled,
        document.querySelector('[data-name="Combo1"] input').disabled]), [true, 'true', true, true]);
      await s.page.keyboard.press('PageDown');
      await s.page.click(at('Command1'));
      assert.equal(await momentOf(s.page), moment);
      assert.match(await lineOf(s.page), /先生が操作を止めています/);
    }
    // The teacher still leads a locked class.
    await click(page, 'susumu');
    await idle(page);
    for (const s of students) await showsMoment(s, await momentOf(page));
    // Unlocked, the tablets are their own again.
    await page.click('#class');
    await page.waitForSelector('#class-panel[open]');
    await page.click('#class-lock');
    await closePanel(page);
    for (const s of students) await s.page.waitForFunction(() => !document.querySelector('[data-name="susumu"]').disabled, { polling: 50 });

    // A tablet that joins late, and one reloaded (it keeps its seat and asks nothing).
    const late = await joinAs(code.text, 25, { width: 1100, height: 760 });
    await showsMoment(late, await momentOf(page));
    await students[2].page.reload({ waitUntil: 'load' });
    await showsMoment(students[2], await momentOf(page));
    assert.equal(await students[2].page.$eval('#seat-panel', (d) => d.open), false);

    // The teacher's reload keeps the class: the same link, and the class follows its next moment.
    await page.reload({ waitUntil: 'load' });
    await page.waitForFunction(() => document.getElementById('class-line').textContent.startsWith('授業中'), { polling: 50 });
    await click(page, 'susumu');
    await idle(page);
    for (const s of [...students, late]) await showsMoment(s, await momentOf(page));
    await page.click('#class');
    await page.waitForSelector('#class-panel[open]');
    assert.equal(await page.$eval('#class-link', (e) => e.value), classLink);
    await closePanel(page);

    for (const s of [teacher, ...students, late]) {
      assert.deepEqual(s.errors, []);
      await s.page.close();
    }
  }));

  it('shows nothing a hostile client sends, and a student cannot lead', async () => withClass(await startRelay(), async ({ relay, server }) => {
    const hostile = await natsConnect({ servers: relay.clientUrl });
    try {
      const teacher = await openPage(server.url);
      const { page } = teacher;
      const classLink = await startClass(page);
      await closePanel(page);
      const student = await joinAs(classLink, 9);
      await showsMoment(student, await momentOf(page));
      const id = classLink.match(/class=([^&]+)/)[1];
      const subject = `kansu.${id}.moment`;

      // What the teacher sends, as the relay passes it on.
      const genuine = [];
      const watch = hostile.subscribe(subject);
      (async () => {
        for await (const m of watch) genuine.push(m.data);
      })();
      await click(page, 'susumu');
      await idle(page);
      await showsMoment(student, await momentOf(page));
      await hostile.flush();
      const old = genuine.at(-1);
      const oldMessage = JSON.parse(new TextDecoder().decode(old));

      // A forger's own keys: a well-formed moment, signed, for this class, by someone else.
      const forger = await webcrypto.subtle.generateKey({ name: 'ECDSA', namedCurve: 'P-256' }, true, ['sign', 'verify']);
      const b64 = (bytes) => Buffer.from(bytes).toString('base64url');
      const signedBy = async (message, key = forger.privateKey) => {
        const text = `${message.c}|${message.n}|${message.m}|${message.p}|${message.l}|${message.q}|${message.a}`;
        const sig = await webcrypto.subtle.sign({ name: 'ECDSA', hash: 'SHA-256' }, key, new TextEncoder().encode(text));
        return { ...message, g: b64(new Uint8Array(sig)) };
      };
      const far = { k: 'moment', c: id, n: Date.now() * 1000 + 1e9, m: 'x=7.7&c=111111&s=20', p: 0, l: 1, q: 0, a: '' };
      const bytes = (o) => new TextEncoder().encode(typeof o === 'string' ? o : JSON.stringify(o));
      const rows = [
        ['unsigned', async () => bytes({ ...far, g: '' })],
        ['signed by another key', async () => bytes(await signedBy(far))],
        ['the teacher\'s signature on another moment', async () => bytes({ ...far, g: oldMessage.g })],
        ['for another class', async () => bytes(await signedBy({ ...far, c: 'AAAAAAAAAAAAAAAAAAAAAA' }))],
        ['an older moment of the teacher, replayed', async () => old],
        ['malformed JSON', async () => bytes('{"k":"moment","c":')],
        ['not text at all', async () => Uint8Array.from({ length: 300 }, (_, i) => (i * 37) & 255)],
        ['oversized', async () => bytes({ ...far, m: 'x'.repeat(6000), g: oldMessage.g })],
        ['a number past any the page can hold', async () => bytes({ ...oldMessage, n: 2 ** 60 })],
        ['fields of the wrong kinds', async () => bytes({ ...oldMessage, n: String(oldMessage.n + 1), p: true })],
        ['an array', async () => bytes('[1,2,3]')],
        ['a question signed by another key', async () => bytes(await signedBy({ ...far, q: 1, a: '答えを送れ' }))],
        ['a question the teacher did not sign', async () => bytes({ ...oldMessage, n: oldMessage.n + 1, q: 1, a: '答えを送れ' })],
      ];
      const shown = () => student.page.evaluate(() => window.kansu.classShown());
      for (const [name, message] of rows) {
        const before = (await shown()).length;
        hostile.publish(subject, await message());
        await hostile.flush();
        // The teacher's next moment comes, and nothing else is ever shown.
        await click(page, 'susumu');
        await idle(page);
        const moment = await momentOf(page);
        await showsMoment(student, moment);
        assert.deepEqual((await shown()).slice(before), [moment], name);
        assert.equal(await student.page.$eval(at('susumu'), (e) => e.disabled), false, `${name}: locked by a forger`);
        assert.equal(await student.page.$eval('#question-panel', (d) => d.open), false, `${name}: a question shown`);
      }
      // A flood of forgeries, each with a higher number than the last: the tablet stays with the
      // teacher, and takes the teacher's next moment at once.
      for (let i = 0; i < 2000; ++i) hostile.publish(subject, bytes(await signedBy({ ...far, n: far.n + i })));
      await hostile.flush();
      const beforeFlood = (await shown()).length;
      await click(page, 'modoru');
      await idle(page);
      await showsMoment(student, await momentOf(page));
      assert.deepEqual((await shown()).slice(beforeFlood), [await momentOf(page)], 'flood');

      // A flood of asks for the moment brings at most one reply each fifth of a second.
      const before = genuine.length;
      const started = Date.now();
      for (let i = 0; i < 500; ++i) hostile.publish(`kansu.${id}.hello`, bytes('{"k":"hello"}'));
      await hostile.flush();
      // Counted once the teacher has answered and then kept quiet for longer than its limit.
      let heard = before;
      let quietSince = Date.now();
      await until(() => {
        if (genuine.length !== heard) [heard, quietSince] = [genuine.length, Date.now()];
        return genuine.length > before && Date.now() - quietSince >= 600;
      }, 'the teacher answered the hellos and went quiet');
      const answers = genuine.length - before;
      assert.ok(answers >= 1 && answers <= (Date.now() - started) / 200 + 2, `${answers} answers`);

      // The relay lets no one outside the lesson's subjects.
      const refused = await natsConnect({ servers: relay.clientUrl });
      const denied = [];
      (async () => {
        for await (const s of refused.status()) if (s.type === 'error' && s.permissionContext) denied.push(s.permissionContext.subject);
      })();
      const outside = ['kansu-other', `kansu.${id}.elsewhere`, '_INBOX.x'];
      for (const subject of outside) refused.publish(subject, bytes('x'));
      refused.subscribe('>');
      await until(async () => {
        await refused.flush();
        return denied.length >= outside.length + 1;
      }, 'the relay refused each subject');
      assert.deepEqual(denied.sort(), [...outside, '>'].sort());
      await refused.close();

      for (const p of [teacher, student]) {
        assert.deepEqual(p.errors, []);
        await p.page.close();
      }
    } finally {
      await hostile.close();
    }
  }));

  it('a question goes to the class and its answers come back to the teacher alone, tallied, and saved as CSV', async () => withClass(await startRelay(), async ({ relay, server }) => {
    const hostile = await natsConnect({ servers: relay.clientUrl });
    const downloads = mkdtempSync(join(tmpdir(), 'kansu-csv-'));
    try {
      const teacher = await openPage(server.url, 'scale=1#x=3.0&c=000000&s=20');
      const { page } = teacher;
      const classLink = await startClass(page);
      await closePanel(page);
      const seats = [3, 7, 12];
      const students = [];
      for (const seat of seats) students.push(await joinAs(classLink, seat));
      const id = classLink.match(/class=([^&]+)/)[1];
      const seen = []; // what the relay passes on of the answers, as anyone on it sees them
      const watch = hostile.subscribe(`kansu.${id}.answer`);
      (async () => {
        for await (const m of watch) seen.push(new TextDecoder().decode(m.data));
      })();

      // 質問する: the question of y at the moment, over every tablet's lesson.
      await page.click('#class');
      await page.waitForSelector('#class-panel[open]');
      const offered = await page.$$eval('#class-question option', (options) => options.map((o) => o.textContent));
      assert.deepEqual(offered, ['x = 3 のとき、y の値を求めなさい。', '0 ≦ x ≦ 4 のとき、y を x の式で表しなさい。',
        '4 ≦ x ≦ 8 のとき、y を x の式で表しなさい。', 'y = 28 となる x の値を求めなさい。']);
      await page.select('#class-question', '0');
      await page.click('#class-ask');
      await page.waitForSelector('#class-panel:not([open])');
      await page.waitForSelector('#tally:not([hidden])');
      for (const s of students) {
        await s.page.waitForSelector('#question-panel[open]');
        assert.equal(await s.page.$eval('#question-text', (e) => e.textContent), 'x = 3 のとき、y の値を求めなさい。');
      }

      // Typed into each tablet's own field: right, wrong, and wrong then changed to right.
      const answer = async (s, text) => {
        await s.page.click('#answer', { clickCount: 3 });
        await s.page.type('#answer', text);
        await s.page.click('#answer-form button[type="submit"]');
        await s.page.waitForFunction(() => document.getElementById('answer-said').textContent === '送りました', { polling: 50 });
      };
      await answer(students[0], '9');
      await answer(students[1], 'y = 6');
      await answer(students[2], '6');
      const tallied = (n) => page.waitForFunction((count) => document.getElementById('tally-count').textContent.startsWith(`答えた人 ${count}`), { polling: 50 }, n);
      await tallied(3);
      await answer(students[2], '９ cm²');
      await page.waitForFunction(() => document.getElementById('tally-count').textContent === '答えた人 3　正しい答え 2', { polling: 50 });
      const wrong = () => page.$$eval('#tally-wrong li', (items) => items.map((i) => i.textContent));
      assert.deepEqual(await wrong(), ['y = 6　1 人']);
      await page.click('#tally-seats');
      assert.deepEqual(await wrong(), ['y = 6　1 人（出席番号 7）']);
      await page.click('#tally-seats');
      assert.deepEqual(await wrong(), ['y = 6　1 人']);
      // The tally and a tablet's question, as assistive technology finds them.
      for (const p of [page, students[0].page]) assert.deepEqual(await axeViolations(p), []);

      // The relay and everyone on it see ciphertext only.
      await hostile.flush();
      assert.ok(seen.length >= 4);
      for (const text of seen) {
        const message = JSON.parse(text);
        assert.deepEqual(Object.keys(message).sort(), ['c', 'e', 'i', 'k', 'x']);
        assert.ok(!/y = 6|９|"a"/.test(text), text);
      }

      // Hostile answers, each followed by a probe from a tablet of the hostile's own, so the
      // teacher has taken the row before the tally is read: the tally of the class stays right.
      const link = readClassFragment(classLink.slice(classLink.indexOf('#')));
      const tablet = async (linkFor = link) => {
        const sender = new AnswerSender({ link: linkFor, crypto: webcrypto });
        await sender.start();
        return sender;
      };
      const asked = { q: (await page.evaluate(() => window.kansu.tally())).number };
      // The probe is sent again while it is not taken, as a tablet would: a class's new tablets are
      // heard at a limited rate, and a row may have used that up for the moment.
      let probes = 0;
      const publish = async (bytes) => {
        const probe = await tablet();
        hostile.publish(`kansu.${id}.answer`, bytes);
        probes += 1;
        const text = `probe ${probes}`;
        const probeBytes = await probe.seal({ seat: 50 + probes, question: asked.q, text });
        for (;;) {
          hostile.publish(`kansu.${id}.answer`, probeBytes);
          await hostile.flush();
          try {
            await page.waitForFunction((p) => window.kansu.tally().then((t) => t.answers.some((a) => a.text === p)), { polling: 50, timeout: 1000 }, text);
            return;
          } catch {
            // Not taken yet: again.
          }
        }
      };
      const theClass = async () => (await page.evaluate(() => window.kansu.tally())).answers
        .filter((a) => a.seat < 50).map((a) => `${a.seat} ${a.text} ${a.right}`).sort();
      const expected = ['12 ９ cm² true', '3 9 true', '7 y = 6 false'];
      const bytes = (o) => new TextEncoder().encode(typeof o === 'string' ? o : JSON.stringify(o));
      const otherTeacher = { ...readClassFragment(await classFragment(await createClass(webcrypto), webcrypto)), id };
      const rows = [
        ['a tablet\'s answer replayed', async () => bytes(seen[1]), expected],
        ['a tablet\'s older answer replayed', async () => bytes(seen[2]), expected],
        ['malformed JSON', async () => bytes('{"k":"answer","c":'), expected],
        ['not text at all', async () => Uint8Array.from({ length: 500 }, (_, i) => (i * 31) & 255), expected],
        ['oversized', async () => bytes({ ...JSON.parse(seen[0]), x: 'A'.repeat(8000) }), expected],
        ['for another class', async () => bytes({ ...JSON.parse(seen[0]), c: 'AAAAAAAAAAAAAAAAAAAAAA' }), expected],
        ['sealed for another teacher', async () => (await tablet(otherTeacher)).seal({ seat: 5, question: asked.q, text: '9' }), expected],
        ['a key that is no point', async () => bytes({ ...JSON.parse(seen[0]), e: Buffer.from([4, ...new Uint8Array(64).fill(1)]).toString('base64url') }), expected],
        ['a seat out of range', async () => (await tablet()).seal({ seat: 100, question: asked.q, text: '9' }), expected],
        ['an answer to another question', async () => (await tablet()).seal({ seat: 20, question: asked.q + 1, text: '9' }), expected],
        ['a tablet\'s answer under another tablet\'s key', async () => bytes({ ...JSON.parse(seen[0]), e: (await tablet()).sender }), expected],
        ['another tablet answering for seat 3', async () => (await tablet()).seal({ seat: 3, question: asked.q, text: '10' }),
          ['12 ９ cm² true', '3 10 false', '3 9 true', '7 y = 6 false']],
      ];
      for (const [name, message, want] of rows) {
        await publish(await message());
        assert.deepEqual(await theClass(), want, name);
      }
      await page.waitForFunction(() => !document.getElementById('tally-twice').hidden, { polling: 50 });
      assert.match(await page.$eval('#tally-twice', (e) => e.textContent), /同じ出席番号に 2 台以上から答えがあります（1 人分）/);

      // Junk from 250 new tablets, fifty a second: none is taken, none keeps a real tablet out.
      for (let round = 0; round < 5; ++round) {
        for (let k = 0; k < 50; ++k) {
          const key = await webcrypto.subtle.generateKey({ name: 'ECDH', namedCurve: 'P-256' }, true, ['deriveBits']);
          const e = Buffer.from(await webcrypto.subtle.exportKey('raw', key.publicKey)).toString('base64url');
          hostile.publish(`kansu.${id}.answer`, bytes({ k: 'answer', c: id, e, i: 'AAAAAAAAAAAAAAAA', x: 'A'.repeat(64) }));
        }
        await publish(bytes('{}'));
        assert.deepEqual(await theClass(), ['12 ９ cm² true', '3 10 false', '3 9 true', '7 y = 6 false'], `junk round ${round}`);
      }

      // A flood from one tablet: a few answers are taken (each told back), the newest of those
      // counts once. Answers open side by side, so which of them are taken may vary.
      const flooder = await tablet();
      const told = hostile.subscribe(`kansu.${id}.ack.${ackToken(flooder.sender)}`);
      await hostile.flush();
      const flooded = Date.now();
      for (let i = 0; i < 300; ++i) hostile.publish(`kansu.${id}.answer`, await flooder.seal({ seat: 40, question: asked.q, text: String(i) }));
      await publish(bytes('{}'));
      const fromFlood = (await theClass()).filter((a) => a.startsWith('40 '));
      assert.equal(fromFlood.length, 1);
      await until(() => told.getReceived() >= 1, 'one of the flood taken');
      // What is taken, each told, and at most one word a second for what came below it.
      const seconds = (Date.now() - flooded) / 1000;
      assert.ok(told.getReceived() <= 5 + seconds + 1 + seconds + 1, `${told.getReceived()} told`);
      told.unsubscribe();
      // Eight new tablets all answering for seat 30: a seat's answers are limited as a tablet's are.
      for (let k = 0; k < 8; ++k) hostile.publish(`kansu.${id}.answer`, await (await tablet()).seal({ seat: 30, question: asked.q, text: String(k) }));
      await publish(bytes('{}'));
      const forSeat = (await theClass()).filter((a) => a.startsWith('30 ')).length;
      assert.ok(forSeat >= 1 && forSeat <= 6, `${forSeat} answers for seat 30`);

      // CSV: seat, answer, right or not, seconds taken, as the tally has them.
      await within(saved(page, downloads, () => page.click('#tally-csv')), 'the CSV saved');
      const files = readdirSync(downloads).filter((f) => f.endsWith('.csv'));
      assert.equal(files.length, 1, files.join());
      const csv = readFileSync(join(downloads, files[0]), 'utf8');
      const lines = csv.replace(/^\uFEFF/, '').trim().split('\r\n');
      const question = 'x = 3 のとき、y の値を求めなさい。';
      assert.equal(lines[0], '質問,出席番号,答え,正誤,秒');
      const rowsOf = (seat) => lines.slice(1).filter((l) => l.startsWith(`${question},${seat},`))
        .map((l) => l.slice(question.length + 1).replace(/,[\d.]+$/, ''));
      assert.deepEqual(rowsOf(3).sort(), ['3,10,誤', '3,9,正']);
      assert.deepEqual(rowsOf(7), ['7,y = 6,誤']);
      assert.deepEqual(rowsOf(12), ['12,９ cm²,正']);
      for (const line of lines.slice(1)) assert.match(line, /,\d+\.\d$/);

      // The teacher closes the question: it leaves the tablets, and later answers are not taken.
      await page.click('#tally-close');
      for (const s of students) await s.page.waitForSelector('#question-panel:not([open])');
      assert.match(await page.$eval('#tally-question', (e) => e.textContent), /締め切りました/);

      for (const p of [teacher, ...students]) {
        assert.deepEqual(p.errors, []);
        await p.page.close();
      }
    } finally {
      await hostile.close();
      rmSync(downloads, { recursive: true, force: true });
    }
  }));

  it('the relay stopped: each page says so in one line and goes on alone; started again, the class rejoins by itself', async () => withClass(await startRelay(), async ({ relay, server }) => {
    const teacher = await openPage(server.url);
    const { page } = teacher;
    const classLink = await startClass(page);
    await page.click('#class-lock');
    await closePanel(page);
    const student = await joinAs(classLink, 5);
    await showsMoment(student, await momentOf(page));
    await student.page.waitForFunction(() => document.querySelector('[data-name="susumu"]').disabled, { polling: 50 });
    // A question asked, to be answered while the relay is away.
    await page.click('#class');
    await page.waitForSelector('#class-panel[open]');
    await page.click('#class-ask');
    await student.page.waitForSelector('#question-panel[open]');

    await relay.stop();
    for (const p of [page, student.page]) {
      await p.waitForFunction(() => document.getElementById('class-line').textContent.startsWith('中継サーバーにつながりません'), { polling: 50 });
    }
    // The tablet is its own while the teacher cannot reach it; the teacher goes on too.
    await student.page.waitForFunction(() => !document.querySelector('[data-name="susumu"]').disabled, { polling: 50 });
    await click(student.page, 'susumu');
    await idle(student.page);
    for (let i = 0; i < 4; ++i) await click(page, 'susumu');
    await idle(page);
    await student.page.type('#answer', '0');
    await student.page.keyboard.press('Enter');
    await student.page.waitForFunction(() => document.getElementById('answer-said').textContent.startsWith('中継サーバーにつながったら'), { polling: 50 });

    await relay.start();
    await page.waitForFunction(() => document.getElementById('class-line').textContent.startsWith('授業中'), { polling: 50, timeout: 60000 });
    await showsMoment(student, await momentOf(page));
    await student.page.waitForFunction(() => document.querySelector('[data-name="susumu"]').disabled, { polling: 50 });
    // The answer went once the relay was back, and counts once.
    await student.page.waitForFunction(() => document.getElementById('answer-said').textContent === '送りました', { polling: 50 });
    await page.waitForFunction(() => document.getElementById('tally-count').textContent === '答えた人 1　正しい答え 1', { polling: 50 });
    assert.deepEqual((await page.evaluate(() => window.kansu.tally())).answers.map((a) => [a.seat, a.text]), [[5, '0']]);
    for (const p of [teacher, student]) {
      assert.deepEqual(p.errors.filter((e) => !/WebSocket|ERR_CONNECTION_REFUSED/.test(e)), []);
      await p.page.close();
    }
  }));

  it('three relays as one cluster: students on two follow a teacher on the third, who moves on when its relay is shut down', async () => withClass(await startCluster(3), async ({ relays, server }) => {
    // The cluster's routes are up once a message crosses it.
    const ends = await Promise.all(relays.map((r) => natsConnect({ servers: r.clientUrl })));
    try {
      const probe = ends[2].subscribe('kansu.probe.hello');
      await ends[2].flush();
      let crossed = false;
      (async () => {
        for await (const _ of probe) crossed = true;
      })();
      await until(() => {
        ends[0].publish('kansu.probe.hello');
        return crossed;
      }, 'a message across the cluster', { every: 100 });
      const teacher = await openPage(server.url, 'scale=1&relay=1');
      const { page } = teacher;
      const classLink = await startClass(page);
      await closePanel(page);
      const students = [
        await joinAs(classLink.replace('#', '?relay=2#'), 1),
        await joinAs(classLink.replace('#', '?relay=3#'), 2),
      ];
      await click(page, 'susumu');
      await idle(page);
      for (const s of students) await showsMoment(s, await momentOf(page));

      // The line while the teacher's page moves on may show only for a moment: every line is kept.
      await page.evaluate(() => {
        const line = document.getElementById('class-line');
        window.linesSaid = [];
        new MutationObserver(() => window.linesSaid.push(line.textContent)).observe(line, { childList: true, characterData: true, subtree: true });
      });
      await relays[0].stop();
      await page.waitForFunction(() => window.linesSaid.some((t) => t.startsWith('中継サーバーにつながりません')), { polling: 50 });
      await page.waitForFunction(() => document.getElementById('class-line').textContent.startsWith('授業中'), { polling: 50, timeout: 60000 });
      for (let i = 0; i < 2; ++i) await click(page, 'susumu');
      await idle(page);
      for (const s of students) await showsMoment(s, await momentOf(page));
      for (const p of [teacher, ...students]) {
        assert.deepEqual(p.errors.filter((e) => !/WebSocket|ERR_CONNECTION_REFUSED/.test(e)), []);
        await p.page.close();
      }
    } finally {
      for (const end of ends) await end.close();
    }
  }));
});
