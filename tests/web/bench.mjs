// Measures the browser's lesson in headless Chromium from a local server and prints one figure a
// line: the site's size, a class's tablet opening it over a school's line, a forward step with
// every view on, and a whole automatic run at "20" with the page's CPU over it. With
// `first-frame N`, the first painted frame of N fresh loads instead.
import { spawnSync } from 'node:child_process';
import { existsSync, readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { click, idle, launch, openLesson, serve, serveAsSchool, site } from './browser.mjs';
import { until } from './wait.mjs';

// A low-end Chromebook on a school's shared line: CPU four times slower, 1.6 Mbps, 150 ms there
// and back.
async function slowed(page) {
  const cdp = await page.target().createCDPSession();
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', {
    offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 1.6e6 / 8,
  });
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
}

// Milliseconds from the visit's start until the lesson's figure first shows.
async function lessonDrawn(page) {
  await page.waitForFunction(() => performance.getEntriesByName('lesson-drawn').length > 0, { timeout: 60000 });
  return page.evaluate(() => performance.getEntriesByName('lesson-drawn')[0].startTime);
}

// The first painted frame of a fresh load, from navigation start.
async function firstFrame() {
  const { page } = await openLesson(chromium.browser, server.url, 'offline=no');
  await page.waitForFunction(() => performance.getEntriesByName('kansu-first-frame').length > 0);
  const frame = await page.evaluate(() => performance.getEntriesByName('kansu-first-frame')[0].startTime);
  await page.close();
  return frame;
}

// The figures but the first frame.
async function measureAll() {
  const siteBytes = readdirSync(site)
    .filter((f) => !f.endsWith('.br') && !f.endsWith('.gz'))
    .reduce((sum, f) => sum + statSync(join(site, f)).size, 0);
  console.log(`web_site_bytes ${siteBytes}`);
  const wireBytes = readdirSync(site)
    .filter((f) => !f.endsWith('.br') && !f.endsWith('.gz'))
    .reduce((sum, f) => sum + statSync(join(site, existsSync(join(site, `${f}.br`)) ? `${f}.br` : f)).size, 0);
  console.log(`web_wire_bytes ${wireBytes}`);

  // A class's tablet: a first visit, then a later one, each in a browser profile of its own; the
  // median of three. The later visit also counts what reaches the server.
  {
    const school = await serveAsSchool();
    const first = [];
    const later = [];
    let requests = 0;
    try {
      for (let i = 0; i < 3; ++i) {
        const context = await chromium.browser.createBrowserContext();
        const page = await context.newPage();
        await slowed(page);
        await page.goto(school.url, { waitUntil: 'load' });
        first.push(await lessonDrawn(page));
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 60000 });
        // What reaches the server on the later visit, the worker's own asking included, once the
        // worker has kept the set of the first.
        await until(() => page.evaluate(async () => {
          const kept = await (await caches.open('kansu-meta')).match(new URL('kansu-state', location.href).href);
          return kept !== undefined && (await kept.json()).current !== null;
        }), 'the set kept after the first visit', { seconds: 60 });
        const before = school.heard.length;
        await page.reload({ waitUntil: 'load' });
        later.push(await lessonDrawn(page));
        await until(() => school.heard.slice(before).some((l) => l.includes('/version.json')), 'the version asked for');
        requests = Math.max(requests, school.heard.length - before);
        await context.close();
      }
    } finally {
      school.stop();
    }
    first.sort((a, b) => a - b);
    later.sort((a, b) => a - b);
    console.log(`web_first_visit_ms ${first[1].toFixed(1)}`);
    console.log(`web_later_visit_ms ${later[1].toFixed(1)}`);
    console.log(`web_later_visit_requests ${requests}`);
  }

  // A forward step with every view on, page updates included, over whole runs to the end.
  const { page } = await openLesson(chromium.browser, server.url, 'offline=no');
  for (const name of ['Check1', 'Check2', 'Check3', 'Check4', 'Check5', 'Check6']) await click(page, name);
  await idle(page);
  const stepUs = await page.evaluate(async () => {
    // The state lists the controls in the core's order, which is their number.
    const ids = Object.keys(window.kansu.state().controls);
    const susumu = ids.indexOf('susumu');
    const command1 = ids.indexOf('Command1');
    let steps = 0;
    let spent = 0;
    for (let run = 0; run < 3; ++run) {
      await window.kansu.act(1, command1);
      for (let i = 0; i < 80; ++i) {
        const t = performance.now();
        await window.kansu.act(1, susumu);
        spent += performance.now() - t;
        ++steps;
      }
    }
    return (1000 * spent) / steps;
  });
  console.log(`web_step_us ${stepUs.toFixed(1)}`);

  // A forward step of each built-in problem, every view on, and choosing one.
  const problems = await page.evaluate(async () => {
    const core = window.kansu.core();
    const ids = Object.keys(window.kansu.state().controls);
    const susumu = ids.indexOf('susumu');
    const names = JSON.parse(core.UTF8ToString(core._kansu_problems())).map((p) => p.name);
    const choose = (name) => core.ccall('kansu_choose_problem', 'string', ['string', 'string'], [name, '']);
    const result = { steps: {}, chooseUs: 0 };
    let chosen = 0;
    for (const name of names) {
      let t = performance.now();
      choose(name);
      result.chooseUs += 1000 * (performance.now() - t);
      ++chosen;
      const state = window.kansu.state();
      if (state.controls.Check5.enabled && !state.controls.Check5.value) await window.kansu.act(1, ids.indexOf('Check5'));
      let spent = 0;
      let steps = 0;
      for (let i = 0; i < 60; ++i) {
        t = performance.now();
        await window.kansu.act(1, susumu);
        spent += performance.now() - t;
        ++steps;
      }
      result.steps[name] = (1000 * spent) / steps;
    }
    result.chooseUs /= chosen;
    choose('square');
    return result;
  });
  for (const [name, us] of Object.entries(problems.steps)) console.log(`web_problem_step_us ${name} ${us.toFixed(1)}`);
  console.log(`web_choose_us ${problems.chooseUs.toFixed(1)}`);

  // A whole run at "20" in real time, and the page's CPU over it.
  await page.evaluate(() => {
    const ids = Object.keys(window.kansu.state().controls);
    return window.kansu.act(1, ids.indexOf('Command1'));
  });
  const before = await page.metrics();
  const run = await page.evaluate(async () => {
    const ids = Object.keys(window.kansu.state().controls);
    const t = performance.now();
    await window.kansu.act(1, ids.indexOf('jidou'));
    return performance.now() - t;
  });
  const afterRun = await page.metrics();
  console.log(`web_run_wall_ms ${run.toFixed(1)}`);
  console.log(`web_run_cpu_ms ${(1000 * (afterRun.TaskDuration - before.TaskDuration)).toFixed(1)}`);
  await page.close();
}

const server = await serve();
const chromium = await launch();
try {
  if (process.argv[2] === 'first-frame') {
    // first-frame ROUNDS LOADS -- COMMAND...: rounds of the command (the desktop's start-up) and
    // as many fresh loads, taking turns, so that a machine busier in one part of the run weighs
    // on both alike; the command's output and each load printed. The first load only warms the
    // browser, as the desktop's first start warms the system's caches.
    const [rounds, loads] = process.argv.slice(3, 5).map(Number);
    if (!process.argv.includes('--')) throw new Error('first-frame ROUNDS LOADS -- COMMAND...');
    const [command, ...args] = process.argv.slice(process.argv.indexOf('--') + 1);
    await firstFrame();
    for (let round = 0; round < rounds; ++round) {
      const desktop = spawnSync(command, args, { encoding: 'utf8' });
      if (desktop.status !== 0) throw new Error(`${command} exited with ${desktop.status}: ${desktop.stderr}${desktop.stdout}`);
      process.stdout.write(desktop.stdout);
      for (let i = 0; i < loads; ++i) console.log(`web_first_frame_sample_ms ${(await firstFrame()).toFixed(1)}`);
    }
  } else {
    await measureAll();
  }
} finally {
  await chromium.close();
  await server.stop();
}
