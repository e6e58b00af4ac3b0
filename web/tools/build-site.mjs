// Assembles the static site: the page, the core and the data under names
// that carry a digest of their content, and the service worker with the
// list of this version's files to precache.
//
//     node web/tools/build-site.mjs [--core build-web/core] [--data build/web-data]
//                                   [--out build-web/site]
//
// --core holds what `make web-core` builds (toravel-core.js, which the
// worker's bundle takes in with core-module.js, and core-module.wasm), --data
// what toravel-web-data wrote (calendar.json, zones.bin, atlas.bin,
// pictures/*.jpg). Besides the site, it writes site-files.json beside the
// output folder: the hashed names, for the browser checks and the bench.
import { createHash } from 'node:crypto';
import { existsSync, mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { basename, dirname, extname, join, relative, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const web = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const root = resolve(web, '..');

function option(name, fallback) {
    const at = process.argv.indexOf(name);
    return resolve(at > 0 ? process.argv[at + 1] : join(root, fallback));
}
const coreDir = option('--core', 'build-web/core');
const dataDir = option('--data', 'build/web-data');
const out = option('--out', 'build-web/site');

const Pictures = ['meaning', 'massage', 'gymnastics', 'amulet-male', 'amulet-female'];

function need(path, how) {
    if (!existsSync(path)) {
        console.error(`build-site: ${path} is missing (${how})`);
        process.exit(1);
    }
    return path;
}

const digest = (bytes) => createHash('sha256').update(bytes).digest('hex').slice(0, 10);

// "calendar.json" → "calendar.0123456789.json", written to the site.
function hashed(bytes, name) {
    const ext = extname(name);
    const file = `${basename(name, ext)}.${digest(bytes)}${ext}`;
    const target = join(out, file);
    mkdirSync(dirname(target), { recursive: true });
    writeFileSync(target, bytes);
    return file;
}
const hashedCopy = (path, name = basename(path)) => hashed(readFileSync(path), name);

rmSync(out, { recursive: true, force: true });
mkdirSync(out, { recursive: true });

const coreHow = 'make web-core builds it';
const dataHow = 'the native build\'s toravel-web-data writes it';
const assets = {
    coreWasm: hashedCopy(need(join(coreDir, 'core-module.wasm'), coreHow)),
    calendar: hashedCopy(need(join(dataDir, 'calendar.json'), dataHow)),
    zones: hashedCopy(need(join(dataDir, 'zones.bin'), dataHow)),
    atlas: hashedCopy(need(join(dataDir, 'atlas.bin'), dataHow)),
    pictures: Object.fromEntries(Pictures.map((name) =>
        [name, hashedCopy(need(join(dataDir, 'pictures', `${name}.jpg`), dataHow))])),
};
const icons = {
    ICON_SVG: hashedCopy(join(web, 'icons/icon.svg')),
    ICON_192: hashedCopy(join(web, 'icons/icon-192.png')),
    ICON_512: hashedCopy(join(web, 'icons/icon-512.png')),
};

const common = {
    bundle: true,
    minify: true,
    legalComments: 'none',
    target: ['es2022'],
    write: false,
    logLevel: 'warning',
};

// Bundles one entry; returns its hashed file name (and writes its chunks).
const bundled = { preload: [] };
async function bundle(entry, { name, ...options }) {
    const result = await esbuild.build({ ...common, entryPoints: [join(web, entry)], outdir: out, metafile: true, ...options });
    const files = result.outputFiles.filter((f) => !f.path.endsWith('.map'));
    if (name)
        return [hashed(files[0].contents, name)];
    for (const file of files)
        writeFileSync(join(out, basename(file.path)), file.contents);
    // The entry first, then the chunks it imports at once (preloaded with it).
    const outputs = Object.entries(result.metafile.outputs);
    const [entryFile, entryMeta] = outputs.find(([, meta]) => meta.entryPoint);
    const direct = entryMeta.imports.filter((i) => i.kind === 'import-statement').map((i) => basename(i.path));
    bundled.preload = direct;
    return [basename(entryFile), ...files.map((f) => basename(f.path)).filter((f) => f !== basename(entryFile))];
}

need(join(coreDir, 'toravel-core.js'), coreHow);
const [worker] = await bundle('src/core-worker.js', {
    name: 'worker.js', format: 'esm', define: { TORAVEL_ASSETS: JSON.stringify(assets) },
    alias: { 'toravel-core': join(coreDir, 'toravel-core.js') },
});
assets.worker = worker;
const [boot] = await bundle('src/boot.js', {
    name: 'boot.js', format: 'iife', define: { TORAVEL_ASSETS: JSON.stringify(assets) },
});
const [styles] = await bundle('styles/page.css', { name: 'page.css' });
const scripts = await bundle('src/main.js', {
    format: 'esm', splitting: true, outdir: out, entryNames: 'app.[hash]', chunkNames: 'chunk.[hash]',
    define: { TORAVEL_ASSETS: JSON.stringify(assets) },
});
const script = scripts[0];
const preloads = bundled.preload.map((chunk) => `<link rel="modulepreload" href="${chunk}">`).join('\n');

const fill = (text, values) => text.replace(/@([A-Z_0-9]+)@/g, (all, key) => {
    if (!(key in values))
        throw new Error(`no value for ${all}`);
    return values[key];
});
writeFileSync(join(out, 'index.html'),
    fill(readFileSync(join(web, 'index.html'), 'utf8'), { ...icons, BOOT: boot, SCRIPT: script, STYLES: styles, PRELOADS: preloads }));
writeFileSync(join(out, 'manifest.webmanifest'),
    fill(readFileSync(join(web, 'manifest.webmanifest'), 'utf8'), icons));

// What an offline visit needs; the atlas and the pictures are cached when
// first fetched.
const precache = ['./', 'manifest.webmanifest', boot, styles, ...scripts, worker, assets.coreWasm, assets.calendar, assets.zones, ...Object.values(icons)];
const version = digest(precache.join('\n'));
await esbuild.build({
    ...common, entryPoints: [join(web, 'src/sw.js')], write: true, outfile: join(out, 'sw.js'), format: 'iife',
    define: { VERSION: JSON.stringify(version), PRECACHE: JSON.stringify(precache) },
});

const siteFiles = { version, assets, icons, boot, styles, scripts, precache };
writeFileSync(join(dirname(out), 'site-files.json'), `${JSON.stringify(siteFiles, null, 2)}\n`);
console.log(`build-site: ${relative(process.cwd(), out) || '.'} — version ${version}, ${precache.length} files to precache`);
