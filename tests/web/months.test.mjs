// Twelve month calendars: the page's table must show every day as the
// command line's `--month ММ.ГГГГ --place …` table does, cell for cell (the
// lunar days and their beginnings, the full moon, the days without
// moonrise, the worlds, the circle). The months are those where a calendar goes wrong
// first: polar nights and days, half-hour and three-quarter-hour zones,
// summer time in the south, and the months the clocks change.
import assert from 'node:assert/strict';
import test from 'node:test';
import { launch, needOrSkip, startServer } from './lib/browser.mjs';
import { cli, cliBuilt, cliJson } from './lib/native.mjs';
import { openPage, pickPlace } from './lib/page.mjs';

needOrSkip();

// The rows of the command line's month table, cut at the header's column
// starts (it pads by characters, not bytes).
function tableRows(text) {
    const lines = text.split('\n');
    const header = [...lines.find((line) => line.startsWith('Дата'))];
    const starts = [];
    for (let i = 0; i < header.length; ++i) {
        if (header[i] !== ' ' && (i === 0 || (header[i - 1] === ' ' && header[i - 2] === ' ')))
            starts.push(i);
    }
    return lines.filter((line) => /^(пн|вт|ср|чт|пт|сб|вс) \d\d\.\d\d/.test(line)).map((line) => {
        const chars = [...line];
        return starts.map((start, i) => chars.slice(start, starts[i + 1]).join('').trim());
    });
}

const Months = [
    ['polar night', 'Мурманск', '12.2026'],
    ['polar day', 'Норильск', '06.2027'],
    ['midnight sun, summer', 'Мурманск', '06.2025'],
    ['half-hour zone, southern summer time ends', 'Аделаида', '04.2026'],
    ['half-hour zone, southern summer time begins', 'Аделаида', '10.2026'],
    ['southern summer time begins', 'Сидней', '10.2025'],
    ['Chile\'s summer time begins', 'Сантьяго', '09.2026'],
    ['+5:30 becomes +5:45 on the first day', 'Катманду', '01.1986'],
    ['half-hour zone', 'Дели', '07.1990'],
    ['the last spring change of Moscow\'s clock', 'Москва', '03.2011'],
    ['clocks go back', 'Берлин', '10.2026'],
    ['half-hour zone with summer time', 'Сент-Джонс', '03.2027'],
];

test('twelve month calendars equal the command line\'s', { skip: !cliBuilt() && 'toravel-cli is not built' }, async () => {
    const { server, url } = await startServer();
    const browser = await launch();
    const failures = [];
    try {
        const page = await openPage(browser.context, url);
        for (const [name, place, month] of Months) {
            const expected = await cliJson(['--month', month, '--place', place]);
            assert.equal(expected.error, null, `${place} ${month}: ${JSON.stringify(expected.error)}`);
            const table = tableRows((await cli(['--month', month, '--place', place])).stdout);
            assert.equal(table.length, expected.days.length, `${place} ${month}: the command line's table`);
            await pickPlace(page, place);
            const [mm, yyyy] = month.split('.');
            const shown = page.evaluate((wanted) => new Promise((resolve) => {
                const listen = (event) => {
                    if (event.detail.month !== wanted && !event.detail.error)
                        return;
                    document.removeEventListener('toravel:month', listen);
                    resolve(event.detail);
                };
                document.addEventListener('toravel:month', listen);
            }), `${yyyy}-${mm}`);
            await page.fill('#month-input', month);
            await page.click('#month-go button');
            const detail = await shown;
            assert.equal(detail.error, undefined, `${name}: ${place} ${month}: ${detail.error}`);
            const rows = await page.$$eval('#month-table tbody tr',
                (trs) => trs.map((tr) => [...tr.children].map((cell) => cell.textContent)));
            const wanted = table;
            if (JSON.stringify(rows) !== JSON.stringify(wanted)) {
                const day = wanted.findIndex((row, i) => JSON.stringify(row) !== JSON.stringify(rows[i]));
                failures.push(`${name} (${place} ${month}), day ${day + 1}: page ${JSON.stringify(rows[day])}, command line ${JSON.stringify(wanted[day])}`);
            }
        }
    } finally {
        await browser.close();
        server.close();
    }
    assert.deepEqual(failures, []);
});
