// measure_web.cjs: figures of the browser build, printed, never checked: the download's sizes,
// the time from page load to the first frame in headless Chromium, and the time of a match frame
// in the browser against the native headless driver on the same machine.
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
  for (const name of ['drovana.wasm', 'drovana.js', 'drovana.data', 'drovana.html']) {
    const bytes = fs.readFileSync(path.join(harness.webBuild, name));
    const gz = zlib.gzipSync(bytes, { level: 9 }).length;
    total += bytes.length;
    compressed += gz;
    console.log(`${name.padEnd(14)} ${(bytes.length / 1024).toFixed(1).padStart(8)} KB` +
                `  (gzip ${(gz / 1024).toFixed(1)} KB)`);
  }
  console.log(`${'in all'.padEnd(14)} ${(total / 1024).toFixed(1).padStart(8)} KB` +
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
