// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the page for play without a network. The build writes the version (a hash
// of every file's content) and the list of files in; a new build is a new sw.js,
// which the browser finds on the next visit: it fetches the new files afresh,
// takes over, and the visit after that plays the new build.
const VERSION = '@VERSION@';
const FILES = [@FILES@];
const CACHE = `grimspire-${VERSION}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(['./', ...FILES].map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('grimspire-') && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE).then(async (cache) => {
    const kept = await cache.match(event.request, { ignoreSearch: true })
      ?? (event.request.mode === 'navigate' ? await cache.match('./') : undefined);
    return kept ?? fetch(event.request);
  }));
});
