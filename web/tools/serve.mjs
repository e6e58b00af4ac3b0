// A small static server for the built site, compressing as a static host
// would: brotli or gzip for the texts and the WebAssembly when the browser
// accepts them, hashed files cached for good, the page and the service
// worker revalidated, the same Content-Security-Policy as the page's own.
//
//     node web/tools/serve.mjs [--root build-web/site] [--port 8080] [--host 127.0.0.1]
//
// It serves only files below the root; it is for trying the page and for
// the browser checks, not for the open Internet.
import { createServer } from 'node:http';
import { readdir, readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
import { fileURLToPath } from 'node:url';

const Types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.json': 'application/json; charset=utf-8',
    '.webmanifest': 'application/manifest+json; charset=utf-8',
    '.wasm': 'application/wasm',
    '.bin': 'application/octet-stream',
    '.jpg': 'image/jpeg',
    '.png': 'image/png',
    '.svg': 'image/svg+xml',
};
// JPEG and PNG are compressed already.
const Compressible = new Set(['.html', '.js', '.css', '.json', '.webmanifest', '.wasm', '.bin', '.svg']);

export const ContentSecurityPolicy = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; " +
    "style-src 'self'; img-src 'self' blob:; connect-src 'self'; worker-src 'self'; manifest-src 'self'; " +
    "object-src 'none'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

// Starts a server; resolves to {server, url}. Port 0 takes a free one.
// onSent({path, bytes, encoding}) hears of every file sent (the bench counts
// the bytes a visit transfers).
export function serve({ root, port = 8080, host = '127.0.0.1', log = false, onSent = null }) {
    const base = resolve(root);
    const compressed = new Map(); // "path encoding" → bytes
    const compress = (path, body, encoding) => {
        const key = `${path} ${encoding}`;
        if (!compressed.has(key)) {
            compressed.set(key, encoding === 'br'
                ? brotliCompressSync(body, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } })
                : gzipSync(body, { level: 9 }));
        }
        return compressed.get(key);
    };
    const server = createServer(async (request, response) => {
        try {
            const url = new URL(request.url, 'http://localhost');
            let path = normalize(join(base, decodeURIComponent(url.pathname)));
            if (path !== base && !path.startsWith(base + sep)) {
                response.writeHead(403).end();
                return;
            }
            if ((await stat(path).catch(() => null))?.isDirectory())
                path = join(path, 'index.html');
            const ext = extname(path);
            const body = await readFile(path).catch(() => null);
            if (!body || !(ext in Types)) {
                response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('нет такого файла');
                return;
            }
            const headers = {
                'Content-Type': Types[ext],
                'Content-Security-Policy': ContentSecurityPolicy,
                'X-Content-Type-Options': 'nosniff',
                'Referrer-Policy': 'no-referrer',
                'Cache-Control': /\.[0-9a-zA-Z]{8,10}\.[a-z]+$/.test(path)
                    ? 'public, max-age=31536000, immutable' : 'no-cache',
                Vary: 'Accept-Encoding',
            };
            let bytes = body;
            const accepted = request.headers['accept-encoding'] ?? '';
            const encoding = !Compressible.has(ext) ? null
                : /\bbr\b/.test(accepted) ? 'br' : /\bgzip\b/.test(accepted) ? 'gzip' : null;
            if (encoding) {
                bytes = compress(path, body, encoding);
                headers['Content-Encoding'] = encoding;
            }
            headers['Content-Length'] = bytes.length;
            response.writeHead(200, headers);
            response.end(request.method === 'HEAD' ? undefined : bytes);
            onSent?.({ path: url.pathname, bytes: bytes.length, encoding: encoding ?? 'identity', at: Date.now() });
            if (log)
                console.log(`${request.method} ${url.pathname} ${bytes.length}`);
        } catch (error) {
            response.writeHead(500).end(String(error));
        }
    });
    // Compressed before the first request, as a static host keeps its files.
    const precompressed = readdir(base).then(async (names) => {
        for (const name of names) {
            const path = join(base, name);
            if (Compressible.has(extname(name)) && (await stat(path)).isFile())
                compress(path, await readFile(path), 'br');
        }
    });
    return precompressed.then(() => new Promise((done, fail) => {
        server.once('error', fail);
        server.listen(port, host, () => done({ server, url: `http://${host}:${server.address().port}/` }));
    }));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const option = (name, fallback) => {
        const at = process.argv.indexOf(name);
        return at > 0 ? process.argv[at + 1] : fallback;
    };
    const root = option('--root', fileURLToPath(new URL('../../build-web/site', import.meta.url)));
    const { url } = await serve({
        root, port: Number(option('--port', 8080)), host: option('--host', '127.0.0.1'), log: true,
    });
    console.log(`Торавель: ${url} (папка ${root}); Ctrl+C — остановить`);
}
