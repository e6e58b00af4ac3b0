// 1,000 random births over 1900–2100 and the world atlas: the page's lunar
// day, preceding new moon (to the minute) and report lines must equal the
// desktop command line's (toravel-cli --json, the birthplace's own clock).
//
//   - most are typed as the coordinates of an atlas place, for which the
//     page takes the zone of the nearest atlas place, the place itself: the
//     command line's batch gets the same place with its zone;
//   - some lie up to about 30 km off an atlas place: the page and
//     `toravel-cli --lat --lon --auto-zone` each find the nearest place;
//   - some are picked from the page's search list as a person would (the
//     first match of the place's name): the batch gets the same name in
//     its `place` column, the atlas's first match with its own zone.
//
// TORAVEL_BIRTHS and TORAVEL_SEED change the count and the births.
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import test from 'node:test';
import { launch, needOrSkip, startServer } from './lib/browser.mjs';
import { atlasSample, birthMoment, random } from './lib/births.mjs';
import { cliBatch, cliBuilt, cliJson } from './lib/native.mjs';
import { calculated, differences, openPage, pickPlace, shownResult } from './lib/page.mjs';

needOrSkip();
const Count = Number(process.env.TORAVEL_BIRTHS ?? 1000);
const Seed = Number(process.env.TORAVEL_SEED ?? 20261210);
const Offset = Math.round(Count * 0.08);
const Picked = Math.round(Count * 0.03);

// Types each birth into the form in the page, presses «расчет» and keeps
// what the page shows; runs inside the page, one birth after another.
async function typeBirths(page, births) {
    return page.evaluate(async (births) => {
        const set = (id, value) => {
            const field = document.getElementById(id);
            field.value = value;
            field.dispatchEvent(new Event('input', { bubbles: true }));
        };
        const shown = [];
        for (const birth of births) {
            set('birth-date', birth.date);
            set('birth-time', birth.time);
            set('latitude', birth.latitude);
            set('longitude', birth.longitude);
            document.getElementById(birth.sex === 'female' ? 'sex-female' : 'sex-male').checked = true;
            const done = new Promise((resolve) =>
                document.addEventListener('toravel:calculated', resolve, { once: true }));
            document.getElementById('birth-form').requestSubmit();
            await done;
            const details = {};
            for (const term of document.querySelectorAll('#result-details dt'))
                details[term.textContent] = term.nextElementSibling.textContent;
            const error = document.getElementById('form-error');
            shown.push({
                error: error.hidden ? null : error.textContent,
                report: [...document.querySelectorAll('#report .report-line')].map((line) => ({
                    text: line.textContent,
                    bold: line.style.fontWeight === '700',
                    size: Math.round(parseFloat(line.style.fontSize) * 12),
                    color: line.style.color,
                })),
                details,
            });
        }
        return shown;
    }, births);
}

test(`${Count} random births: the page equals the command line`, { skip: !cliBuilt() && 'toravel-cli is not built' }, async () => {
    const next = random(Seed);
    const places = await atlasSample(next, 120);
    assert.ok(places.length > 500, `only ${places.length} atlas places found`);
    const births = [];
    for (let i = 0; i < Count; ++i) {
        const place = places[Math.floor(next() * places.length)];
        const kind = i < Offset ? 'offset' : i < Offset + Picked ? 'picked' : 'typed';
        const birth = { ...birthMoment(next), kind, place, sex: next() < 0.5 ? 'male' : 'female' };
        if (kind === 'offset') {
            // Up to about 0.25° off the place, so the nearest may be another.
            birth.latitude = (place.latitude + (next() - 0.5) * 0.5).toFixed(4);
            birth.longitude = (place.longitude + (next() - 0.5) * 0.5).toFixed(4);
        } else {
            // Typed with a decimal comma or point, as people do.
            const comma = next() < 0.5;
            birth.latitude = String(place.latitude).replace('.', comma ? ',' : '.');
            birth.longitude = String(place.longitude).replace('.', comma ? ',' : '.');
        }
        births.push(birth);
    }

    // The command line: one batch for the births at a place, one run each
    // for those off a place (the batch takes no --auto-zone).
    const work = mkdtempSync(join(tmpdir(), 'toravel-births-'));
    const atPlace = births.filter((b) => b.kind !== 'offset');
    const rows = atPlace.map((b) => (b.kind === 'picked'
        ? [b.date, b.time, '', '', '', csvText(b.place.name), b.sex]
        : [b.date, b.time, b.place.latitude, b.place.longitude, b.place.zone, '', b.sex]).join(','));
    const batch = await cliBatch(`date,time,latitude,longitude,zone_name,place,sex\n${rows.join('\n')}\n`, join(work, 'births.csv'));
    rmSync(work, { recursive: true, force: true });
    atPlace.forEach((b, i) => {
        b.expected = batch[i];
    });
    const offsets = births.filter((b) => b.kind === 'offset');
    const queue = [...offsets];
    await Promise.all([0, 1].map(async () => {
        while (queue.length) {
            const b = queue.shift();
            b.expected = await cliJson(['--date', b.date, '--time', b.time, '--lat', b.latitude, '--lon', b.longitude,
                '--auto-zone', '--sex', b.sex]);
        }
    }));

    const { server, url } = await startServer();
    const browser = await launch();
    try {
        const page = await openPage(browser.context, url);
        const typed = births.filter((b) => b.kind !== 'picked');
        const shownTyped = await typeBirths(page, typed);
        typed.forEach((b, i) => {
            b.shown = shownTyped[i];
        });
        for (const b of births.filter((b) => b.kind === 'picked')) {
            await page.fill('#birth-date', b.date);
            await page.fill('#birth-time', b.time);
            await page.check(b.sex === 'female' ? '#sex-female' : '#sex-male');
            await pickPlace(page, b.place.name);
            await calculated(page, () => page.click('#calculate'));
            b.shown = await shownResult(page);
        }
    } finally {
        await browser.close();
        server.close();
    }

    const different = births.map((b) => ({ b, found: differences(b.shown, b.expected) })).filter((d) => d.found.length);
    const errors = births.filter((b) => b.expected.error).length;
    console.log(`births: ${births.length} (${typed(births)}), command-line errors among them: ${errors}, differences: ${different.length}`);
    for (const { b, found } of different.slice(0, 10))
        console.log(`  ${b.kind} ${b.date} ${b.time} ${b.latitude ?? ''} ${b.longitude ?? ''} ${b.place.name}: ${found.join('; ')}`);
    assert.equal(different.length, 0, 'the page and the command line differ');
});

function csvText(text) {
    return /[",\r\n]/.test(text) ? `"${text.replaceAll('"', '""')}"` : text;
}

function typed(births) {
    const count = (kind) => births.filter((b) => b.kind === kind).length;
    return `${count('typed')} at atlas places, ${count('offset')} off them, ${count('picked')} picked from the search`;
}
