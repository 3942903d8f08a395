// What the browser tests share: the site served from this machine (and cut off at will), a real
// Chromium driven by puppeteer-core, and kansu-script for the pictures the page must match.
import { spawn, spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const site = process.env.KANSU_SITE;
export const kansuScript = process.env.KANSU_SCRIPT;
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.mjs': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.ttf': 'font/ttf',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
  '.txt': 'text/plain; charset=utf-8',
};

// A static server for the site on a free port of this machine; it counts the bytes it sends and
// remembers every path it was asked for. served.replace maps a path to the bytes to send instead.
// served.plain, a date, makes it a plain static server: no Cache-Control, every file dated then
// (a file sent instead dated now), and a conditional request answered as such a server does.
// served.fail holds paths answered with 500, served.types a path's Content-Type sent instead;
// served.asked(path) resolves once the path has been asked for. root is another site folder to serve.
export async function serve(root = site) {
  const waiting = [];
  const served = {
    bytes: 0, paths: [], replace: new Map(), fail: new Set(), types: new Map(),
    asked: (path) => (served.paths.includes(path) ? Promise.resolve() : new Promise((resolve) => waiting.push({ path, resolve }))),
  };
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    served.paths.push(path);
    for (let i = waiting.length - 1; i >= 0; --i) if (waiting[i].path === path) waiting.splice(i, 1)[0].resolve();
    if (served.fail.has(path)) {
      response.writeHead(500).end();
      return;
    }
    const file = join(root, path.endsWith('/') ? `${path}index.html` : path);
    let body;
    try {
      body = served.replace.get(path) ?? readFileSync(file);
    } catch {
      response.writeHead(404).end();
      return;
    }
    const type = served.types.get(path) ?? (types[extname(file)] || 'application/octet-stream');
    if (served.plain) {
      const modified = served.replace.has(path) ? new Date() : served.plain;
      const since = Date.parse(request.headers['if-modified-since'] ?? '');
      if (since >= Math.floor(modified.getTime() / 1000) * 1000) {
        response.writeHead(304).end();
        return;
      }
      served.bytes += body.length;
      response.writeHead(200, { 'Content-Type': type, 'Last-Modified': modified.toUTCString() });
      response.end(body);
      return;
    }
    served.bytes += body.length;
    response.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'no-cache' });
    response.end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const url = `http://localhost:${server.address().port}/`;
  const stop = () =>
    new Promise((resolve) => {
      server.closeAllConnections();
      server.close(resolve);
    });
  return { url, served, stop };
}

// The site as make serve serves it, as a school's web server is set up: its files pre-compressed
// and dated. heard holds every request the server logged, with the status it answered.
export async function serveAsSchool(root = site) {
  const script = join(dirname(fileURLToPath(import.meta.url)), '../../tools/web/serve.py');
  const child = spawn('python3', [script, root, '0'], { stdio: ['ignore', 'pipe', 'pipe'] });
  const heard = [];
  child.stderr.on('data', (d) => heard.push(...d.toString().split('\n').filter((l) => l.includes('"GET '))));
  const url = await new Promise((resolve, reject) => {
    child.stdout.on('data', (d) => {
      const said = /on (http:\/\/localhost:\d+\/)/.exec(d.toString());
      if (said) resolve(said[1]);
    });
    child.on('exit', reject);
  });
  return { url, heard, stop: () => child.kill() };
}

export async function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'kansu-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--disable-dev-shm-usage',
      '--font-render-hinting=none',
      // A class's tablets are pages side by side here: none is put to sleep behind another.
      '--disable-background-timer-throttling',
      '--disable-renderer-backgrounding',
      '--disable-backgrounding-occluded-windows',
      // The browser's own omnibox popup, a page of its own that every new tab starts beside it:
      // headless, it is never shown, yet on a machine of two cores it takes one from the lesson
      // for the first half second of every tab a test opens.
      '--disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup',
    ],
  });
  const close = async () => {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return { browser, close };
}

// Opens the lesson at one pixel a design pixel and waits until it shows.
export async function openLesson(browser, url, query = 'scale=1', viewport = { width: 1100, height: 760 }) {
  const page = await browser.newPage();
  await page.setViewport({ ...viewport, deviceScaleFactor: 1 });
  const errors = [];
  const requests = [];
  page.on('request', (r) => requests.push(r.url()));
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => {
    if (m.type() === 'error') errors.push(m.text());
  });
  await page.goto(`${url}?${query}`, { waitUntil: 'load' });
  await shown(page);
  return { page, errors, requests };
}

// Waits until the lesson shows its window, its first batch taken.
export async function shown(page) {
  await page.waitForFunction(() => {
    const time = document.querySelector('[data-name="Text1"]');
    return window.kansu && time && time.value !== '' && window.kansu.idle();
  }, { polling: 50 });
}

// The PNG the page made of a blob, as base64 bytes.
export async function blobBase64(page, handle) {
  return page.evaluate(async (blob) => {
    const bytes = new Uint8Array(await blob.arrayBuffer());
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(binary);
  }, handle);
}

// What a camera reads of a QR code on the page (zbarimg on a picture of it), and the size of
// its modules in CSS pixels.
export async function readCode(page, selector) {
  const modulePx = await page.$eval(selector, (c) => c.getBoundingClientRect().width / Number(c.dataset.modules));
  const dir = mkdtempSync(join(tmpdir(), 'kansu-qr-'));
  const shot = join(dir, 'code.png');
  await (await page.$(selector)).screenshot({ path: shot });
  const text = spawnSync('zbarimg', ['--raw', '-q', shot]).stdout.toString().trim();
  rmSync(dir, { recursive: true, force: true });
  return { modulePx, text };
}

// What the page saves into folder while action runs, resolved once the file is whole. The session
// stays with the page: detached, it takes the browser's own with it.
export async function saved(page, folder, action) {
  const cdp = await page.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder, eventsEnabled: true });
  const whole = new Promise((resolve, reject) => {
    cdp.on('Browser.downloadProgress', (e) => {
      if (e.state === 'completed') resolve();
      if (e.state === 'canceled') reject(new Error('the download was cancelled'));
    });
  });
  await action();
  await whole;
}

// A control of the window by its design name.
export const at = (name) => `[data-name="${name}"]`;

export async function click(page, name) {
  const selector = at(name);
  const kind = await page.$eval(selector, (el) => el.tagName);
  await page.click(kind === 'LABEL' ? `${selector} input` : selector);
}

export async function type(page, name, text) {
  const selector = await page.$eval(at(name), (el) => (el.tagName === 'INPUT' ? '' : ' input'));
  const input = `${at(name)}${selector}`;
  await page.$eval(input, (el) => {
    el.select();
  });
  if (text === '') {
    await page.keyboard.press('Backspace');
  } else {
    await page.keyboard.sendCharacter(text);
  }
}

export async function idle(page) {
  // Polled, not on animation frames: a page behind another (a class's tablets side by side) has none.
  await page.waitForFunction(() => window.kansu.idle(), { polling: 50 });
}

export async function state(page) {
  return page.evaluate(() => window.kansu.state());
}

// The digest of a picture box's canvas, as RGBA bytes.
export async function canvasDigest(page, name) {
  const { width, height, base64 } = await page.$eval(
    `${at(name)} canvas`,
    (canvas) => {
      const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      let binary = '';
      for (let i = 0; i < data.length; i += 0x8000)
        binary += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
      return { width: canvas.width, height: canvas.height, base64: btoa(binary) };
    },
  );
  return `${width}x${height}:${sha256(Buffer.from(base64, 'base64'))}`;
}

// Runs kansu-script with a script; returns what the user sees of each picture box, as its `png`
// writes them at scale 1, by name.
export function scriptPictures(lines, names = ['kokuban', 'gamen', 'hyo']) {
  const dir = mkdtempSync(join(tmpdir(), 'kansu-script-'));
  const script = [...lines, ...names.map((n) => `png ${n} ${join(dir, `${n}.png`)}`)].join('\n');
  const run = spawnSync(kansuScript, [], { input: `${script}\n` });
  if (run.status !== 0) throw new Error(`kansu-script: ${run.stderr}`);
  const pictures = {};
  for (const n of names) pictures[n] = readFileSync(join(dir, `${n}.png`));
  rmSync(dir, { recursive: true, force: true });
  return pictures;
}

// The digest of a PNG's pixels as RGBA bytes, decoded by the browser on a blank page of its own.
export async function pngDigest(browser, png) {
  const page = await browser.newPage();
  try {
    const { width, height, base64 } = await page.evaluate(
      async (png64) => {
        const image = new Image();
        image.src = `data:image/png;base64,${png64}`;
        await image.decode();
        const canvas = document.createElement('canvas');
        canvas.width = image.width;
        canvas.height = image.height;
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        const data = context.getImageData(0, 0, image.width, image.height).data;
        let binary = '';
        for (let i = 0; i < data.length; i += 0x8000)
          binary += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
        return { width: image.width, height: image.height, base64: btoa(binary) };
      },
      png.toString('base64'),
    );
    return `${width}x${height}:${sha256(Buffer.from(base64, 'base64'))}`;
  } finally {
    await page.close();
  }
}

export function sha256(buffer) {
  return createHash('sha256').update(buffer).digest('hex');
}

export { spawn };
