// Keeps the whole lesson on the device after the first visit, so it opens with the network off.
// The site's build writes its version and files in here.
const version = '__VERSION__';
const files = __FILES__;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(version).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((n) => n !== version).map((n) => caches.delete(n))))
      .then(() => self.clients.claim()),
  );
});

// The lesson's own files from the cache first; nothing else is ever asked for.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(
    caches.open(version).then((cache) =>
      cache.match(event.request, { ignoreSearch: true }).then((hit) => hit || fetch(event.request)),
    ),
  );
});
