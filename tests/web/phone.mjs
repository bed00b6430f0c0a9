// SPDX-License-Identifier: GPL-3.0-or-later
// The page on a phone, in Chromium's phone emulation (touch, three device pixels to
// a CSS pixel), upright and lying down; offline after one visit; and a laptop's
// screen without touch.
//   node phone.mjs SITE REPLAY SCENARIOS [CMAKE]
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as support from './support.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const [given, , , cmake = 'cmake'] = process.argv.slice(2);
// The page is served from a copy of the site, so that a new build can be served from it below.
const site = mkdtempSync(join(tmpdir(), 'grimspire-site-'));
cpSync(resolve(given), site, { recursive: true });
process.on('exit', () => rmSync(site, { recursive: true, force: true }));

await support.run(site, 'the phone', async ({ page, url, load, man, until }) => {
  const shows = (text) => until((t) => grimspire.rows().join('\n').includes(t), text);
  const tap = async (label) => (await page.waitForSelector(
    `xpath/.//div[@id="touch"]//button[@aria-label="${label}" or text()="${label}"]`, { visible: true })).tap();
  const phone = (width, height) => page.setViewport({ width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true });

  // The picture shown, in CSS pixels, and whether its pixels are even: no whole factor of two fits
  // these screens, so it must be the picture enlarged by the least whole factor past the space (every
  // pixel a square block) for the browser to smooth down, in the picture's proportions.
  const shown = () => page.evaluate(() => {
    const canvas = document.querySelector('#sharp');
    const r = canvas.getBoundingClientRect();
    const [w, h, k] = [r.width * devicePixelRatio, r.height * devicePixelRatio, canvas.width / 640];
    const small = document.querySelector('#screen').getContext('2d').getImageData(0, 0, 640, 400).data;
    const big = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let even = getComputedStyle(canvas).visibility === 'visible' && Math.abs(w * 400 - h * 640) <= 640
      && k === Math.ceil(w / 640 - 1e-9) && canvas.height === 400 * k;
    for (let i = 0; even && i < big.length; i += 4) {
      const x = (i / 4) % canvas.width, y = Math.floor(i / 4 / canvas.width);
      even = big[i + 1] === small[4 * (640 * Math.floor(y / k) + Math.floor(x / k)) + 1];
    }
    return { right: r.right, bottom: r.bottom, width: r.width, height: r.height, even };
  });
  const controls = () => page.$eval('#touch', (e) => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.bottom]; });

  // Upright: the picture across the whole width, the controls under it; taps start a game.
  await phone(390, 844);
  await load();
  let picture = await shown();
  assert.ok(picture.width >= 0.9 * 390 && picture.even, `upright: ${JSON.stringify(picture)}`);
  assert.ok((await controls())[1] >= picture.bottom - 0.5 && (await controls())[2] <= 844.5, 'controls not under the picture');
  await tap('P Play');
  await until(() => grimspire.mode() === 0);

  // The pad walks all eight ways round a little square, back where it began.
  let at = await man();
  for (const [label, dx, dy] of [['Up', 0, -1], ['Up right', 1, -1], ['Right', 1, 0], ['Down right', 1, 1], ['Down', 0, 1],
    ['Down left', -1, 1], ['Left', -1, 0], ['Up left', -1, -1]]) {
    await tap(label);
    at = [at[0] + dx, at[1] + dy];
    assert.deepEqual(await man(), at, label);
  }

  // The phone's keyboard: its letters reach the command line; Enter and the verbs from the controls.
  // Typed during a "What???", they wait for it to end.
  await tap('Keyboard');
  assert.ok(await page.evaluate(() => document.activeElement.id === 'typing'), 'no keyboard came up');
  await page.keyboard.sendCharacter('xyzzy');
  await shows('?XYZZY');
  const held = await page.evaluate(() => {
    document.querySelector('[data-press=Enter]').click();
    grimspireTouch.typeText('inv');
    return grimspire.rows()[24].slice(25, 32) + grimspire.rows()[22].slice(25, 29);
  });
  assert.equal(held, 'What???    ');  // nothing typed yet
  await shows('?INV');
  await page.keyboard.sendCharacter('entoryx');
  await tap('\u232B Back');
  await tap('Enter \u23CE');
  await shows('- Inventory -');
  await tap('LOOK');
  await shows('?LOOK ');
  await page.keyboard.sendCharacter('wall');
  await tap('Enter \u23CE');
  await page.keyboard.sendCharacter('quit');
  await tap('Enter \u23CE');

  // A tap on the picture is the key the game waits for; the play-again question by touch.
  await shows('Press any key');
  await page.tap('#sharp');
  await shows('Play Again (Y/N)?');
  await tap('Y Yes');
  await until(() => grimspire.mode() === 0);

  // The menu by touch.
  await page.tap('#menubar > div:nth-child(2) > button');
  await page.tap('[data-name=green]');
  assert.equal(await page.$eval('[data-name=green]', (e) => e.ariaChecked), 'true');

  // Lying down: the picture the whole height, the controls beside it, and they walk.
  await phone(844, 390);
  await until(() => document.querySelector('#sharp').getBoundingClientRect().height > 350);
  picture = await shown();
  assert.ok(picture.height >= 0.9 * 390 && picture.even, `lying down: ${JSON.stringify(picture)}`);
  assert.ok((await controls())[0] >= picture.right - 0.5, 'controls over the picture');
  at = await man();
  await tap('Left');
  assert.deepEqual(await man(), [at[0] - 1, at[1]]);

  // Offline: after one visit the page comes back and plays with the network gone.
  await until(() => navigator.serviceWorker.controller !== null);
  await page.setOfflineMode(true);
  await load();
  await tap('P Play');
  await until(() => grimspire.mode() === 0);
  await page.setOfflineMode(false);

  // A new build served is the one played at the visit after next: it is found on a visit, then used.
  const [old] = await page.evaluate(() => caches.keys());
  writeFileSync(join(site, 'index.html'), `${await (await fetch(`${url}index.html`)).text()}<!-- new build -->\n`);
  execFileSync(cmake, [`-DSITE=${site}`, `-DTEMPLATE=${join(here, '../../hosts/web/sw.js')}`, '-P',
    join(here, '../../hosts/web/offline.cmake')]);
  await load();
  await until((was) => caches.keys().then((names) => names.length === 1 && names[0] !== was), old);
  await load();
  assert.ok((await page.content()).includes('new build'), 'the new build was not taken up');

  // A laptop without touch: no controls, and the picture larger than 640 x 400, its pixels even.
  await page.setViewport({ width: 1366, height: 768 });
  await load();
  picture = await shown();
  assert.ok(picture.width > 640 && picture.height > 400 && picture.even, `laptop: ${JSON.stringify(picture)}`);
  assert.equal(await page.$eval('#touch', (e) => getComputedStyle(e).display), 'none');
});
