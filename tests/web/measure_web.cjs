// measure_web.cjs: figures of the browser build, printed, never checked: the download's sizes,
// the time from page load to the first frame in headless Chromium, the time to the main menu on a
// first visit (over the loopback and over a slower link) and offline from the service worker's
// cache, the cache's size, the time of a match frame on the SIMD and on the scalar wasm against
// the native headless driver on the same machine, and as a phone would see them: with the CPU
// slowed 4 and 6 times on a phone's viewport, the frames of a rally and the frames from a tap to
// its effect.
// Usage: node tests/web/measure_web.cjs [--frames-only] (after make web and make build).
'use strict';

const childProcess = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const harness = require('./browser_harness.cjs');

const kLoads = 5;
const kFrames = 600;
// Into a match and a first serve, as the browser test goes.
const kIntoMatch = [[120, 160], [180, 147], [214, 306], [214, 306], [214, 306]];

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

function printSizes() {
  let total = 0, compressed = 0;
  for (const name of ['drovana.wasm', 'drovana.js', 'drovana-scalar.wasm', 'drovana-scalar.js',
                      'drovana.data', 'drovana.html', 'service-worker.js']) {
    const bytes = fs.readFileSync(path.join(harness.webBuild, name));
    const gz = zlib.gzipSync(bytes, { level: 9 }).length;
    total += bytes.length;
    compressed += gz;
    console.log(`${name.padEnd(20)} ${(bytes.length / 1024).toFixed(1).padStart(8)} KB` +
                `  (gzip ${(gz / 1024).toFixed(1)} KB)`);
  }
  console.log(`${'in all'.padEnd(20)} ${(total / 1024).toFixed(1).padStart(8)} KB` +
              `  (gzip ${(compressed / 1024).toFixed(1)} KB)`);
}

// Real clock and real animation frames: navigation start to the first frame on the canvas.
async function timeFirstFrames(browser, url) {
  const times = [];
  for (let i = 0; i < kLoads; ++i) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({ width: 480, height: 640 });
    await page.goto(url);
    await page.waitForFunction(() => Module.drovanaFirstFrameTime !== undefined,
                               { timeout: 30000 });
    times.push(await page.evaluate(() => Module.drovanaFirstFrameTime));
    await context.close();
  }
  return times;
}

// A link slower than the loopback: 20 Mbit/s down, 5 up, 40 ms each way.
const kSlowLink = { offline: false, download: 20e6 / 8, upload: 5e6 / 8, latency: 40 };

// Navigation start to the main menu: the first frame (the logo), a click, and two frames more
// (the game reads the click in the next frame and draws the menu in it).
async function timeToMainMenu(page, load) {
  await load();
  await page.waitForFunction(() => Module.drovanaFirstFrameTime !== undefined,
                             { timeout: 30000, polling: 10 });
  await page.mouse.click(240, 320);
  return page.evaluate(() => new Promise((resolve) => requestAnimationFrame(
      () => requestAnimationFrame(() => resolve(performance.now())))));
}

// The offline caches' bytes as the page reads them.
function cachedBytes(page) {
  return page.evaluate(async () => {
    let bytes = 0;
    for (const name of await caches.keys()) {
      const cache = await caches.open(name);
      for (const request of await cache.keys())
        bytes += (await (await cache.match(request)).arrayBuffer()).byteLength;
    }
    return bytes;
  });
}

// Each round a new profile: the first visit (served, or over the slow link), then, once the
// worker holds the release, a start with the server down and the browser offline.
async function timeStarts(browser, served) {
  const times = { first: [], slow: [], offline: [] };
  let cache = 0;
  for (let i = 0; i < kLoads; ++i) {
    const slowContext = await browser.createBrowserContext();
    const slow = await slowContext.newPage();
    await slow.emulateNetworkConditions(kSlowLink);
    times.slow.push(await timeToMainMenu(slow, () => slow.goto(served.url)));
    await slowContext.close();

    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({ width: 480, height: 640 });
    times.first.push(await timeToMainMenu(page, () => page.goto(served.url)));
    await page.evaluate(async () => { await navigator.serviceWorker.ready; });
    cache = await cachedBytes(page);
    served.down = true;
    await page.setOfflineMode(true);
    times.offline.push(await timeToMainMenu(page, () => page.reload()));
    served.down = false;
    await context.close();
  }
  return { times, cache };
}

const kScalar = '?scalar';

// A page on a desktop viewport, at the first serve of a match, the real clock kept for timing.
async function pageAtServe(browser, url) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 480, height: 640 });
  await page.evaluateOnNewDocument(() => {
    window.drovanaRealNow = performance.now.bind(performance);
  });
  await harness.openGamePage(page, url);
  for (const at of kIntoMatch) {
    await harness.tap(page, 2, 0, 0, at, false);
    await harness.runFrames(page, 30);
  }
  return { page, close: () => context.close() };
}

// Frames are timed in chunks: the page's clock is coarse beside a frame.
const kChunk = 25;
const kPasses = 4;

// The wasm side by side in one run: a page of each plays the same match in step, kChunk frames
// on each in turn (the order turning every round), so that the machine's load falls on all
// alike; each pass opens them afresh. The median of each one's chunks, per frame.
async function interleavedFrameMs(browser, variants) {
  const chunks = variants.map(() => []);
  for (let pass = 0; pass < kPasses; ++pass) {
    const pages = [];
    for (const variant of variants)
      pages.push(await pageAtServe(browser, variant.url));
    for (let round = 0; round < kFrames / kChunk; ++round)
      for (let k = 0; k < pages.length; ++k) {
        const i = (round + k) % pages.length;
        chunks[i].push(await pages[i].page.evaluate((n, step) => {
          const start = drovanaRealNow();
          drovanaRunFrames(n, step);
          return (drovanaRealNow() - start) / n;
        }, kChunk, harness.kFrameMs));
      }
    for (const { close } of pages)
      await close();
  }
  return chunks.map((times) => ({ p10: percentile(times, 0.1), median: median(times),
                                   p90: percentile(times, 0.9) }));
}

// What is compared: the SIMD wasm on its eight-lane and on its four-lane paths, the scalar wasm,
// and, given DROVANA_WEB_BASELINE (another web build's folder, served beside this one), that
// build's scalar wasm.
async function frameVariants(served) {
  const variants = [{ name: 'SIMD', url: served.url },
                    { name: 'SIMD, four lanes', url: served.url + '?four-lanes' },
                    { name: 'scalar', url: served.url + kScalar }];
  const baseline = process.env.DROVANA_WEB_BASELINE;
  if (baseline) {
    const other = await harness.serveWebBuild();
    other.folder = baseline;
    variants.push({ name: 'baseline scalar', url: other.url + kScalar, server: other.server },
                  { name: 'baseline SIMD', url: other.url, server: other.server });
  }
  return variants;
}

// --- Where a frame's time goes: Chromium's sampling profiler over the frames (the functions'
// names need the wasm linked with --profiling-funcs: DROVANA_WEB_PROFILING=ON).

async function profileFrames(browser, url) {
  const { page, close } = await pageAtServe(browser, url);
  const session = await page.createCDPSession();
  await session.send('Profiler.enable');
  await session.send('Profiler.setSamplingInterval', { interval: 25 });
  await session.send('Profiler.start');
  for (let i = 0; i < kPasses; ++i)
    await harness.runFrames(page, kFrames);
  const { profile } = await session.send('Profiler.stop');
  await close();
  const nodes = new Map(profile.nodes.map((node) => [node.id, node]));
  const parent = new Map();
  for (const node of profile.nodes)
    for (const child of node.children || [])
      parent.set(child, node.id);
  const name = (node) => node.callFrame.functionName || '(anonymous)';
  const self = new Map(), total = new Map();
  let frameSamples = 0;
  for (const id of profile.samples) {
    const seen = new Set();
    for (let at = id; at !== undefined; at = parent.get(at))
      seen.add(name(nodes.get(at)));
    if (![...seen].some((fn) => fn.includes('drovanaRunFrames')))
      continue;
    ++frameSamples;
    const own = name(nodes.get(id));
    self.set(own, (self.get(own) || 0) + 1);
    for (const each of seen)
      total.set(each, (total.get(each) || 0) + 1);
  }
  return { self, total, frameSamples };
}

function printProfile(title, { self, total, frameSamples }) {
  const share = (n) => `${(100 * n / frameSamples).toFixed(1).padStart(5)} %`;
  console.log(`${title}: ${frameSamples} samples in the frames; each function's own share,` +
              ' then with what it calls');
  for (const [fn, n] of [...self].sort((a, b) => b[1] - a[1]).slice(0, 30))
    console.log(`  ${share(n)} ${share(total.get(fn))}  ${fn}`);
}

// --- A phone: its viewport, touch, and the CPU slowed by DevTools' throttling.

const kPhone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
// The 240 x 320 screen fitted to the phone's width, between bars above and below.
const kPhoneScale = kPhone.width / 240;
const kPhoneTop = (kPhone.height - 320 * kPhoneScale) / 2;
// From the serve through the rally to the point's end, as the offline test plays it.
const kRally = [{ tap: [150, 60], frames: 90 }, { tap: [90, 70], frames: 120 },
                { frames: 400 }];
// A button of the main menu (the next screen's first), and a tap on the player's own half that
// sends them running there during the rally (a tap on the far half only aims the next stroke,
// which shows at the swing).
const kButton = [180, 147];
const kRun = [60, 250];
// Frames from the tap that serves until the server's swing has ended (about 170) and the player
// is free to run: a tap during the swing is kept and obeyed when it ends.
const kFreeToRun = 180;

function percentile(values, share) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * share))];
}

// A page on the phone, its clock driven by the check; the real clock kept for timing frames.
async function phonePage(browser, url, rate) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport(kPhone);
  await page.evaluateOnNewDocument(() => {
    window.drovanaRealNow = performance.now.bind(performance);
  });
  await harness.openGamePage(page, url);
  const session = await page.createCDPSession();
  await session.send('Emulation.setCPUThrottlingRate', { rate });
  return { page, close: () => context.close() };
}

const touch = (page, at) => harness.tap(page, kPhoneScale, 0, kPhoneTop, at, true);

// Each frame's real time (the game's update, drawing and the canvas's update) in ms.
function timeFrames(page, count) {
  return page.evaluate((n, step) => {
    const times = [];
    for (let i = 0; i < n; ++i) {
      const start = drovanaRealNow();
      drovanaRunFrames(1, step);
      times.push(drovanaRealNow() - start);
    }
    return times;
  }, count, harness.kFrameMs);
}

async function rallyFrames(browser, url, rate) {
  const { page, close } = await phonePage(browser, url, rate);
  for (const at of kIntoMatch) {
    await touch(page, at);
    await harness.runFrames(page, 30);
  }
  const times = [];
  for (const step of kRally) {
    if (step.tap)
      await touch(page, step.tap);
    times.push(...await timeFrames(page, step.frames));
  }
  await close();
  return times;
}

// Frames until a tap shows: the first frame after it (the one that reads it) is 1. Two pages play
// the same frames, one with the tap and one without, until their canvases differ; `before`
// brings both to the moment of the tap. `work` is the real time of the frame that shows it.
async function framesToEffect(browser, url, rate, before, at) {
  const tapped = await phonePage(browser, url, rate);
  const untouched = await phonePage(browser, url, rate);
  for (const { page } of [tapped, untouched])
    await before(page);
  await tapped.page.touchscreen.tap(kPhoneScale * (at[0] + 0.5),
                                    kPhoneTop + kPhoneScale * (at[1] + 0.5));
  let frames = 1;
  let work = 0;
  for (; frames <= 120; ++frames) {
    [work] = await timeFrames(tapped.page, 1);
    await harness.runFrames(untouched.page, 1);
    if (!(await harness.canvasRgb(tapped.page)).equals(await harness.canvasRgb(untouched.page)))
      break;
  }
  await tapped.close();
  await untouched.close();
  return { frames, work };
}

async function phoneFigures(browser, url, rate) {
  const times = await rallyFrames(browser, url, rate);
  const button = await framesToEffect(browser, url, rate, async (page) => {
    await touch(page, [120, 160]);
    await harness.runFrames(page, 12);
  }, kButton);
  const run = await framesToEffect(browser, url, rate, async (page) => {
    for (const at of kIntoMatch) {
      await touch(page, at);
      await harness.runFrames(page, 30);
    }
    await touch(page, kRally[0].tap);
    await harness.runFrames(page, kFreeToRun);
  }, kRun);
  return { median: median(times), p95: percentile(times, 0.95), max: Math.max(...times),
           button, run };
}

// At 60 Hz a tap waits for the next frame (up to one interval), the frame that shows it starts
// frames - 1 intervals after that one, and is drawn once its work is done.
function tapToShown(effect) {
  return `${effect.frames} frame${effect.frames > 1 ? 's' : ''}, ` +
         `${((effect.frames - 1) * harness.kFrameMs + effect.work).toFixed(1)}` +
         ` to ${(effect.frames * harness.kFrameMs + effect.work).toFixed(1)} ms`;
}

async function printPhoneFigures(browser, url) {
  console.log(`phone (${kPhone.width} x ${kPhone.height}, x${kPhone.deviceScaleFactor}, touch), ` +
              'frames from the serve to the point\'s end:');
  for (const rate of [1, 4, 6])
    for (const [wasm, suffix] of [['scalar', kScalar], ['simd', '']]) {
      const f = await phoneFigures(browser, url + suffix, rate);
      console.log(`  CPU /${rate} ${wasm.padEnd(6)}: median ${f.median.toFixed(2)} ms,` +
                  ` 95th percentile ${f.p95.toFixed(2)} ms, longest ${f.max.toFixed(2)} ms;` +
                  ` tap to pressed button ${tapToShown(f.button)};` +
                  ` tap to the player's run ${tapToShown(f.run)}`);
    }
}

function nativeFrameMs() {
  const into = kIntoMatch.map(([x, y]) => `tap ${x} ${y}\nframes 30\n`).join('');
  const run = (script) => {
    const home = harness.makeTempFolder('measure-home');
    const start = process.hrtime.bigint();
    harness.runDriver(script, home);
    const ms = Number(process.hrtime.bigint() - start) / 1e6;
    fs.rmSync(home, { recursive: true, force: true });
    return ms;
  };
  const times = [];
  for (let i = 0; i < 3; ++i)
    times.push((run(into + `frames ${kFrames}\n`) - run(into)) / kFrames);
  return median(times);
}

async function printFrames(browser, served) {
  const variants = await frameVariants(served);
  const web = await interleavedFrameMs(browser, variants);
  const native = nativeFrameMs();
  const scalar = web[variants.findIndex((v) => v.name === 'scalar')].median;
  console.log(`match frame, ${kPasses} x ${kFrames} frames interleaved in chunks of ${kChunk}` +
              ' (10th percentile, median and 90th percentile of the chunks):');
  variants.forEach((variant, i) =>
    console.log(`  ${variant.name.padEnd(16)} ${web[i].p10.toFixed(3)}, ${web[i].median.toFixed(3)},` +
                ` ${web[i].p90.toFixed(3)} ms (${(web[i].median / scalar).toFixed(2)} x the` +
                ` scalar's, ${(web[i].median / native).toFixed(2)} x the native driver's)`));
  console.log(`  native driver    ${native.toFixed(3)} ms`);
  for (const variant of variants)
    if (variant.server)
      variant.server.close();
  if (!process.argv.includes('--no-phone'))
    await printPhoneFigures(browser, served.url);
}

(async () => {
  const framesOnly = process.argv.includes('--frames-only');
  printSizes();
  const served = await harness.serveWebBuild();
  const profile = harness.makeTempFolder('chromium');
  const browser = await harness.launchBrowser(profile);
  try {
    if (process.argv.includes('--profile')) {
      printProfile('SIMD', await profileFrames(browser, served.url));
      printProfile('scalar', await profileFrames(browser, served.url + kScalar));
      return;
    }
    if (framesOnly) {
      await printFrames(browser, served);
      return;
    }
    const version = await browser.version();
    const loads = await timeFirstFrames(browser, served.url);
    console.log(`${version}: page load to first frame ${loads.map((t) => t.toFixed(0)).join(', ')}` +
                ` ms (median ${median(loads).toFixed(0)} ms)`);
    const starts = await timeStarts(browser, served);
    const show = (times) => `${times.map((t) => t.toFixed(0)).join(', ')} ms` +
                            ` (median ${median(times).toFixed(0)} ms)`;
    console.log(`to the main menu, first visit: ${show(starts.times.first)}`);
    console.log(`to the main menu, first visit over 20 Mbit/s and 40 ms: ` +
                `${show(starts.times.slow)}`);
    console.log(`to the main menu, offline from the cache: ${show(starts.times.offline)}`);
    console.log(`offline cache: ${(starts.cache / 1024).toFixed(1)} KB`);
    await printFrames(browser, served);
  } finally {
    await browser.close();
    served.server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
})();
