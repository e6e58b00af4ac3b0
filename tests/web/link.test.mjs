// The shareable link: opened, it shows its result with no click, equal to
// the command line's for the same inputs; the link the page writes after a
// calculation reproduces that result; bad parameters show the command
// line's own Russian messages and never a blank page.
import assert from 'node:assert/strict';
import test from 'node:test';
import { launch, needOrSkip, startServer } from './lib/browser.mjs';
import { cliBuilt, cliJson } from './lib/native.mjs';
import { calculated, differences, openLink, shownResult } from './lib/page.mjs';

needOrSkip();

// [name, link, the same inputs for toravel-cli]
const Links = [
    ['a place by name, its own clock', '?date=17.05.1990&time=14:30&place=Тарту',
        ['--date', '17.05.1990', '--time', '14:30', '--place', 'Тарту', '--auto-zone']],
    ['coordinates with a comma, an offset, a typed lunar day', '?date=17.05.1990&time=14:30&lat=58,38&lon=26.72&utc_offset=%2B04:00&sex=female&lunar_day=7',
        ['--date', '17.05.1990', '--time', '14:30', '--lat', '58,38', '--lon', '26.72', '--utc-offset', '+04:00', '--sex', 'female', '--lunar-day', '7']],
    ['coordinates and a zone', '?date=01.07.2000&time=03:00&lat=55.75&lon=37.62&zone=Europe/Moscow',
        ['--date', '01.07.2000', '--time', '03:00', '--lat', '55.75', '--lon', '37.62', '--zone-name', 'Europe/Moscow']],
    ['coordinates alone: the nearest place\'s clock', '?date=29.02.2024&time=23:59&lat=-33.9&lon=151.1',
        ['--date', '29.02.2024', '--time', '23:59', '--lat', '-33.9', '--lon', '151.1', '--auto-zone']],
    ['no such date', '?date=32.13.1990&time=14:30&place=Тарту',
        ['--date', '32.13.1990', '--time', '14:30', '--place', 'Тарту', '--auto-zone']],
    ['no such time', '?date=17.05.1990&time=25:61&place=Тарту',
        ['--date', '17.05.1990', '--time', '25:61', '--place', 'Тарту', '--auto-zone']],
    ['a latitude off the Earth', '?date=17.05.1990&time=14:30&lat=91&lon=0&utc_offset=%2B03:00',
        ['--date', '17.05.1990', '--time', '14:30', '--lat', '91', '--lon', '0', '--utc-offset', '+03:00']],
    ['a place the atlas does not have', '?date=17.05.1990&time=14:30&place=Нетакогоместа',
        ['--date', '17.05.1990', '--time', '14:30', '--place', 'Нетакогоместа', '--auto-zone']],
    ['an unknown zone', '?date=17.05.1990&time=14:30&lat=55.75&lon=37.62&zone=Europe/Nowhere',
        ['--date', '17.05.1990', '--time', '14:30', '--lat', '55.75', '--lon', '37.62', '--zone-name', 'Europe/Nowhere']],
    ['the open sea, no clock', '?date=17.05.1990&time=14:30&lat=0&lon=-30',
        ['--date', '17.05.1990', '--time', '14:30', '--lat', '0', '--lon', '-30']],
];

test('links show their results, or the command line\'s messages', { skip: !cliBuilt() && 'toravel-cli is not built' }, async () => {
    const { server, url } = await startServer();
    const browser = await launch();
    const failures = [];
    try {
        const page = await browser.context.newPage();
        for (const [name, link, args] of Links) {
            const expected = await cliJson(args);
            // The page has no window hours (--zone) to offer instead.
            if (expected.error)
                expected.error.message = expected.error.message.replace(', --zone-name или --zone', ' или --zone-name');
            const outcome = await openLink(page, url + link);
            const shown = await shownResult(page);
            const found = differences(shown, expected);
            if (expected.error && shown.error !== expected.error.message)
                found.push(`message: page ${JSON.stringify(shown.error)}, command line ${JSON.stringify(expected.error.message)}`);
            if (!outcome.result && !shown.error)
                found.push('a failure with no message');
            if (found.length)
                failures.push(`${name}: ${found.join('; ')}`);
        }
    } finally {
        await browser.close();
        server.close();
    }
    assert.deepEqual(failures, []);
});

test('the link the page writes reproduces its result', { skip: !cliBuilt() && 'toravel-cli is not built' }, async () => {
    const { server, url } = await startServer();
    const browser = await launch();
    try {
        const page = await browser.context.newPage();
        await page.goto(url);
        await page.fill('#birth-date', '03.11.1957');
        await page.fill('#birth-time', '5:07');
        await page.fill('#latitude', '59,95');
        await page.fill('#longitude', '30,1');
        await page.check('#sex-female');
        await page.fill('#lunar-day', '');
        await calculated(page, () => page.click('#calculate'));
        const first = await shownResult(page);
        assert.equal(first.error, null);
        const link = await page.inputValue('#share-link');
        assert.equal(link, page.url(), 'the address bar carries the link');
        const other = await browser.context.newPage();
        await openLink(other, link);
        assert.deepEqual(await shownResult(other), first);
        assert.equal(await other.inputValue('#birth-date'), '03.11.1957');
        assert.ok(await other.isChecked('#sex-female'));
    } finally {
        await browser.close();
        server.close();
    }
});
