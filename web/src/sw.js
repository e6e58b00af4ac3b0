// The service worker: after one visit the page works with no network.
// The build (tools/build-site.mjs) writes the list of this version's files
// in place of PRECACHE and a digest of them in place of VERSION. Installing
// caches the whole list before this version takes over, so an offline visit
// always gets one consistent version; the old version's cache goes when the
// new one is active. The atlas and the pictures, which only some visits
// need, are cached when first used. Every file but the page itself has a
// hashed name, so a cached copy is never stale.
/* global VERSION, PRECACHE */
const Cache = `toravel-${VERSION}`;
const Files = PRECACHE;

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(Cache).then((cache) => cache.addAll(Files)));
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys()) {
            if (name.startsWith('toravel-') && name !== Cache)
                await caches.delete(name);
        }
        await self.clients.claim();
    })());
});

// The page names the files it has used that only some visits need (the
// atlas, a picture): on a first visit they were fetched before this worker
// controlled the page, so they are cached here.
self.addEventListener('message', (event) => {
    const files = Array.isArray(event.data?.cache) ? event.data.cache : [];
    event.waitUntil(caches.open(Cache).then(async (cache) => {
        for (const file of files) {
            const url = new URL(file, self.location.href);
            if (url.origin === self.location.origin && !(await cache.match(url)))
                await cache.add(url).catch(() => {});
        }
    }));
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    const url = new URL(request.url);
    if (request.method !== 'GET' || url.origin !== self.location.origin)
        return;
    if (request.mode === 'navigate') {
        // The page of this version whatever the link's parameters.
        event.respondWith(caches.open(Cache).then(async (cache) =>
            (await cache.match('./', { ignoreSearch: true })) ?? fetch(request)));
        return;
    }
    event.respondWith(caches.open(Cache).then(async (cache) => {
        const cached = await cache.match(request, { ignoreSearch: true });
        if (cached)
            return cached;
        const response = await fetch(request);
        if (response.ok)
            await cache.put(request, response.clone());
        return response;
    }));
});
