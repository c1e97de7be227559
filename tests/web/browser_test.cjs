// browser_test.cjs: the browser build in headless Chromium: taps from the logo into a match and
// a serve, each step's canvas compared pixel for pixel with the headless driver's picture of the
// same step, on the SIMD wasm and on the scalar one, with the sounds started in the page's audio; then options changed by touch on a
// phone-sized page survive a reload, and a drill played in the page is kept as a replay that the
// desktop's driver plays again exactly.
// Pictures of a failing step are kept in DROVANA_WEB_KEEP when it names a folder.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const harness = require('./browser_harness.cjs');

// Taps at the centres of the real buttons, as tests/e2e/walk_screens.script has them, each
// followed by frames of 1/60 s; the match steps run long enough for figures and ball to move.
const kSteps = [
  { name: 'logo', frames: 0 },
  { name: 'main-menu', tap: [120, 160], frames: 12 },
  { name: 'player-1', tap: [180, 147], frames: 30 },
  { name: 'player-2', tap: [214, 306], frames: 30 },
  { name: 'stadium', tap: [214, 306], frames: 20 },
  { name: 'match', tap: [214, 306], frames: 100 },
  { name: 'serve', tap: [150, 60], frames: 90 },
  { name: 'rally', tap: [90, 70], frames: 120 },
  // The canvas's context lost and given back blank: the page puts the whole picture again, not
  // only the rows the next frame changes.
  { name: 'canvas-restored', frames: 1, loseCanvas: true },
];

const shared = harness.browserSession(test);

// The driver's pictures, made once for both wasm.
let driverShots;
function stepShots() {
  if (!driverShots) {
    driverShots = harness.makeTempFolder('driver-shots');
    const home = harness.makeTempFolder('driver-home');
    shared.folders.push(driverShots, home);
    harness.runDriver(harness.driverScript(kSteps, driverShots), home);
  }
  return driverShots;
}

// Chromium runs the SIMD wasm; ?scalar gives the page the one for browsers without SIMD.
for (const wasm of ['simd', 'scalar'])
test(`from the logo into a match, every step as the headless driver draws it (${wasm} wasm)`,
     async () => {
  const shots = stepShots();
  // Each check in a context of its own: its own storage, nothing kept from another.
  const page = await (await shared.browser.createBrowserContext()).newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  // 480 x 640: each screen pixel a 2 x 2 block, no bars.
  await page.setViewport({ width: 480, height: 640 });
  await harness.openGamePage(page, shared.served.url + (wasm === 'scalar' ? '?scalar' : ''));
  assert.strictEqual(await page.evaluate(() => document.body.dataset.wasm), wasm);
  for (const step of kSteps) {
    if (step.tap)
      await harness.tap(page, 2, 0, 0, step.tap, false);
    if (step.loseCanvas)
      await page.evaluate(() => {
        const canvas = document.getElementById('canvas');
        canvas.getContext('2d').clearRect(0, 0, canvas.width, canvas.height);
        canvas.dispatchEvent(new Event('contextrestored'));
      });
    await harness.runFrames(page, step.frames);
    harness.expectSamePicture(`${wasm}-${step.name}`, await harness.canvasRgb(page),
                              path.join(shots, step.name + '.png'));
  }
  assert.deepStrictEqual(errors, []);
  // The first click unlocked the page's audio, and the buttons' clicks and the match's sounds
  // were started in it.
  const audio = await page.evaluate(
      () => ({ state: Module.drovanaAudio.context.state, started: Module.drovanaAudio.started }));
  assert.strictEqual(audio.state, 'running');
  assert.ok(audio.started >= 4, `${audio.started} sounds started`);
  await page.close();
});

test('options changed by touch are kept in the browser across a reload', async () => {
  // The driver: the same changes, then a restart on the same players.dat.
  const shots = harness.makeTempFolder('driver-shots');
  const home = harness.makeTempFolder('driver-home');
  shared.folders.push(shots, home);
  const options = path.join(shots, 'options.png');
  const defaults = path.join(shots, 'defaults.png');
  harness.runDriver(`tap 120 160\ntap 114 261\nshot ${defaults}\n` +
                    'tap 146 128\ntap 181 189\ntap 120 306\nkey a\n', home);
  harness.runDriver(`tap 120 160\ntap 114 261\nshot ${options}\n`, home);

  // A phone in portrait: 360 x 640 shows the screen at 1.5 times between bars 80 pixels high.
  const page = await (await shared.browser.createBrowserContext()).newPage();
  await page.setViewport({ width: 360, height: 640, hasTouch: true, isMobile: true });
  await harness.openGamePage(page, shared.served.url);
  const touch = (at) => harness.tap(page, 1.5, 0, 80, at, true);
  await touch([120, 160]);
  await touch([114, 261]);
  harness.expectSamePicture('options-before', await harness.canvasRgb(page), defaults);
  const writes = await page.evaluate(() => Module.drovanaStorage.writes);
  await touch([146, 128]); // two sets
  await touch([181, 189]); // Amateur
  await touch([120, 306]); // Main saves
  // Every copy asked for has finished once none is running. Polled on a timer: the page's
  // animation frames run only when the check asks for them.
  await page.waitForFunction(
      (before) => Module.drovanaStorage.writes > before && !Module.drovanaStorage.busy,
      { polling: 10 }, writes);

  await page.reload();
  await harness.startGame(page);
  await touch([120, 160]);
  await touch([114, 261]);
  harness.expectSamePicture('options-after-reload', await harness.canvasRgb(page), options);
  await page.close();
});

test('a drill played in the page is kept in the browser and plays again exactly on the desktop',
     async () => {
  const page = await (await shared.browser.createBrowserContext()).newPage();
  await page.setViewport({ width: 480, height: 640 });
  await harness.openGamePage(page, shared.served.url);
  const click = (at) => harness.tap(page, 2, 0, 0, at, false);
  await click([120, 160]);
  await click([108, 189]); // Practice
  await click([214, 306]); // Next: the serve drill
  await harness.runFrames(page, 120);
  await click([150, 60]);
  await harness.runFrames(page, 90);
  await click([90, 70]);
  await harness.runFrames(page, 120);
  const writes = await page.evaluate(() => Module.drovanaStorage.writes);
  await click([234, 5]); // the close button: the replay is written and kept
  await page.waitForFunction(
      (before) => Module.drovanaStorage.writes > before && !Module.drovanaStorage.busy,
      { polling: 10 }, writes);

  await page.reload();
  await harness.startGame(page);
  const kept = await page.evaluate(() => {
    const names = FS.readdir('/drovana/replays').filter((name) => name.endsWith('.replay'));
    return names.map((name) => ({
      name, bytes: Array.from(FS.readFile('/drovana/replays/' + name)) }));
  });
  assert.strictEqual(kept.length, 1);
  assert.match(kept[0].name, /^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_.+_v_.+\.replay$/);
  const folder = harness.makeTempFolder('replay');
  shared.folders.push(folder);
  const file = path.join(folder, kept[0].name);
  fs.writeFileSync(file, Buffer.from(kept[0].bytes));
  const report = JSON.parse(harness.runDriver(`replay ${file}\n`, folder).split('\n')[0]);
  assert.strictEqual(report.replay.exact, true, JSON.stringify(report.replay));
  assert.strictEqual(report.replay.end, 'Closed');
  await page.close();
});
