// SPDX-License-Identifier: GPL-3.0-or-later
// A static web server for the page, on this machine only:
//   node hosts/web/serve.mjs FOLDER [PORT]     (PORT 0 takes any free one)
// Prints the page's address once it listens.
import { createReadStream, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, sep } from 'node:path';

const [folder = 'build-web/site', port = '8080'] = process.argv.slice(2);
const root = normalize(folder) + sep;
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.gif': 'image/gif', '.png': 'image/png', '.wav': 'audio/wav', '.webmanifest': 'application/manifest+json',
};

const server = createServer((request, response) => {
  let file = '';
  let size = -1;
  try {
    const path = decodeURIComponent(new URL(request.url, 'http://here').pathname);
    file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    if (file.startsWith(root) && statSync(file).isFile()) size = statSync(file).size;
  } catch {
    size = -1;  // a name that does not decode, or no such file
  }
  if (size < 0) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream', 'Content-Length': size });
  createReadStream(file).pipe(response);
});
server.listen(Number(port), '127.0.0.1', () => console.log(`http://127.0.0.1:${server.address().port}/`));
