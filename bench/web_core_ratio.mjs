// The WebAssembly core against the native one on the same births, in one
// run: the same 2,000 births (random atlas places and moments of 1900–2100,
// the birthplace's zone named) calculated by the page's binding built
// natively (toravel-bench-web-core) and by the module under Node, each
// document made in full, best of three rounds each. Prints both times per
// birth and their ratio.
//
//   node bench/web_core_ratio.mjs [births]     (after make build web-core)
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';

const Root = resolve(new URL('..', import.meta.url).pathname);
const Build = join(Root, 'build');
const WebBuild = join(Root, 'build-web');
const Count = Number(process.argv[2] ?? 2000);

const { default: createToravelCore } = await import(join(WebBuild, 'core', 'toravel-core.js'));
const core = await createToravelCore({ wasmBinary: readFileSync(join(WebBuild, 'core', 'core-module.wasm')) });
const data = (name) => readFileSync(join(Build, 'web-data', name));
core.loadCalendar(data('calendar.json').toString('utf8'));
core.loadZones(new Uint8Array(data('zones.bin')));

// Places of the atlas bundle: latitude, longitude, zone.
const lines = data('atlas.bin').toString('utf8').split('\n');
let at = 1;
const table = () => { const n = Number(lines[at]); const t = lines.slice(at + 1, at + 1 + n); at += n + 1; return t; };
const zones = table(); table(); table();
const places = lines.slice(at + 1, at + 1 + Number(lines[at])).map((l) => l.split('\t'));

let seed = 12345;
const random = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
const pad = (n) => String(n).padStart(2, '0');
const births = Array.from({ length: Count }, () => {
  const p = places[Math.floor(random() * places.length)];
  return {
    date: `${pad(1 + Math.floor(random() * 28))}.${pad(1 + Math.floor(random() * 12))}.${1900 + Math.floor(random() * 201)}`,
    time: `${pad(Math.floor(random() * 24))}:${pad(Math.floor(random() * 60))}`,
    latitude: p[4], longitude: p[5], zone_name: zones[Number(p[6])],
  };
});

// The same requests through the binding built natively: the same code, the
// same births, a calculation timed alike (best of three rounds).
const requests = births.map((birth) => JSON.stringify(birth)).join('\n') + '\n';
const native = Number(execFileSync(join(Build, 'bench', 'toravel-bench-web-core'),
  [join(Build, 'web-data')], { input: requests, encoding: 'utf8' })) / 1000 * Count;

const rounds = [1, 2, 3].map(() => {
  const t = performance.now();
  for (const birth of births) core.calculate(JSON.stringify(birth));
  return performance.now() - t;
});
const wasm = Math.min(...rounds);
const per = (ms) => (ms / Count * 1000).toFixed(0) + ' µs';
console.log(`${Count} births: native ${per(native)} a birth, WebAssembly (Node ${process.versions.node}) ${per(wasm)}; ratio ${(wasm / native).toFixed(2)}`);
