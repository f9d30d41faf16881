// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps every file of the page, so that the game starts and plays offline
// once loaded. The cache is named by the build: a new build replaces the
// files of the old one when its worker takes over.
'use strict';

const cache = 'drift-harbour-@BUILD@';
const files = [@FILES@];

self.addEventListener('install', event => {
    event.waitUntil(caches.open(cache).then(kept => kept.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
    event.waitUntil(caches.keys()
        .then(names => Promise.all(names.filter(name => name.startsWith('drift-harbour-') && name !== cache)
            .map(name => caches.delete(name))))
        .then(() => self.clients.claim()));
});

// The page's own files from the cache; anything else from the network.
self.addEventListener('fetch', event => {
    if (event.request.method !== 'GET')
        return;
    event.respondWith(caches.open(cache)
        .then(kept => kept.match(event.request, {ignoreSearch: true}))
        .then(kept => kept || fetch(event.request)));
});
