// offline_test.cjs: the page kept by its service worker in headless Chromium: once visited it is
// installable, starts with the network cut, keeps the options saved online and plays a point as
// the headless driver does; a new release served later is taken whole at the next start, never
// mixed with the old one, and the kept profiles stay.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const childProcess = require('node:child_process');
const crypto = require('node:crypto');
const fs = require('node:fs');
const path = require('node:path');
const harness = require('./browser_harness.cjs');

const kSourceDir = path.resolve(__dirname, '../..');
// What the worker keeps: everything the page needs to start and to be installed.
// Both wasm: a browser that gains SIMD while offline starts on the other.
const kReleaseFiles = ['drovana.html', 'drovana.js', 'drovana.wasm', 'drovana-scalar.js',
                       'drovana-scalar.wasm', 'drovana.data', 'manifest.webmanifest',
                       'drovana-192.png', 'drovana-512.png'];
const kWorker = 'service-worker.js';

// Two sets at Amateur, saved by Main: taps as in the browser test of kept options.
const kChangeOptions = [[120, 160], [114, 261], [146, 128], [181, 189], [120, 306]];
// Offline: the options as kept, back to the menu, into a match, and on until the first point
// has been won.
const kOfflineSteps = [
  { name: 'logo', frames: 0 },
  { name: 'main-menu', tap: [120, 160], frames: 12 },
  { name: 'options', tap: [114, 261], frames: 0 },
  { name: 'menu-again', tap: [120, 306], frames: 12 },
  { name: 'player-1', tap: [180, 147], frames: 30 },
  { name: 'player-2', tap: [214, 306], frames: 30 },
  { name: 'stadium', tap: [214, 306], frames: 20 },
  { name: 'match', tap: [214, 306], frames: 100 },
  { name: 'serve', tap: [150, 60], frames: 90 },
  { name: 'rally', tap: [90, 70], frames: 120 },
  { name: 'point-won', frames: 400 },
];

function sha256(bytes) {
  return crypto.createHash('sha256').update(bytes).digest('hex');
}

// The cache a build's worker fills, as { name: { file: sha256 } }.
function releaseCache(folder) {
  const worker = fs.readFileSync(path.join(folder, kWorker), 'utf8');
  const release = /const kRelease = '([0-9a-f]{16})';/.exec(worker)[1];
  const files = {};
  for (const name of kReleaseFiles)
    files[name] = sha256(fs.readFileSync(path.join(folder, name)));
  return { ['drovana-' + release]: files };
}

// Every cache of the page's origin, in the same form.
function cachesInPage(page) {
  return page.evaluate(async () => {
    const hex = (buffer) =>
      Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');
    const found = {};
    for (const name of await caches.keys()) {
      const cache = await caches.open(name);
      found[name] = {};
      for (const request of await cache.keys()) {
        const bytes = await (await cache.match(request)).arrayBuffer();
        found[name][new URL(request.url).pathname.slice(1)] =
            hex(await crypto.subtle.digest('SHA-256', bytes));
      }
    }
    return found;
  });
}

// The worker is active once its install has filled the cache.
async function waitForActiveWorker(page) {
  await page.evaluate(async () => { await navigator.serviceWorker.ready; });
}

// The browser looks for a new worker on a navigation as well as when asked, and may install the
// same new release twice, the second time after the first is already waiting: wait until no
// install is under way and the host has been asked for nothing for a second, so that what comes
// after is the page's own doing.
async function waitForSettledInstalls(page, served) {
  for (let quiet = 0; quiet < 4;) {
    const asked = served.requests.length;
    await new Promise((resolve) => setTimeout(resolve, 250));
    const installing = await page.evaluate(
        async () => !!(await navigator.serviceWorker.getRegistration()).installing);
    quiet = !installing && served.requests.length === asked ? quiet + 1 : 0;
  }
}

// The game's own folder sync has written everything it was asked to.
async function waitForSavedProfiles(page, writesBefore) {
  await page.waitForFunction(
      (before) => Module.drovanaStorage.writes > before && !Module.drovanaStorage.busy,
      { polling: 20 }, writesBefore);
}

function writeWorker(folder) {
  const result = childProcess.spawnSync('cmake', [
    `-DWEB_DIR=${folder}`, `-DTEMPLATE=${path.join(kSourceDir, 'web', kWorker)}`,
    `-DFILES=${kReleaseFiles.join(',')}`, '-P', path.join(kSourceDir, 'cmake/web_worker.cmake'),
  ], { encoding: 'utf8' });
  assert.strictEqual(result.status, 0, result.stderr);
}

// wasm's custom section (id 0) is ignored by the engine: the module runs as before.
function wasmCustomSection(name, payload) {
  const body = Buffer.concat([Buffer.from([name.length]), Buffer.from(name), payload]);
  assert.ok(body.length < 128);
  return Buffer.concat([Buffer.from([0, body.length]), body]);
}

// The same game as the next release: every file changed in a way the page can see or that
// changes nothing it does (bytes past data.pak's end, past the icons' end chunk).
function makeNextRelease(folder) {
  for (const name of kReleaseFiles.concat(kWorker))
    fs.copyFileSync(path.join(harness.webBuild, name), path.join(folder, name));
  writeWorker(folder);
  assert.ok(fs.readFileSync(path.join(folder, kWorker)).equals(
                fs.readFileSync(path.join(harness.webBuild, kWorker))),
            'the same files give the same worker');
  const edit = (name, change) =>
    fs.writeFileSync(path.join(folder, name), change(fs.readFileSync(path.join(folder, name))));
  edit('drovana.html', (bytes) => Buffer.from(
      bytes.toString('utf8').replace('<title>Drovana</title>', '<title>Drovana next</title>')));
  for (const wasm of ['drovana', 'drovana-scalar']) {
    edit(`${wasm}.js`,
         (bytes) => Buffer.concat([bytes, Buffer.from('\nModule.nextRelease = 1;\n')]));
    edit(`${wasm}.wasm`,
         (bytes) => Buffer.concat([bytes, wasmCustomSection('next', Buffer.alloc(8))]));
  }
  edit('drovana.data', (bytes) => Buffer.concat([bytes, Buffer.alloc(16)]));
  edit('manifest.webmanifest', (bytes) => Buffer.from(bytes.toString('utf8').replace(
      '"description": "', '"description": "Next: ')));
  for (const icon of ['drovana-192.png', 'drovana-512.png'])
    edit(icon, (bytes) => Buffer.concat([bytes, Buffer.alloc(4)]));
  writeWorker(folder);
}

// Which release's page and script the running game came from.
function runningRelease(page) {
  return page.evaluate(() => ({ title: document.title, next: Module.nextRelease === 1 }));
}

const shared = harness.browserSession(test);

test('once visited, the page is installable and plays a point with the network cut', async () => {
  const shots = harness.makeTempFolder('driver-shots');
  const home = harness.makeTempFolder('driver-home');
  shared.folders.push(shots, home);
  const change = kChangeOptions.map(([x, y]) => `tap ${x} ${y}\n`).join('');
  harness.runDriver(change + 'key a\n', home);
  const report = harness.runDriver(harness.driverScript(kOfflineSteps, shots) + 'state\n', home);
  const match = JSON.parse(report.trim().split('\n').pop()).match;
  assert.notDeepStrictEqual(match.points, [0, 0], 'the driver finished the point');

  // The browser's own profile: a page in a context of its own is never installable.
  const page = await shared.browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.setViewport({ width: 480, height: 640 });
  await harness.openGamePage(page, shared.served.url);
  const click = (at) => harness.tap(page, 2, 0, 0, at, false);
  const writes = await page.evaluate(() => Module.drovanaStorage.writes);
  for (const at of kChangeOptions)
    await click(at);
  await waitForSavedProfiles(page, writes);
  await waitForActiveWorker(page);
  assert.deepStrictEqual(await cachesInPage(page), releaseCache(harness.webBuild));
  const session = await page.createCDPSession();
  const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
  assert.deepStrictEqual(installabilityErrors, []);

  shared.served.down = true;
  await page.setOfflineMode(true);
  try {
    await page.reload();
    await harness.startGame(page);
    for (const step of kOfflineSteps) {
      if (step.tap)
        await click(step.tap);
      await harness.runFrames(page, step.frames);
      harness.expectSamePicture(`offline-${step.name}`, await harness.canvasRgb(page),
                                path.join(shots, step.name + '.png'));
    }
    // The scalar wasm starts from the cache too.
    await page.goto(shared.served.url + '?scalar');
    await harness.startGame(page);
    assert.strictEqual(await page.evaluate(() => document.body.dataset.wasm), 'scalar');
    harness.expectSamePicture('offline-scalar-logo', await harness.canvasRgb(page),
                              path.join(shots, 'logo.png'));
  } finally {
    shared.served.down = false;
    await page.setOfflineMode(false);
  }
  assert.deepStrictEqual(errors, []);
  await page.close();
});

test('a new release is taken whole at the next start, and the kept profiles stay', async () => {
  const next = harness.makeTempFolder('next-release');
  shared.folders.push(next);
  makeNextRelease(next);
  const first = releaseCache(harness.webBuild);
  const second = releaseCache(next);
  assert.notDeepStrictEqual(Object.keys(second), Object.keys(first));

  const page = await (await shared.browser.createBrowserContext()).newPage();
  await page.setViewport({ width: 480, height: 640 });
  shared.served.folder = harness.webBuild;
  await harness.openGamePage(page, shared.served.url);
  await waitForActiveWorker(page);
  // A file of the player's own, kept as the game keeps its profiles.
  await page.evaluate(() => new Promise((resolve, reject) => {
    FS.writeFile('/drovana/kept.txt', 'kept');
    FS.syncfs(false, (error) => (error ? reject(error) : resolve()));
  }));

  // The host now serves the next release. The page in use finds it and the worker fills its
  // cache beside the old one, while this start runs the old release whole.
  shared.served.folder = next;
  await page.reload();
  await harness.startGame(page);
  await page.evaluate(
      async () => { await (await navigator.serviceWorker.getRegistration()).update(); });
  await page.waitForFunction(
      async () => !!(await navigator.serviceWorker.getRegistration()).waiting, { polling: 50 });
  assert.deepStrictEqual(await runningRelease(page), { title: 'Drovana', next: false });
  await waitForSettledInstalls(page, shared.served);
  assert.deepStrictEqual(await cachesInPage(page), { ...first, ...second });

  // The next start: the new release takes over before the game loads, the page starts again on
  // it, and nothing of it comes from the network.
  shared.served.requests = [];
  await page.reload();
  await harness.startGame(page);
  assert.deepStrictEqual(await runningRelease(page), { title: 'Drovana next', next: true });
  assert.deepStrictEqual(await cachesInPage(page), second);
  assert.deepStrictEqual(shared.served.requests.filter((name) => name !== kWorker), []);
  const kept = await page.evaluate(() => FS.readFile('/drovana/kept.txt', { encoding: 'utf8' }));
  assert.strictEqual(kept, 'kept');
  await page.close();
});
