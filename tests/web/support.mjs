// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests share: the site served from this machine, Debian's Chromium on a fresh
// profile with a page that fails the test on any error of its own, and the game's grid read back.
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

export async function open(site) {
  const temp = mkdtempSync(join(tmpdir(), 'grimspire-web-'));
  const server = spawn(process.execPath, [join(dirname(fileURLToPath(import.meta.url)), '../../hosts/web/serve.mjs'),
    site, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((done) => server.stdout.once('data', (d) => done(String(d).trim())));
  const browser = await puppeteer.launch({
    executablePath: process.env.GRIMSPIRE_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage', `--user-data-dir=${join(temp, 'profile')}`],
  });
  const page = await browser.newPage();
  page.on('pageerror', (e) => { console.log(`page error: ${e.message}`); process.exitCode = 1; });
  const close = async () => {
    await browser.close();
    server.kill();
    rmSync(temp, { recursive: true, force: true });
  };
  return { browser, page, url, temp, close };
}

export const rows = (page) => page.evaluate(() => grimspire.rows());
// Where the little man stands on the grid, [column, row].
export const man = async (page) => (await rows(page))
  .flatMap((row, y) => (row.slice(0, 24).includes('\x05') ? [[row.indexOf('\x05'), y]] : []))[0];
