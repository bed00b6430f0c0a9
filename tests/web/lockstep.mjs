// SPDX-License-Identifier: GPL-3.0-or-later
// The core compiled to WebAssembly and the native core play the same 20,000
// random events from the same seed; the grids must agree after every one.
//   node lockstep.mjs NATIVE_DRIVER WASM_DRIVER_JS
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';

const [nativeDriver, wasmDriver] = process.argv.slice(2).map((p) => resolve(p));
const count = 20000;
let seed = 20261206;
const random = (n) => {
  seed = (Math.imul(seed, 1103515245) + 12345) >>> 0;
  return (seed >>> 8) % n;
};

// Ticks, any key (arrows, keypad, letters, blank, Backspace, Enter, a digit,
// Shift), commands the interpreter knows, and walks as a held key gives them.
const keys = [37, 38, 39, 40, 97, 98, 99, 100, 101, 102, 103, 104, 105, 8, 13, 32, 16, 48, ...Array.from({ length: 26 }, (_, i) => 65 + i)];
const words = ['P', 'GET KEY', 'LOOK WALL', 'OPEN DOOR', 'INVENTORY', 'READ BOOK', 'SECOND QUEST', 'QUIT', 'Y',
  'GET LAMP', 'DROP LAMP', 'WAVE SCEPTER', 'ABOUT'];
const events = [];
while (events.length < count) {
  const r = random(100);
  if (r < 20) events.push([1 + random(2), 0, 0]);
  else if (r < 23) for (const c of `${words[random(words.length)]}\r`) events.push([0, c.charCodeAt(0), 0]);
  else if (r < 40) events.push([0, keys[random(keys.length)], random(8) === 0 ? 1 : 0]);
  else for (let n = 1 + random(6), key = 37 + random(4); n > 0; --n) events.push([0, key, n > 1 ? 1 : 0]);
}
events.length = count;

const dir = mkdtempSync(join(tmpdir(), 'grimspire-lockstep-'));
process.on('exit', () => rmSync(dir, { recursive: true, force: true }));
writeFileSync(join(dir, 'events'), Buffer.from(events.flat()));
// Each in a folder of its own, for its saves.
const [native, wasm] = [[nativeDriver], [process.execPath, wasmDriver]].map(([command, ...args], i) => {
  const grids = join(dir, `${i}.grids`);
  execFileSync(command, [...args, join(dir, 'events'), grids], { cwd: mkdtempSync(join(dir, 'saves-')) });
  return readFileSync(grids);
});
if (native.length !== count * 1000 || wasm.length !== count * 1000) throw new Error('an event without its grid');
const grid = (grids, i) => [...Array(25).keys()].map((y) => [...Array(40).keys()]
  .map((x) => String.fromCharCode(grids[1000 * i + 25 * x + y] || 32)).join('')).join('\n');
const parted = [...Array(count).keys()].find((i) => !native.subarray(1000 * i, 1000 * i + 1000).equals(wasm.subarray(1000 * i, 1000 * i + 1000)));
if (parted !== undefined) throw new Error(`the grids part at event ${parted} (${events[parted]}):\n${grid(native, parted)}\n${grid(wasm, parted)}`);
const rooms = new Set([...Array(count).keys()].map((i) => grid(native, i).split('\n')[19]));
console.log(`${count} events, the same grid after each; ${rooms.size} different rooms and screens seen`);
