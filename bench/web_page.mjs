// The page's figures in headless Chromium (docs/performance.md):
//   - bytes a first visit transfers before its first result, as this
//     machine's static server sends them (brotli), and the atlas's bytes;
//   - the time from navigation to the first result with the CPU slowed
//     4× (a mid-range phone), on a cold and on a warm visit;
//   - a calculation, a month and a search keystroke inside the page: the
//     time in the core (the worker's) and the round trip from the page.
//
//     make web-bench        (or: node bench/web_page.mjs [--runs 5])
import { launch, needOrSkip, SiteDir } from '../tests/web/lib/browser.mjs';
import { atlasSample, birthMoment, random } from '../tests/web/lib/births.mjs';

needOrSkip();
const runsAt = process.argv.indexOf('--runs');
const Runs = runsAt > 0 ? Number(process.argv[runsAt + 1]) : 5;
const Link = '?date=17.05.1990&time=14:30&lat=58.38&lon=26.72&zone=Europe/Tallinn';

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const percentile = (values, p) => [...values].sort((a, b) => a - b)[Math.min(values.length - 1, Math.floor(values.length * p))];
const ms = (value) => `${value.toFixed(value < 10 ? 2 : 0)} ms`;
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

const { serve } = await import('../web/tools/serve.mjs');
let sent = [];
const { server, url } = await serve({ root: SiteDir, port: 0, onSent: (file) => sent.push(file) });

async function slowedPage(context) {
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
    await page.addInitScript(() => {
        document.addEventListener('toravel:calculated', () => {
            window.firstResult ??= performance.now();
            window.firstResultAt ??= Date.now();
        });
    });
    return page;
}

// A cold visit (a fresh profile) and then a warm one (the same profile,
// its service worker and caches in place).
const cold = [];
const coldSteps = [];
const warm = [];
const firstBytes = [];
for (let run = 0; run < Runs; ++run) {
    const browser = await launch();
    try {
        sent = [];
        let page = await slowedPage(browser.context);
        await page.goto(url + Link);
        await page.waitForFunction(() => window.firstResult !== undefined);
        cold.push(await page.evaluate(() => window.firstResult));
        coldSteps.push(await page.evaluate(async () => {
            await new Promise((resolve) => {
                const seen = () => performance.getEntriesByName('toravel:worker').length > 0;
                const wait = () => (seen() ? resolve() : setTimeout(wait, 10));
                wait();
            });
            const worker = performance.getEntriesByName('toravel:worker')[0].detail;
            const since = (t) => t - performance.timeOrigin;
            const script = performance.getEntriesByType('resource').find((r) => r.name.includes('/app.'));
            return {
                'page script loaded': script?.responseEnd ?? 0,
                'worker started': since(worker.started),
                'WebAssembly compiled': since(worker.compiled),
                'data fetched': since(worker.fetched),
                'data loaded into the core': since(worker.loaded),
                'link read (answer in the page)': performance.getEntriesByName('toravel:parseLink')[0]?.startTime ?? 0,
                'calculation answered': performance.getEntriesByName('toravel:calculate')[0]?.startTime ?? 0,
                'result shown': window.firstResult,
            };
        }));
        const resultAt = await page.evaluate(() => window.firstResultAt);
        const before = sent.filter((f) => f.at <= resultAt);
        firstBytes.push(before.reduce((sum, f) => sum + f.bytes, 0));
        if (run === 0) {
            console.log('Transferred before the first result:');
            for (const f of before)
                console.log(`  ${f.path}  ${kb(f.bytes)} (${f.encoding})`);
        }
        await page.evaluate(() => navigator.serviceWorker.ready);
        await page.close();
        page = await slowedPage(browser.context);
        await page.goto(url + Link);
        await page.waitForFunction(() => window.firstResult !== undefined);
        warm.push(await page.evaluate(() => window.firstResult));
    } finally {
        await browser.close();
    }
}

// The work inside the page, at the machine's own speed.
const browser = await launch();
const next = random(7);
const places = await atlasSample(next, 40);
let atlasBytes = 0;
let inside;
try {
    const page = await browser.context.newPage();
    await page.goto(url);
    sent = [];
    await page.locator('#place-search').pressSequentially('Т', { delay: 5 });
    await page.locator('#place-results [role=option]').first().waitFor();
    atlasBytes = sent.filter((f) => f.path.includes('atlas')).reduce((sum, f) => sum + f.bytes, 0);
    const births = Array.from({ length: 200 }, () => {
        const place = places[Math.floor(next() * places.length)];
        return { ...birthMoment(next), latitude: String(place.latitude), longitude: String(place.longitude) };
    });
    const words = places.slice(0, 40).map((p) => p.name);
    inside = await page.evaluate(async ({ births, words }) => {
        const marks = (name) => performance.getEntriesByName(`toravel:${name}`).map((m) => m.detail);
        performance.clearMarks();
        const set = (id, value) => {
            const field = document.getElementById(id);
            field.value = value;
            field.dispatchEvent(new Event('input', { bubbles: true }));
        };
        for (const birth of births) {
            set('birth-date', birth.date);
            set('birth-time', birth.time);
            set('latitude', birth.latitude);
            set('longitude', birth.longitude);
            const done = new Promise((resolve) => document.addEventListener('toravel:calculated', resolve, { once: true }));
            document.getElementById('birth-form').requestSubmit();
            await done;
        }
        for (let i = 0; i < 24; ++i) {
            const done = new Promise((resolve) => document.addEventListener('toravel:month', resolve, { once: true }));
            document.getElementById('month-next').click();
            await done;
        }
        const search = document.getElementById('place-search');
        for (const word of words) {
            for (let n = 1; n <= word.length; ++n) {
                search.value = word.slice(0, n);
                search.dispatchEvent(new Event('input', { bubbles: true }));
                await new Promise((resolve) => setTimeout(resolve, 20));
            }
        }
        await new Promise((resolve) => setTimeout(resolve, 200));
        return { calculate: marks('calculate'), month: marks('month'), search: marks('searchPlaces') };
    }, { births, words });
} finally {
    await browser.close();
    server.close();
}

const row = (what, list, target) => {
    const core = list.map((d) => d.coreMs);
    const trip = list.map((d) => d.roundTripMs);
    console.log(`| ${what} | ${list.length} | ${ms(median(core))} | ${ms(percentile(core, 0.95))} | ${ms(median(trip))} | ${target} |`);
};
console.log(`\nFirst visit (${Runs} runs, CPU slowed 4×):`);
console.log('| figure | median | worst | target |\n|---|---|---|---|');
console.log(`| bytes before the first result (brotli) | ${kb(median(firstBytes))} | ${kb(Math.max(...firstBytes))} | ≤ 600 KB |`);
console.log(`| the atlas, on the first search keystroke (brotli) | ${kb(atlasBytes)} | | ≤ 1 MB |`);
console.log(`| first result after navigation, cold | ${ms(median(cold))} | ${ms(Math.max(...cold))} | ≤ 1 s |`);
console.log(`| first result after navigation, warm (service worker) | ${ms(median(warm))} | ${ms(Math.max(...warm))} | |`);
console.log('\nWhere a cold first visit spends its time (median of each step, from navigation):');
console.log('| step | at |\n|---|---|');
for (const step of Object.keys(coldSteps[0]))
    console.log(`| ${step} | ${ms(median(coldSteps.map((s) => s[step])))} |`);
console.log('\nInside the page (no slowing):');
console.log('| call | count | core, median | core, 95 % | round trip, median | target |\n|---|---|---|---|---|---|');
row('calculation', inside.calculate, '≤ 10 ms');
row('month', inside.month, '≤ 40 ms');
row('search keystroke', inside.search, '≤ 16 ms');
