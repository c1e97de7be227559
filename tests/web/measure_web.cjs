// measure_web.cjs: figures of the browser build, printed, never checked: the download's sizes,
// the time from page load to the first frame in headless Chromium, the time to the main menu on a
// first visit (over the loopback and over a slower link) and offline from the service worker's
// cache, the cache's size, and the time of a match frame in the browser against the native
// headless driver on the same machine.
// Usage: node tests/web/measure_web.cjs (after make web and make build).
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
  for (const name of ['drovana.wasm', 'drovana.js', 'drovana.data', 'drovana.html',
                      'service-worker.js']) {
    const bytes = fs.readFileSync(path.join(harness.webBuild, name));
    const gz = zlib.gzipSync(bytes, { level: 9 }).length;
    total += bytes.length;
    compressed += gz;
    console.log(`${name.padEnd(18)} ${(bytes.length / 1024).toFixed(1).padStart(8)} KB` +
                `  (gzip ${(gz / 1024).toFixed(1)} KB)`);
  }
  console.log(`${'in all'.padEnd(18)} ${(total / 1024).toFixed(1).padStart(8)} KB` +
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

async function browserFrameMs(browser, url) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 480, height: 640 });
  await harness.openGamePage(page, url);
  for (const at of kIntoMatch) {
    await harness.tap(page, 2, 0, 0, at, false);
    await harness.runFrames(page, 30);
  }
  const ms = await page.evaluate((n, step) => {
    const start = Date.now();
    drovanaRunFrames(n, step);
    return Date.now() - start;
  }, kFrames, harness.kFrameMs);
  await context.close();
  return ms / kFrames;
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

(async () => {
  printSizes();
  const served = await harness.serveWebBuild();
  const profile = harness.makeTempFolder('chromium');
  const browser = await harness.launchBrowser(profile);
  try {
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
    const web = await browserFrameMs(browser, served.url);
    const native = nativeFrameMs();
    console.log(`match frame: browser ${web.toFixed(3)} ms, native driver ${native.toFixed(3)} ms` +
                ` (${(web / native).toFixed(2)} x)`);
  } finally {
    await browser.close();
    served.server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
})();
