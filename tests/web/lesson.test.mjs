// The browser's lesson in a real Chromium: the desktop's end-to-end scenarios played on the page,
// its pictures against kansu-script's for the same actions, and the lesson with the network off.
import assert from 'node:assert/strict';
import { after, before, describe, it } from 'node:test';
import {
  canvasDigest,
  click,
  idle,
  launch,
  openLesson,
  pngDigest,
  scriptPictures,
  serve,
  state,
  type,
} from './browser.mjs';

let server;
let chromium;

before(async () => {
  server = await serve();
  chromium = await launch();
});

after(async () => {
  await chromium?.close();
  await server?.stop();
});

const text = (s, name) => s.controls[name].text;

// The pictures in view equal kansu-script's for the same actions (those out of view are drawn
// when they come into view, as the desktop paints only what shows).
async function samePictures(page, scriptLines, names = ['kokuban', 'gamen', 'hyo']) {
  const expected = scriptPictures(scriptLines, names);
  for (const name of names) {
    assert.equal(await canvasDigest(page, name), await pngDigest(chromium.browser, expected[name]), name);
  }
}

describe('the lesson in the browser', () => {
  it('opens on the initial picture, the same pixels as the desktop', async () => {
    const { page, errors, requests } = await openLesson(chromium.browser, server.url);
    const s = await state(page);
    assert.equal(text(s, 'Text1'), ' 0.0');
    assert.equal(text(s, 'Combo1'), '20');
    assert.equal(s.controls.tomeru.enabled, false);
    assert.equal(await page.title(), '４.関数');
    await samePictures(page, [], ['kokuban']);
    // Every control on the window is on the page, at its design place; those inside a picture
    // box are part of its picture.
    const places = await page.$$eval('[data-name]', (els) =>
      Object.fromEntries(els.map((e) => [e.dataset.name, [e.offsetLeft, e.offsetTop]])),
    );
    assert.deepEqual(places.susumu, [592, 240]);
    assert.deepEqual(places.kokuban, [8, 48]);
    assert.equal(Object.keys(places).length, 22);
    // A caption wider than its label is condensed to fit it, not cut.
    await page.waitForFunction(() => [...document.querySelectorAll('.label')].every((e) => e.firstElementChild));
    const overflowing = await page.$$eval('.label', (els) =>
      els
        .filter((e) => e.offsetWidth && e.firstElementChild.getBoundingClientRect().width > e.getBoundingClientRect().width + 0.01)
        .map((e) => e.dataset.name),
    );
    assert.deepEqual(overflowing, []);
    // It asks for nothing but its own files.
    assert.deepEqual(requests.filter((u) => !u.startsWith(server.url)), []);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('forty steps with the graph and the table: the same pictures as the desktop', async () => {
    const { page, errors } = await openLesson(chromium.browser, server.url);
    await click(page, 'Check2');
    await click(page, 'Check3');
    for (let i = 0; i < 40; ++i) await click(page, 'susumu');
    await idle(page);
    const s = await state(page);
    assert.equal(text(s, 'Text1'), ' 4.0');
    assert.equal(s.window.client_width, 1031);
    assert.equal(s.window.client_height, 682);
    await samePictures(page, ['click Check2', 'click Check3', ...Array(40).fill('click susumu')]);
    // A screen reader hears the moment as the desktop's does: said aloud once the motion rests,
    // and kept on the pictures.
    for (let i = 0; i < 5; ++i) await click(page, 'susumu');
    await idle(page);
    const moment = '4.5秒後　点Pは辺AD上、点Qは辺BC上、面積 y = 18 cm²';
    await page.waitForFunction((m) => document.getElementById('spoken').textContent === m, {}, moment);
    const words = await page.evaluate(() => [
      document.querySelector('[data-name="kokuban"]').getAttribute('aria-description'),
      document.getElementById('spoken').textContent,
      document.querySelector('[data-name="gamen"]').getAttribute('aria-description'),
    ]);
    assert.deepEqual(words, [moment, moment, 'グラフ　最後の点は x = 4.5 秒、y = 18 cm²']);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('plays at " 0" straight to 8.0', async () => {
    const { page, errors } = await openLesson(chromium.browser, server.url);
    await click(page, 'Check2');
    await type(page, 'Combo1', ' 0');
    await click(page, 'jidou');
    await idle(page);
    const s = await state(page);
    assert.equal(text(s, 'Text1'), ' 8.0');
    assert.equal(s.controls.jidou.enabled, true);
    assert.equal(s.controls.tomeru.enabled, false);
    await samePictures(page, ['click Check2', 'type Combo1 " 0"', 'click jidou'], ['kokuban', 'gamen']);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('stops a run at "80" after its wait, and the buttons are idle again', async () => {
    const { page, errors } = await openLesson(chromium.browser, server.url);
    await type(page, 'Combo1', '80');
    await click(page, 'jidou');
    await page.waitForFunction(() => window.kansu.state().vars.michinori >= 8);
    assert.equal((await state(page)).controls.tomeru.enabled, true);
    await click(page, 'tomeru');
    await idle(page);
    const stopped = await state(page);
    // Still for longer than a wait at "80": no step after ストップ.
    await new Promise((r) => setTimeout(r, 900));
    const later = await state(page);
    assert.equal(later.vars.michinori, stopped.vars.michinori, 'the motion went on after ストップ');
    assert.ok(stopped.vars.michinori > 0 && stopped.vars.michinori < 320);
    assert.equal(later.controls.susumu.enabled, true);
    assert.equal(later.controls.tomeru.enabled, false);
    await click(page, 'susumu');
    await idle(page);
    assert.equal((await state(page)).vars.michinori, stopped.vars.michinori + 4);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('終了 during a run ends the lesson, and a fresh one can start', async () => {
    const { page, errors } = await openLesson(chromium.browser, server.url);
    await type(page, 'Combo1', '80');
    await click(page, 'jidou');
    await page.waitForFunction(() => window.kansu.state().vars.michinori >= 4);
    await click(page, 'end');
    await page.waitForSelector('#ended:not([hidden])');
    const ended = await state(page);
    assert.equal(ended.closed, true);
    const steps = ended.vars.michinori;
    // Still for longer than a wait at "80": no step after the end.
    await new Promise((r) => setTimeout(r, 900));
    assert.equal((await state(page)).vars.michinori, steps, 'a step ran after the end');
    await page.click('#again');
    await page.waitForSelector('#ended', { hidden: true });
    const fresh = await state(page);
    assert.equal(fresh.closed, false);
    assert.equal(text(fresh, 'Text1'), ' 0.0');
    assert.equal(fresh.vars.michinori, 0);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('takes every bad text in both boxes without failing', async () => {
    const { page, errors } = await openLesson(chromium.browser, server.url);
    await click(page, 'Check2');
    await click(page, 'Check3');
    for (let i = 0; i < 12; ++i) await click(page, 'susumu');
    const texts = ['', '   ', 'abc', '-5', '1e400', 'nan', 'inf', '&H7FFFFFFF', '2147483648', '１２',
      '9'.repeat(2000), '3\n5', '-0', '7.95', '1e-400', '4.5'];
    for (const t of texts) {
      await type(page, 'Text1', t);
      await click(page, 'modoru');
      await click(page, 'susumu');
      await type(page, 'Combo1', t);
    }
    await idle(page);
    const s = await state(page);
    assert.equal(s.vars.michinori, 48);
    assert.equal(text(s, 'Text1'), ' 1.2');
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('works with the network off once it has been opened', async () => {
    const { page, errors } = await openLesson(chromium.browser, server.url, 'scale=1');
    await page.waitForFunction(async () => {
      const registration = await navigator.serviceWorker.ready;
      return registration.active && navigator.serviceWorker.controller !== null;
    }, { timeout: 20000 }).catch(async () => {
      // The first load is not yet controlled: a reload puts it under the worker.
      await page.reload({ waitUntil: 'load' });
      await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });
    });
    await server.stop();
    await page.reload({ waitUntil: 'load' });
    await page.waitForFunction(() => window.kansu && document.querySelector('[data-name="kokuban"]'));
    await click(page, 'susumu');
    await idle(page);
    assert.equal(text(await state(page), 'Text1'), ' 0.1');
    // The page asked for nothing but its own files.
    assert.ok(server.served.paths.every((p) => !p.includes('://')));
    assert.deepEqual(errors, []);
    await page.close();
  });
});
