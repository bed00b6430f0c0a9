// SPDX-License-Identifier: GPL-3.0-or-later
// A static web server for the page, on this machine only:
//   node hosts/web/serve.mjs FOLDER [PORT]     (PORT 0 takes any free one)
// Prints the page's address once it listens. It compresses what compresses and
// lets the browser keep every file, asking each time whether it changed (the
// names do not change between builds; the service worker keeps the page offline).
import { createHash } from 'node:crypto';
import { readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, sep } from 'node:path';
import { gzipSync } from 'node:zlib';

const [folder = 'build-web/site', port = '8080'] = process.argv.slice(2);
const root = normalize(folder) + sep;
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.gif': 'image/gif', '.png': 'image/png', '.wav': 'audio/wav', '.webmanifest': 'application/manifest+json',
};
const packed = new Set(['.gif', '.png']);  // compressed already

// Files read once and kept with their tag and compressed bytes until they change on disk.
const kept = new Map();
function read(file) {
  const stat = statSync(file);
  const old = kept.get(file);
  if (old && old.mtimeMs === stat.mtimeMs && old.size === stat.size) return old;
  const body = readFileSync(file);
  const entry = {
    mtimeMs: stat.mtimeMs, size: stat.size, body, modified: stat.mtime.toUTCString(),
    tag: `"${createHash('sha256').update(body).digest('base64url').slice(0, 22)}"`,
    gzipped: packed.has(extname(file)) ? null : gzipSync(body, { level: 9 }),
  };
  kept.set(file, entry);
  return entry;
}

const server = createServer((request, response) => {
  let file = '';
  let entry = null;
  try {
    const path = decodeURIComponent(new URL(request.url, 'http://here').pathname);
    file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    if (file.startsWith(root) && statSync(file).isFile()) entry = read(file);
  } catch {
    entry = null;  // a name that does not decode, or no such file
  }
  if (!entry || (request.method !== 'GET' && request.method !== 'HEAD')) {
    response.writeHead(entry ? 405 : 404).end();
    return;
  }
  const headers = {
    'Content-Type': types[extname(file)] ?? 'application/octet-stream',
    'Cache-Control': 'no-cache', ETag: entry.tag, 'Last-Modified': entry.modified, Vary: 'Accept-Encoding',
  };
  if (request.headers['if-none-match'] === entry.tag) {
    response.writeHead(304, headers).end();
    return;
  }
  let body = entry.body;
  if (entry.gzipped && /\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
    body = entry.gzipped;
    headers['Content-Encoding'] = 'gzip';
  }
  headers['Content-Length'] = body.length;
  response.writeHead(200, headers).end(request.method === 'HEAD' ? undefined : body);
});
server.listen(Number(port), '127.0.0.1', () => console.log(`http://127.0.0.1:${server.address().port}/`));
