// Keeps the whole lesson on the device after the first visit, so it opens with the network off.
// The site's build writes its version and files in here.
const version = '__VERSION__';
const files = __FILES__;

// Fetched afresh from the server, not from the browser's HTTP cache: a new version must keep the
// new files, not the old ones the browser still holds.
self.addEventListener('install', (event) => {
  event.waitUntil(
    caches
      .open(version)
      .then((cache) => cache.addAll(files.map((file) => new Request(file, { cache: 'reload' }))))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((n) => n !== version).map((n) => caches.delete(n))))
      .then(() => self.clients.claim()),
  );
});

// The server's files while it answers, so an update shows at the next load; the kept ones when
// it does not. Asked of the server itself, never answered from the browser's HTTP cache, and
// handed to the page as not to be kept: a server without Cache-Control lets the browser keep an
// old file for days, in its HTTP cache and in the page's own. Nothing is ever asked of another
// origin.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== location.origin) return;
  event.respondWith(
    caches.open(version).then((cache) =>
      fetch(event.request, { cache: 'no-cache' })
        .then((response) => {
          if (response.ok) cache.put(event.request, response.clone());
          const headers = new Headers(response.headers);
          headers.set('Cache-Control', 'no-cache');
          return new Response(response.body, { status: response.status, statusText: response.statusText, headers });
        })
        .catch(() => cache.match(event.request, { ignoreSearch: true }).then((hit) => hit || Response.error())),
    ),
  );
});
