// SPDX-License-Identifier: GPL-3.0-or-later
// The page's Load Game in Debian's Chromium: the saves kept in the browser, the kept game at the top as
// Continue and then the newest first, each drawn small in the colour chosen, cell by cell as its screen
// holds it; Enter or a double click opens one.
//   node saves.mjs SITE
import assert from 'node:assert/strict';
import { resolve } from 'node:path';
import * as support from './support.mjs';

await support.run(resolve(process.argv[2]), 'the save browser', async ({ page, press, type, chord, load, man }) => {
  const browse = async () => {
    await chord('Control', 'KeyO');
    await page.waitForSelector('#saves[open]');
  };
  await load();
  await press('KeyP', 'F7');
  const at = {};
  for (const [name, step] of [['BEE', 'ArrowLeft'], ['CAT', 'ArrowUp'], ['ANT', 'ArrowUp']]) {
    await type(`SAVE ${name}`);
    at[name] = await man();
    await press(step);
  }
  at.Continue = await man();
  await press('F2');  // the game in play kept
  // A second apart, newest last, the kept game oldest: it still comes first.
  await page.evaluate(() => ['kept-game', 'BEE', 'CAT', 'ANT'].forEach((name, i) => {
    FS.utime(`/saves/${name}`, 1e12 + i * 1000, 1e12 + i * 1000);
  }));
  await browse();
  // Each entry as "title score" and whether each cell of its picture is as bright as its glyph, in amber alone.
  const shown = await page.evaluate(async () => {
    const sheet = await createImageBitmap(await (await fetch('glyphs.gif')).blob());
    const scratch = new OffscreenCanvas(sheet.width, sheet.height).getContext('2d');
    scratch.drawImage(sheet, 0, 0);
    const glyphs = scratch.getImageData(0, 0, sheet.width, sheet.height).data;
    // Each glyph's lit pixels (8 x 16, 9 apart on the sheet), twice: its 4 x 4 cell in a
    // thumbnail sums to that many sixteenths of the colour.
    const lit = Array.from({ length: 256 }, (_, code) => Array.from({ length: 128 },
      (_, i) => (glyphs[4 * ((i >> 3) * sheet.width + code * 9 + (i & 7)) + 1] ? 2 : 0)).reduce((a, b) => a + b));
    return [...document.querySelectorAll('#saves li')].map((li) => {
      const title = li.querySelector('.name').textContent;
      const screen = FS.readFile(`/saves/${title === 'Continue' ? 'kept-game' : title}`).subarray(0, 1000);
      const small = li.querySelector('canvas').getContext('2d').getImageData(0, 0, 160, 100).data;
      const sums = Array.from({ length: 1000 }, () => [0, 0, 0]);
      for (let p = 0; p < 160 * 100; ++p) {
        for (let c = 0; c < 3; ++c) sums[Math.floor((p % 160) / 4) * 25 + Math.floor(p / 640)][c] += small[4 * p + c];
      }
      const wrong = sums.filter((s, cell) => s.some((v, c) => Math.abs(v - (lit[screen[cell]] * [255, 191, 0][c]) / 16) > 16)).length;
      return `${title} ${li.querySelector('.score').textContent}${wrong ? ` ${wrong} cells wrong` : ''}`;
    });
  });
  assert.deepEqual(shown, ['Continue Score 0', 'ANT Score 0', 'CAT Score 0', 'BEE Score 0']);
  assert.ok(await page.$('#saves .upload'), 'no upload button');
  await press('ArrowDown', 'Enter');  // at the title: a game begun for the LOAD
  assert.deepEqual([await page.evaluate(() => grimspire.mode()), await man()], [0, at.ANT]);
  await browse();
  await page.click('#saves li', { count: 2 });
  assert.deepEqual(await man(), at.Continue);
  assert.equal(await page.$('#saves[open]'), null);
});
