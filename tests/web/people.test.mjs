// The people kept in the browser and the desktop's person file exchange one
// CSV file both ways unchanged: the desktop's export, imported into the
// page and exported again, is the same bytes; so is the page's export
// taken through the desktop's import and export. People saved from the form
// reach the desktop whole; the search folds case and reads ё as е.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import test from 'node:test';
import { launch, needOrSkip, startServer } from './lib/browser.mjs';
import { cli, cliBuilt } from './lib/native.mjs';

needOrSkip();

// Names that sort and fold differently, quotes, commas, line breaks, blanks
// at the ends, every clock column, a lunar day, both sexes in their
// several spellings, and a name that folds to one already there (skipped
// on both sides).
const Tricky = [
    'name,date,time,place,latitude,longitude,utc_offset,zone_name,zone,sex,lunar_day,note',
    'Ёлкина Анна,17.05.1990,14:30,Тарту,58.38062,26.72509,,Europe/Tallinn,,female,,"заметка, с запятой"',
    'елкин пётр,1.2.1985,5:07:09,,55.750,37.62,+03:00,,,male,7,"строка 1\r\nстрока 2"',
    '"Smith, John",1990-05-17,,London,51.50853,-0.12574,,Europe/London,,м,,"он сказал ""да"""',
    '"  Пробел  ",03.11.1957,23:59,,,,,,3,,,',
    'Zoë,29.02.2024,00:00,,-33.9,151.1,,,,,-5," заметка с пробелом"',
    'STRASSE,01.01.1901,12:00,,0.000001,-179.99999,-09:30,,-12,Ж,,',
    'Straße,02.01.1901,12:00,,,,,,,,,',
    'Елкина Анна,17.05.1990,14:30,,,,,,,,,',
].join('\r\n') + '\r\n';

async function desktopRoundTrip(work, name, csvPath) {
    const file = join(work, `${name}.sqlite`);
    const imported = await cli(['--people-file', file, '--people-import', csvPath]);
    assert.ok(imported.status === 0 || imported.status === 1, imported.stderr);
    const out = join(work, `${name}.csv`);
    const exported = await cli(['--people-file', file, '--people-export', out]);
    assert.equal(exported.status, 0, exported.stderr);
    return { file, csv: readFileSync(out) };
}

async function pageExport(page) {
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#people-export')]);
    return readFileSync(await download.path());
}

async function pageImport(page, path) {
    await page.setInputFiles('#people-import', path);
    await page.waitForFunction(() => /^(Загружено|Файл не загружен)/.test(document.getElementById('people-status').textContent));
    return page.textContent('#people-status');
}

test('a CSV file moves between the page and the desktop both ways unchanged', { skip: !cliBuilt() && 'toravel-cli is not built' }, async () => {
    const work = mkdtempSync(join(tmpdir(), 'toravel-people-'));
    const { server, url } = await startServer();
    const browser = await launch();
    try {
        writeFileSync(join(work, 'tricky.csv'), Tricky);
        const desktop = await desktopRoundTrip(work, 'desktop', join(work, 'tricky.csv'));
        writeFileSync(join(work, 'from-desktop.csv'), desktop.csv);

        const page = await browser.context.newPage();
        page.on('dialog', (dialog) => dialog.accept());
        await page.goto(url);
        await page.waitForFunction(() => /картотеке/.test(document.getElementById('people-status').textContent));
        const status = await pageImport(page, join(work, 'from-desktop.csv'));
        assert.match(status, /^Загружено из «from-desktop\.csv»: 7,/);
        const fromPage = await pageExport(page);
        assert.equal(fromPage.toString('utf8'), desktop.csv.toString('utf8'), 'desktop → page → file');
        assert.ok(fromPage.equals(desktop.csv));

        // And the other way, with a person saved from the form.
        await page.fill('#birth-date', '7.1.2001');
        await page.fill('#birth-time', '6:05');
        await page.fill('#latitude', '-22,9');
        await page.fill('#longitude', '-43.2');
        await page.check('#clock-override');
        await page.fill('#utc-offset', '-02:00');
        await page.fill('#lunar-day', '12');
        await page.fill('#person-name', 'Из формы');
        await page.click('#person-save button');
        await page.waitForFunction(() => /сохранён/.test(document.getElementById('people-status').textContent));
        const withForm = await pageExport(page);
        writeFileSync(join(work, 'from-page.csv'), withForm);
        const back = await desktopRoundTrip(work, 'back', join(work, 'from-page.csv'));
        assert.equal(back.csv.toString('utf8'), withForm.toString('utf8'), 'page → desktop → file');
        assert.match(withForm.toString('utf8'), /\r\nИз формы,07\.01\.2001,06:05,,-22\.9,-43\.2,-02:00,,,male,12,\r\n/);

        // The search folds case and reads ё as е; a deletion goes.
        await page.fill('#people-filter', 'ЕЛКИН');
        await page.waitForFunction(() => /^Найдено/.test(document.getElementById('people-status').textContent));
        const found = await page.$$eval('#people-list .person-name', (names) => names.map((n) => n.textContent));
        assert.deepEqual(found, ['елкин пётр', 'Елкина Анна', 'Ёлкина Анна']);
        await page.click('#people-list li:nth-child(2) button:has-text("Удалить")');
        await page.waitForFunction(() => /удалён/.test(document.getElementById('people-status').textContent));
        const left = await page.$$eval('#people-list .person-name', (names) => names.map((n) => n.textContent));
        assert.deepEqual(left, ['елкин пётр', 'Ёлкина Анна']);
    } finally {
        await browser.close();
        server.close();
        rmSync(work, { recursive: true, force: true });
    }
});

// Lines the desktop refuses, each for another reason: the page must refuse
// the same lines with the same words.
const Bad = [
    'name,date,time,latitude,longitude,utc_offset,zone_name,zone,sex,lunar_day,extra',
    'A,31.02.1990,,,,,,,,,', 'B,01.01.1990,25:00,,,,,,,,', 'C,01.01.1990,,55,75,,,,,,,',
    'D,01.01.1990,,"55,75",37,,,,,,', 'E,01.01.1990,,91,0,,,,,,', 'F,01.01.1990,,,,+15:00,,,,,',
    'G,01.01.1990,,,,,Europe/Nowhere,,,,', 'H,01.01.1990,,,,,,13,,,', 'I,01.01.1990,,,,,,,x,,',
    'J,01.01.1990,,,,,,,,123,', ',01.01.1990,,,,,,,,,', 'K,,,,,,,,,,', 'L,1.1.1,,,,,,,,,',
    'M,01.01.0001,,,,,,,,,', 'N,01.01.1990,,1e3,5,,,,,,', 'O,01.01.1990,,5,,,,,,,',
    '"P"x,01.01.1990,,,,,,,,,', 'Q,01.01.1990', 'R,"01.01.1990', '',
].join('\r\n');

test('a file the desktop refuses in part is refused by the page line for line, in its words', { skip: !cliBuilt() && 'toravel-cli is not built' }, async () => {
    const work = mkdtempSync(join(tmpdir(), 'toravel-people-'));
    const { server, url } = await startServer();
    const browser = await launch();
    try {
        writeFileSync(join(work, 'bad.csv'), Bad);
        const desktop = await cli(['--people-file', join(work, 'bad.sqlite'), '--people-import', join(work, 'bad.csv')]);
        const expected = desktop.stderr.split('\n').filter((line) => line.startsWith('строка '));
        assert.ok(expected.length > 15, desktop.stderr);
        const page = await browser.context.newPage();
        await page.goto(url);
        await page.waitForFunction(() => /картотеке/.test(document.getElementById('people-status').textContent));
        assert.match(await pageImport(page, join(work, 'bad.csv')), /: 0, пропущено строк: \d+$/);
        const notes = await page.$$eval('#people-notes li', (items) => items.map((i) => i.textContent));
        assert.deepEqual(notes, expected);

        writeFileSync(join(work, 'no-date.csv'), 'name,time\r\nА,12:00\r\n');
        assert.match(await pageImport(page, join(work, 'no-date.csv')), /^Файл не загружен: в заголовке нет столбца «date»/);
    } finally {
        await browser.close();
        server.close();
        rmSync(work, { recursive: true, force: true });
    }
});
