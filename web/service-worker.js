// service-worker.js: the game kept in the browser so that it starts and plays with no network.
// One cache per release, named by a hash of the release's files and filled whole before the
// release may take over; the page, the script, the wasm, the data and what installing needs all
// come from that cache alone, so a page never runs one release's file beside another's.
// The build writes the release and the files' hashes in (cmake/web_worker.cmake).
'use strict';

const kCachePrefix = 'drovana-';
const kRelease = '@DROVANA_RELEASE@';
const kCacheName = kCachePrefix + kRelease;
// Each file as the build made it, with its SHA-256 in hex.
const kFiles = [
@DROVANA_FILES@
];
// The page's word to a release that has been filled and is waiting for the old one to go.
const kTakeOver = 'drovana-take-over';

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');
}

// A host may already serve the next release while this one installs: a file whose bytes are not
// the ones this worker was built with fails the install, and the release in use stays whole.
async function fetchExactly(file) {
  const response = await fetch(file.name, { cache: 'no-cache' });
  if (!response.ok)
    throw new Error(`${file.name}: ${response.status}`);
  const bytes = await response.clone().arrayBuffer();
  const sha256 = hex(await crypto.subtle.digest('SHA-256', bytes));
  if (sha256 !== file.sha256)
    throw new Error(`${file.name} is not the file of release ${kRelease}`);
  return response;
}

async function fillCache() {
  // Everything is fetched and checked before anything is stored: a failed install leaves no
  // partial cache behind.
  const responses = await Promise.all(kFiles.map(fetchExactly));
  const cache = await caches.open(kCacheName);
  await Promise.all(kFiles.map((file, i) => cache.put(file.name, responses[i])));
}

self.addEventListener('install', (event) => event.waitUntil(fillCache()));

// The old releases' caches go when this one takes over; the kept profiles are in IndexedDB and
// stay.
self.addEventListener('activate', (event) => event.waitUntil((async () => {
  for (const name of await caches.keys())
    if (name.startsWith(kCachePrefix) && name !== kCacheName)
      await caches.delete(name);
})()));

// A waiting release takes over when a page about to start asks for it (web/shell.html), never
// under a page that is playing.
self.addEventListener('message', (event) => {
  if (event.data === kTakeOver)
    self.skipWaiting();
});

// The release's file that a request names, or null for anything else.
function releaseFile(request) {
  if (request.method !== 'GET')
    return null;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname))
    return null;
  const name = url.pathname.slice(scope.pathname.length);
  return kFiles.find((file) => file.name === name) || null;
}

self.addEventListener('fetch', (event) => {
  const file = releaseFile(event.request);
  if (!file)
    return;
  // Only this release's cache is asked: another release's copy of the file is never an answer.
  // Should the browser have dropped the cache, the network still serves.
  event.respondWith((async () => {
    const cache = await caches.open(kCacheName);
    return (await cache.match(file.name)) || fetch(event.request);
  })());
});
