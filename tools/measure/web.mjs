// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the page's figures of docs/performance.md in Debian's Chromium: what
// it loads (gzipped), navigation to the first frame over fresh loads, a full
// redraw, and the redraws while nobody types.
//   node tools/measure/web.mjs [SITE] [LOADS]     (after npm ci --prefix tests/web)
import { spawn } from 'node:child_process';
import { readFileSync, readdirSync, statSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import puppeteer from '../../tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';

const here = dirname(fileURLToPath(import.meta.url));
const [site = 'build-web/site', loads = '10'] = process.argv.slice(2);
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

const files = (d) => readdirSync(d).map((f) => join(d, f)).flatMap((f) => (statSync(f).isDirectory() ? files(f) : [f]));
let total = 0;
for (const file of files(site)) {
  const size = gzipSync(readFileSync(file), { level: 9 }).length;
  total += size;
  const name = file.slice(site.length + 1);
  console.log(`${name.padEnd(28)} ${String(statSync(file).size).padStart(7)} bytes, ${String(size).padStart(6)} gzipped`);
}
console.log(`everything: ${total} bytes gzipped (${(total / 1024).toFixed(1)} KiB)`);

const server = spawn(process.execPath, [join(here, '../../hosts/web/serve.mjs'), site, '0'],
  { stdio: ['ignore', 'pipe', 'inherit'] });
const url = await new Promise((done) => server.stdout.once('data', (d) => done(String(d).trim())));
const browser = await puppeteer.launch({ executablePath: process.env.GRIMSPIRE_CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-dev-shm-usage'] });
try {
  // On a desktop's window, and on a phone upright (Chromium's emulation: touch, 3 device pixels to a CSS pixel).
  for (const [what, viewport] of [['desktop', null],
    ['phone', { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true }]]) {
    const firsts = [];
    for (let i = 0; i < Number(loads); ++i) {
      // A fresh profile each time: nothing cached, no saves, no best score.
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      if (viewport) await page.setViewport(viewport);
      await page.goto(url);
      firsts.push(await page.evaluate(async () => { await grimspire.ready; return grimspire.firstFrame; }));
      await context.close();
    }
    console.log(`navigation to the first frame (${what}): median ${median(firsts).toFixed(0)} ms of ${loads}` +
      ` (${firsts.map((t) => t.toFixed(0)).join(', ')})`);
  }

  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 860 });
  await page.goto(url);
  await page.evaluate(() => grimspire.ready);
  // At 1280 x 860 no whole factor of two fits: the redraw includes the enlargement that is smoothed down.
  const redraws = [];
  for (let i = 0; i < 10; ++i) redraws.push(await page.evaluate(() => grimspire.timeRedraws(100)));
  console.log(`a full redraw: median ${median(redraws).toFixed(3)} ms over 10 runs of 100` +
    ` (${Math.min(...redraws).toFixed(3)} to ${Math.max(...redraws).toFixed(3)})`);
  for (const [what, keys] of [['the title', []], ['the play screen, the cursor blinking', ['KeyP']]]) {
    for (const key of keys) await page.keyboard.press(key);
    const before = await page.evaluate(() => grimspire.draws);
    await sleep(5000);
    console.log(`redraws in 5 s of nobody typing on ${what}: ${(await page.evaluate(() => grimspire.draws)) - before}`);
  }
} finally {
  await browser.close();
  process.kill(server.pid);
}
