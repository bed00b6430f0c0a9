// SPDX-License-Identifier: GPL-3.0-or-later
// The page in Debian's Chromium, served from this machine: the picture, keys,
// menu, saved games, the best score and the scaling, as a player meets them.
//   node browser.mjs SITE GRIMSPIRE_REPLAY SCENARIOS
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, readFileSync, readdirSync, statSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';
import * as support from './support.mjs';

const [site, replay, scenarios] = process.argv.slice(2).map((p) => resolve(p));
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
const gzipped = readdirSync(site, { recursive: true }).map((f) => join(site, f)).filter((f) => statSync(f).isFile())
  .reduce((sum, f) => sum + gzipSync(readFileSync(f), { level: 9 }).length, 0);
assert.ok(gzipped <= 250000, `the page loads ${gzipped} bytes gzipped`);

await support.run(site, 'the page', async ({ page, url, temp, browser, press, type, chord, load, rows, text, man, until }) => {
  // What reaches the speakers, measured on its way there rather than read from the page's own bookkeeping.
  await page.evaluateOnNewDocument(() => {
    const connect = AudioNode.prototype.connect;
    AudioNode.prototype.connect = function (to, ...rest) {
      if (!(to instanceof AudioDestinationNode)) return connect.call(this, to, ...rest);
      const heard = to.context.createAnalyser();
      const samples = new Float32Array(heard.fftSize);
      window.loudness = () => heard.getFloatTimeDomainData(samples) ?? Math.max(...samples.map(Math.abs));
      connect.call(heard, to);
      connect.call(this, heard);
      return to;
    };
  });
  const heard = (loud, why) => until((l) => window.loudness && (loudness() > 0.01) === l, loud).catch(() => assert.fail(why));
  const room = async () => (await rows()).slice(0, 24).map((row) => row.slice(0, 25));  // all but the prompt line
  const lit = () => page.evaluate(() => {
    const data = document.querySelector('#screen').getContext('2d').getImageData(0, 0, 640, 400).data;
    const i = data.findIndex((v, j) => v && j % 4 !== 3);
    return [...data.slice(i - (i % 4), i - (i % 4) + 3)];
  });
  const box = () => page.evaluate(() => {
    const r = document.querySelector('#screen').getBoundingClientRect();
    const bar = document.body.classList.contains('bare') ? 0 : document.querySelector('#menubar').offsetHeight;
    return [r.left, r.top - bar, r.width];
  });
  // Load Game's list of the saves kept here, and its button for a file from the computer.
  const chooser = async () => {
    await chord('Alt', 'KeyG');
    await press('KeyL');
    await page.waitForSelector('#saves[open]');
    const choosing = page.waitForFileChooser();
    await page.evaluate(() => 0);  // the chooser is caught only once that request has gone out
    await page.click('#saves .upload');
    return choosing;
  };

  await page.setViewport({ width: 800, height: 600 });
  await load();
  const title = readFileSync(new URL('../qt/title.png', import.meta.url)).toString('base64');
  const wrong = await page.evaluate(async (png) => {
    // As stored: a gray PNG would otherwise be colour-managed into other grays.
    const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
    const scratch = new OffscreenCanvas(640, 400).getContext('2d');
    scratch.drawImage(await createImageBitmap(new Blob([bytes]), { colorSpaceConversion: 'none' }), 0, 0);
    const want = scratch.getImageData(0, 0, 640, 400).data;
    const got = document.querySelector('#screen').getContext('2d').getImageData(0, 0, 640, 400).data;
    return want.filter((v, i) => i % 4 !== 3 && v !== got[i]).length;
  }, title);
  assert.equal(wrong, 0, 'the title picture differs from the desktop\'s (tests/qt/title.png)');
  const draws = await page.evaluate(() => grimspire.draws);
  await sleep(1000);
  assert.equal(await page.evaluate(() => grimspire.draws), draws, 'drawn again while nothing changed');
  await page.mouse.click(400, 300);  // the first click lets the page sound: the title tune starts
  await heard(true, 'no title tune was heard');

  // Keys the browser would act on stay with the page; F5 is Gray, not a reload.
  await page.evaluate(() => {
    window.stillHere = true;
    window.addEventListener('keydown', (e) => { window.held = e.defaultPrevented; });
  });
  for (const key of ['F6', 'F5', 'Backspace', 'Slash', 'Quote', 'F1', 'F1']) {
    await press(key);
    assert.ok(await page.evaluate(() => window.held), `${key} reached the browser`);
    if (key.startsWith('F') && key !== 'F1') assert.deepEqual(await lit(), key === 'F6' ? [0, 255, 0] : [168, 168, 168]);
  }
  await heard(false, 'a key on the title did not stop the tune');
  await chord('Alt', 'KeyV');  // the View menu by keyboard: Gray, down to Green, Enter
  await press('ArrowDown', 'Enter');
  assert.deepEqual(await lit(), [0, 255, 0]);
  assert.ok(await page.$eval('[data-name=green]', (e) => window.stillHere && e.ariaChecked === 'true'));

  // Walking: arrows; headless Chromium's keypad has Num Lock off (8 is Up, 9 Page Up);
  // with it on, as a browser gives the key, 9 walks diagonally.
  await press('KeyP');
  const [x, y] = await man();
  await press('ArrowLeft', 'Numpad8', 'Numpad9');
  assert.deepEqual(await man(), [x - 1, y - 1]);
  // Letters as the layout prints them: AZERTY's A lies where QWERTY has Q, QWERTZ's Z where it has Y.
  for (const [key, code] of [['9', 'Numpad9'], ['a', 'KeyQ'], ['z', 'KeyY'], ['Q', 'KeyA'], ['y', 'KeyZ']]) {
    await page.evaluate((k, c) => window.dispatchEvent(new KeyboardEvent('keydown', { key: k, code: c })), key, code);
  }
  assert.deepEqual([await man(), (await rows())[22].slice(25).trim()], [[x, y - 2], '?AZQY']);
  await press('Backspace', 'Backspace', 'Backspace', 'Backspace');
  await type('INVENTORY');
  assert.match(await text(), /- Inventory -/);
  await press('F3');  // paused, a key only goes on
  assert.equal(await page.title(), 'Grimspire - Paused');
  await press('ArrowLeft');
  assert.deepEqual([await man(), await page.title()], [[x, y - 2], 'Grimspire']);

  // Nothing is asked on leaving: a reload in the middle of a game keeps it, and C brings it back.
  const left = await room();
  await load();
  await until(() => grimspire.rows()[2].includes('C - to continue'));
  await press('KeyC');
  assert.deepEqual(await room(), left);
  await type('SAVE CASTLE');
  assert.match(await text(), /Game Saved/);
  const saved = await room();
  await page.evaluate(() => grimspire.persisted());
  await load();
  assert.deepEqual(await lit(), [0, 255, 0], 'the colour chosen did not outlive the reload');
  await press('KeyP');
  await type('LOAD CASTLE');
  assert.deepEqual(await room(), saved);

  // Two tabs open at once save a name each: each tab finds the other's save at once, and both
  // are there after both reload (no tab stores the whole folder over the other's).
  const tabs = [support.drive(page, url), support.drive(await browser.newPage(), url)];
  // A hidden page pauses, and the first key only wakes it.
  const inFront = async (tab, line) => { await tab.page.bringToFront(); await tab.type(line); };
  const found = async (tab, name) => (await inFront(tab, `LOAD ${name}`), !(await tab.text()).includes('There is no'));
  await tabs[1].load();
  await tabs[1].press('KeyP');
  await inFront(tabs[1], 'SAVE TWOTAB');
  await inFront(tabs[0], 'SAVE ONETAB');
  await Promise.all(tabs.map((tab) => tab.page.evaluate(() => grimspire.persisted())));
  await tabs[1].until(() => grimspire.saves().includes('ONETAB'));
  await tabs[0].until(() => grimspire.saves().includes('TWOTAB'));
  assert.ok(await found(tabs[0], 'TWOTAB') && await found(tabs[1], 'ONETAB'));
  await inFront(tabs[0], 'SAVE ONETAB');  // once more after the other tab saved
  await page.evaluate(() => grimspire.persisted());
  for (const tab of tabs) {
    await tab.page.bringToFront();
    await tab.load();
    await tab.press('KeyP');
    for (const name of ['ONETAB', 'TWOTAB', 'CASTLE']) assert.ok(await found(tab, name), `${name} is gone`);
  }
  await tabs[1].page.close();

  // Save Game by mouse downloads a file that the native core loads and saves again byte for byte.
  await (await page.createCDPSession()).send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: temp });
  await page.click('#menubar > div:first-child > button');
  await page.click('[data-command=ID_SAVE_GAME]');
  const downloaded = join(temp, 'GRIMSPIRE');
  for (let i = 0; i < 300 && !(existsSync(downloaded) && statSync(downloaded).size === 2152); ++i) await sleep(50);
  writeFileSync(join(temp, 'resave.txt'), `case the download loaded and saved again\nmenuload ${temp} GRIMSPIRE\nsavefile AGAIN\n`);
  execFileSync(replay, [join(temp, 'resave.txt'), temp]);
  assert.ok(readFileSync(downloaded).equals(readFileSync(join(temp, 'AGAIN'))));

  // Load Game from the computer: a file of another size is not read at all, and the game says so in LOAD's words.
  writeFileSync(join(temp, 'huge.bin'), Buffer.alloc(3000));
  await (await chooser()).accept([join(temp, 'huge.bin')]);
  await until(() => grimspire.rows().join('\n').includes(' saved game'));
  assert.match(await text(), / There is no[\s\S]* saved game[\s\S]* named[\s\S]* HUGEBIN/);
  // A desktop save is; the game is won; the best score outlives a reload.
  execFileSync(replay, [join(scenarios, 'rich.txt'), temp]);
  const choosing = await chooser();
  // The castle's clocks stand while the chooser does: five seconds later the grid is as it was.
  const before = await text();
  await sleep(5000);
  assert.equal(await text(), before, 'the game went on behind the file chooser');
  await choosing.accept([join(temp, 'RICH')]);
  await until(() => grimspire.rows()[14].includes('\x05'));
  await type('WAVE SCEPTER');
  await press('ArrowLeft', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowDown');
  const [, score] = (await text()).match(/You've Escaped the Castle![\s\S]*Your Score: (\d+)/);
  await press('Space');
  await type('WEB');
  assert.equal(await page.evaluate(() => grimspire.mode()), 1);
  await load();
  await press('KeyP');
  await type('LOOK WALL');
  assert.deepEqual((await rows()).slice(15, 17).map((row) => row.slice(25).trim()), ['WEB', score], 'the best score on the wall');
  await type('QUIT');  // where the desktop program would end, the title comes back
  await press('Space');
  assert.match(await text(), /Play Again/);
  await press('KeyN');
  assert.equal(await page.evaluate(() => grimspire.mode()), 1);

  // The largest whole factor, centred: in the window, in full screen (a click brings the
  // menu bar back).
  await page.setViewport({ width: 1920, height: 1080 });
  await until(() => document.querySelector('#screen').style.width === '1280px');
  const [, top] = await box();
  assert.deepEqual(await box(), [320, top, 1280]);
  assert.ok(Math.abs(2 * top + 800 - 1080 + (await page.$eval('#menubar', (e) => e.offsetHeight))) <= 1);
  await chord('Alt', 'Enter');
  await until(() => document.fullscreenElement && document.body.classList.contains('bare'));
  assert.deepEqual(await box(), [320, 140, 1280]);
  await page.mouse.click(960, 540);
  assert.equal(await page.evaluate(() => document.body.classList.contains('bare')), false);
  await chord('Alt', 'Enter');
  await until(() => !document.fullscreenElement);
  // No whole factor of two fits 800 x 600: the picture fills the width, enlarged by the least whole
  // factor past it and smoothed down; a change of density alone enlarges it again.
  await page.setViewport({ width: 800, height: 600 });
  await until(() => document.querySelector('#sharp').style.width === '800px' && document.querySelector('#sharp').width === 1280);
  await page.setViewport({ width: 800, height: 600, deviceScaleFactor: 2 });
  await page.screenshot();  // headless Chromium tells the page of the density at its next frame
  await until(() => document.querySelector('#sharp').width === 1920);
});
