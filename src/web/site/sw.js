// Keeps the lesson on the device as one versioned set of files, so that a class of forty tablets
// asks the school's network for almost nothing: a visit is answered from the set at once, and
// only the small version file is asked of the server (never of the browser's HTTP cache). When it
// names a new version, the new set is fetched in the background, whole, and the next visit uses
// it; a set is never mixed from two versions. With no network the kept set serves as it is.
const prefix = 'kansu-set-';
const meta = 'kansu-meta';
const stateKey = new URL('kansu-state', self.registration.scope).href;

// The set each open page started with, so that what it loads later (a panel's code) is of its
// own version even once a newer one has taken over.
const setOfPage = new Map();

async function readState() {
  const hit = await (await caches.open(meta)).match(stateKey);
  try {
    const state = hit ? await hit.json() : {};
    return { current: state.current ?? null, next: state.next ?? null };
  } catch {
    return { current: null, next: null };
  }
}

async function writeState(state) {
  await (await caches.open(meta)).put(stateKey, new Response(JSON.stringify(state), {
    headers: { 'Content-Type': 'application/json' },
  }));
}

// The version file as the server has it now: { version, files }, or null when it does not answer
// or answers with anything else.
async function latest() {
  try {
    const response = await fetch(new URL('version.json', self.registration.scope), { cache: 'no-store' });
    if (!response.ok) return null;
    const info = await response.json();
    const name = /^(\.\/|[A-Za-z0-9][A-Za-z0-9._-]*)$/;
    if (typeof info !== 'object' || info === null || typeof info.version !== 'string' ||
        !/^[0-9a-f]{8,64}$/.test(info.version) || !Array.isArray(info.files) || info.files.length === 0 ||
        info.files.length > 200 || !info.files.every((f) => typeof f === 'string' && name.test(f))) {
      return null;
    }
    return info;
  } catch {
    return null;
  }
}

// Fetches a whole set into a cache of its own; a set that does not come whole is thrown away.
async function fetchSet(info) {
  const name = prefix + info.version;
  const cache = await caches.open(name);
  try {
    await Promise.all(info.files.map(async (file) => {
      const request = new Request(new URL(file, self.registration.scope), { cache: 'no-store' });
      const response = await fetch(request);
      if (!response.ok) throw new Error(`${file}: ${response.status}`);
      // Kept as not to be kept by the page itself, which would otherwise hand an earlier visit's
      // copy to the next one without asking.
      const headers = new Headers(response.headers);
      headers.set('Cache-Control', 'no-cache');
      await cache.put(request, new Response(await response.blob(), { status: response.status, headers }));
    }));
    return true;
  } catch {
    await caches.delete(name);
    return false;
  }
}

// A newer version than those kept, if the server names one: fetched whole for the next visit.
async function lookForNewVersion() {
  const info = await latest();
  if (!info) return;
  const state = await readState();
  if (info.version === state.current || info.version === state.next) return;
  if (await fetchSet(info)) await writeState({ ...(await readState()), next: info.version });
}

// The first visit keeps the set it came with; without it the worker does not start, and the next
// visit tries again.
self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const state = await readState();
    if (!state.current) {
      const info = await latest();
      if (!info || !(await fetchSet(info))) throw new Error('the lesson could not be kept');
      await writeState({ current: info.version, next: null });
    }
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

// A new visit takes up a set fetched since the last one; sets no page uses any more go.
async function visit() {
  const state = await readState();
  if (state.next) {
    await writeState({ current: state.next, next: null });
    state.current = state.next;
  }
  const inUse = new Set([state.current, ...setOfPage.values()]);
  for (const name of await caches.keys()) {
    if (name.startsWith(prefix) && !inUse.has(name.slice(prefix.length))) await caches.delete(name);
  }
  return state.current;
}

async function answer(event) {
  const request = event.request;
  let version;
  if (request.mode === 'navigate') {
    version = await visit();
    if (event.resultingClientId) setOfPage.set(event.resultingClientId, version);
    event.waitUntil(lookForNewVersion());
  } else {
    version = setOfPage.get(event.clientId) ?? (await readState()).current;
  }
  if (version) {
    const cache = await caches.open(prefix + version);
    const kept = await cache.match(request, { ignoreSearch: true });
    if (kept) return kept;
  }
  // Not in the set: asked of the server itself, and handed to the page as not to be kept.
  const response = await fetch(request, { cache: 'no-store' });
  const headers = new Headers(response.headers);
  headers.set('Cache-Control', 'no-cache');
  return new Response(response.body, { status: response.status, statusText: response.statusText, headers });
}

// Nothing is ever asked of another origin; the version file always goes to the server as asked.
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== location.origin || url.pathname.endsWith('/version.json')) return;
  event.respondWith(answer(event));
});
