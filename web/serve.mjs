// Serves the browser build on 127.0.0.1: the page at /, the test runner at /runner/.
//   node web/serve.mjs SITE_DIR [RUNNER_DIR] [PORT]   (port 0: any free one, printed on start)
import http from "node:http";
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";

const TYPES = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
                ".data": "application/octet-stream" };

// Only files inside the two folders, and only those of the build's own kinds.
function resolve(roots, url) {
  const clean = decodeURIComponent(url.split("?")[0]);
  let root = roots.site, rel = clean;
  if (roots.runner && clean.startsWith("/runner/")) { root = roots.runner; rel = clean.slice(7); }
  if (rel.endsWith("/")) rel += "index.html";
  const full = path.resolve(root, "." + rel);
  if (!full.startsWith(path.resolve(root) + path.sep)) return null;
  return TYPES[path.extname(full)] ? full : null;
}

export function serve(site, runner, port) {
  const roots = { site, runner };
  const server = http.createServer((req, res) => {
    const file = resolve(roots, req.url);
    fs.readFile(file || "", (err, body) => {
      if (!file || err) { res.writeHead(404); res.end("not found"); return; }
      res.writeHead(200, { "Content-Type": TYPES[path.extname(file)], "Cache-Control": "no-store" });
      res.end(body);
    });
  });
  return new Promise((ok) => server.listen(port, "127.0.0.1", () => ok(server)));
}

if (process.argv[1] && import.meta.url === pathToFileURL(path.resolve(process.argv[1])).href) {
  const [site, runner, port] = process.argv.slice(2);
  const server = await serve(site, runner || null, Number(port || 8375));
  console.log(`Serving the game on http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
}
