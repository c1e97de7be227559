// browser_harness.cjs: what the browser checks share: the page served from the web build on
// 127.0.0.1, headless Chromium on a fresh profile, a clock and animation frames that the check
// advances itself, the canvas read back, the headless driver's pictures, and PNG files.
'use strict';

const assert = require('node:assert');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');

const webBuild = process.env.DROVANA_WEB_BUILD || path.resolve(__dirname, '../../build-web');
const nativeBuild = process.env.DROVANA_BUILD || path.resolve(__dirname, '../../build');
const puppeteer = require(path.join(webBuild, 'cache/node_modules/puppeteer-core'));

const kWidth = 240;
const kHeight = 320;
const kFrameMs = 1000 / 60;

const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// The web build's files on an ephemeral port of the loopback address; nothing else is served.
// `folder` may be changed to serve another build at the same address, as a host serves a new
// release; with `down` set every request fails as with the network cut. `requests` lists the
// names asked for.
async function serveWebBuild() {
  const served = { folder: webBuild, down: false, requests: [] };
  served.server = http.createServer((request, response) => {
    if (served.down) {
      request.socket.destroy();
      return;
    }
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname).slice(1);
    served.requests.push(name);
    const file = path.join(served.folder, path.basename(name));
    fs.readFile(file, (error, bytes) => {
      if (error || name.includes('/')) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] || 'text/plain' });
      response.end(bytes);
    });
  });
  await new Promise((resolve) => served.server.listen(0, '127.0.0.1', resolve));
  served.url = `http://127.0.0.1:${served.server.address().port}/drovana.html`;
  return served;
}

function launchBrowser(profile) {
  return puppeteer.launch({
    executablePath: process.env.DROVANA_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${profile}`],
  });
}

// Before any of the page's scripts: performance.now() reads a clock that only the check moves,
// and animation frames run only when the check asks for them, so the game in the page sees
// exactly the frames the headless driver plays. Date.now() stays real for timing the frames.
function controlTime() {
  let now = 0;
  let waiting = [];
  performance.now = () => now;
  window.requestAnimationFrame = (callback) => waiting.push(callback);
  window.drovanaRunFrames = (count, stepMs) => {
    for (let i = 0; i < count; ++i) {
      now += stepMs;
      const due = waiting;
      waiting = [];
      for (const callback of due)
        callback(now);
    }
  };
}

// Frames at a standing clock until the game has drawn its first frame (after data.pak and the
// kept profiles are in): its clock and its seed then start from 0, as with the driver's seed 1.
async function openGamePage(page, url) {
  await page.evaluateOnNewDocument(controlTime);
  await page.goto(url);
  await startGame(page);
}

// A page may start again by itself before the game runs (a waiting release taking over): a
// document that goes away while it is asked is asked again on the next.
async function startGame(page) {
  const deadline = Date.now() + 30000;
  const drawn = () => page.evaluate(() => { drovanaRunFrames(1, 0); return !!Module.drovanaImage; })
                          .catch((error) => {
                            if (/context was destroyed|navigation/i.test(error.message))
                              return false;
                            throw error;
                          });
  while (!(await drawn())) {
    if (Date.now() > deadline)
      throw new Error('the game drew no frame within 30 s: ' +
                      (await page.evaluate(() => document.body.innerText)));
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

function runFrames(page, count) {
  return page.evaluate((n, step) => drovanaRunFrames(n, step), count, kFrameMs);
}

// A tap as the driver's `tap X Y`: the press and release, then one pass of the loop without
// time passing. With touch, the page must have been given a touch screen.
async function tap(page, scale, left, top, [x, y], touch) {
  const px = left + (x + 0.5) * scale;
  const py = top + (y + 0.5) * scale;
  if (touch)
    await page.touchscreen.tap(px, py);
  else
    await page.mouse.click(px, py);
  await page.evaluate(() => drovanaRunFrames(1, 0));
}

// The canvas as 240 x 320 RGB bytes.
async function canvasRgb(page) {
  const rgba = Buffer.from(await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000)
      text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return btoa(text);
  }), 'base64');
  const rgb = Buffer.alloc(kWidth * kHeight * 3);
  for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3)
    rgba.copy(rgb, j, i, i + 3);
  return rgb;
}

// The headless driver (tools/drovana-script) playing `script` on the native build's data.
function runDriver(script, home) {
  const result = childProcess.spawnSync(
    path.join(nativeBuild, 'drovana-script'),
    ['--data', path.join(nativeBuild, 'data.pak'), '--home', home, '--seed', '1'],
    { input: script, encoding: 'utf8' });
  if (result.status !== 0)
    throw new Error(`drovana-script failed (${result.status}): ${result.stderr}`);
  return result.stdout;
}

// A driver script for steps of { name, tap, frames }: each step's tap, then its frames, then a
// picture named after it in `folder`.
function driverScript(steps, folder) {
  return steps.map((step) => [
    step.tap ? `tap ${step.tap[0]} ${step.tap[1]}` : '',
    step.frames ? `frames ${step.frames}` : '',
    `shot ${path.join(folder, step.name + '.png')}`,
  ].filter(Boolean).join('\n')).join('\n') + '\n';
}

function keepPictures(name, browserRgb, driverFile) {
  const keep = process.env.DROVANA_WEB_KEEP;
  if (!keep)
    return;
  fs.mkdirSync(keep, { recursive: true });
  writePngRgb(path.join(keep, `${name}-browser.png`), browserRgb);
  fs.copyFileSync(driverFile, path.join(keep, `${name}-driver.png`));
}

function expectSamePicture(name, browserRgb, driverFile) {
  const driver = readPngRgb(driverFile);
  assert.strictEqual(driver.width, 240);
  assert.strictEqual(driver.height, 320);
  const different = countDifferentPixels(browserRgb, driver.rgb);
  if (different !== 0)
    keepPictures(name, browserRgb, driverFile);
  assert.strictEqual(different, 0, `${name}: ${different} pixels differ from the driver's`);
}

// --- PNG: 8-bit RGB or RGBA without interlacing, what the driver writes and the checks keep.

const kPngSignature = Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]);

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// RGB bytes of a PNG file, with its size.
function readPngRgb(file) {
  const bytes = fs.readFileSync(file);
  if (!bytes.subarray(0, 8).equals(kPngSignature))
    throw new Error(`${file} is not a PNG file`);
  let width = 0, height = 0, channels = 0;
  const data = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = { 2: 3, 6: 4 }[body[9]];
      if (body[8] !== 8 || !channels || body[12] !== 0)
        throw new Error(`${file}: only 8-bit RGB or RGBA without interlacing is read`);
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? pixels[y * stride + x - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      const predictor = [0, a, b, (a + b) >> 1, paeth(a, b, c)][filter];
      pixels[y * stride + x] = (line[x] + predictor) & 0xff;
    }
  }
  const rgb = Buffer.alloc(width * height * 3);
  for (let i = 0; i < width * height; ++i)
    pixels.copy(rgb, i * 3, i * channels, i * channels + 3);
  return { width, height, rgb };
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k)
    c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function pngChunk(type, body) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(body.length, 0);
  head.write(type, 4, 'latin1');
  let crc = 0xffffffff;
  for (const byte of Buffer.concat([head.subarray(4), body]))
    crc = crcTable[(crc ^ byte) & 0xff] ^ (crc >>> 8);
  const tail = Buffer.alloc(4);
  tail.writeUInt32BE((crc ^ 0xffffffff) >>> 0, 0);
  return Buffer.concat([head, body, tail]);
}

function writePngRgb(file, rgb, width = kWidth, height = kHeight) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;
  header[9] = 2;
  const raw = Buffer.alloc((width * 3 + 1) * height);
  for (let y = 0; y < height; ++y)
    rgb.copy(raw, y * (width * 3 + 1) + 1, y * width * 3, (y + 1) * width * 3);
  fs.writeFileSync(file, Buffer.concat([kPngSignature, pngChunk('IHDR', header),
                                        pngChunk('IDAT', zlib.deflateSync(raw)),
                                        pngChunk('IEND', Buffer.alloc(0))]));
}

function countDifferentPixels(a, b) {
  let different = 0;
  for (let i = 0; i < a.length; i += 3)
    if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2])
      ++different;
  return different;
}

function makeTempFolder(name) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `drovana-${name}-`));
}

// For a test file: the web build served and a browser with a profile of its own, started before
// its tests and closed after them, with every folder in `folders` removed.
function browserSession(test) {
  const session = { served: null, browser: null, folders: [] };
  test.before(async () => {
    session.served = await serveWebBuild();
    const profile = makeTempFolder('chromium');
    session.folders.push(profile);
    session.browser = await launchBrowser(profile);
  });
  test.after(async () => {
    if (session.browser)
      await session.browser.close();
    if (session.served)
      session.served.server.close();
    for (const folder of session.folders)
      fs.rmSync(folder, { recursive: true, force: true });
  });
  return session;
}

module.exports = {
  webBuild, nativeBuild, kFrameMs, serveWebBuild, launchBrowser, controlTime, openGamePage,
  startGame, runFrames, tap, canvasRgb, runDriver, driverScript, expectSamePicture, readPngRgb,
  writePngRgb, countDifferentPixels, makeTempFolder, browserSession,
};
