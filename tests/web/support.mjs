// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests share: the site served from this machine, Debian's Chromium on a fresh
// profile with a page that fails the test on any error of its own, and a tab driven as a player does.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const { default: puppeteer } = await import('puppeteer-core').catch((e) => {
  if (e.code !== 'ERR_MODULE_NOT_FOUND') throw e;
  console.log('SKIPPED: the browser driver is not installed (npm ci --prefix tests/web)');
  process.exit(77);
});

// Keys into one tab, and its game read back.
export function drive(page, url) {
  const press = async (...keys) => { for (const key of keys) await page.keyboard.press(key); };
  const rows = () => page.evaluate(() => grimspire.rows());
  return {
    page, press, rows,
    type: (line) => press(...[...line].map((c) => (c === ' ' ? 'Space' : `Key${c}`)), 'Enter'),
    chord: async (held, key) => { await page.keyboard.down(held); await press(key); await page.keyboard.up(held); },
    load: async () => { await page.goto(url); await page.evaluate(() => grimspire.ready); },
    text: async () => (await rows()).join('\n'),
    until: (f, ...args) => page.waitForFunction(f, {}, ...args),
    // Where the little man stands on the grid, [column, row].
    man: async () => (await rows()).flatMap((row, y) => (row.slice(0, 24).includes('\x05') ? [[row.indexOf('\x05'), y]] : []))[0],
  };
}

// Runs TEST with the first tab's driver, then closes everything whatever happened.
export async function run(site, name, test) {
  const temp = mkdtempSync(join(tmpdir(), 'grimspire-web-'));
  const server = spawn(process.execPath, [join(dirname(fileURLToPath(import.meta.url)), '../../hosts/web/serve.mjs'),
    site, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((done) => server.stdout.once('data', (d) => done(String(d).trim())));
  const browser = await puppeteer.launch({
    executablePath: process.env.GRIMSPIRE_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage', `--user-data-dir=${join(temp, 'profile')}`],
  });
  try {
    const page = await browser.newPage();
    page.on('pageerror', (e) => { console.log(`page error: ${e.message}`); process.exitCode = 1; });
    await test({ ...drive(page, url), browser, url, temp });
    console.log(`${name} passed`);
  } finally {
    await browser.close();
    server.kill();
    rmSync(temp, { recursive: true, force: true });
  }
}
