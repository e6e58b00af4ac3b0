// What the page asks for and what it lets in: every request of a visit
// that does everything (a link's result, the search, the month, every
// picture, the people) goes to the page's own origin, and is listed; the
// Content-Security-Policy refuses nothing the page does (so it needs no
// eval and no inline script); markup typed into a link or a file stays
// text; axe-core finds no serious or critical accessibility violation.
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import test from 'node:test';
import { launch, needOrSkip, Root, startServer } from './lib/browser.mjs';
import { calculated, openLink, pickPlace } from './lib/page.mjs';

needOrSkip();

test('every request stays on the origin and the policy refuses nothing', async () => {
    const { server, url } = await startServer();
    const origin = new URL(url).origin;
    const browser = await launch();
    const requests = [];
    const foreign = [];
    const refused = [];
    const work = mkdtempSync(join(tmpdir(), 'toravel-security-'));
    try {
        await browser.context.route('**/*', (route) => {
            const address = route.request().url();
            requests.push(`${route.request().method()} ${address}`);
            if (new URL(address).origin !== origin && !address.startsWith('blob:') && !address.startsWith('data:')) {
                foreign.push(address);
                return route.abort();
            }
            return route.continue();
        });
        const page = await browser.context.newPage();
        page.on('console', (message) => {
            if (/Content.Security.Policy|Refused to/i.test(message.text()))
                refused.push(message.text());
        });
        page.on('dialog', (dialog) => dialog.accept());
        assert.ok((await openLink(page, `${url}?date=17.05.1990&time=14:30&place=Тарту&sex=female`)).result);
        await pickPlace(page, 'Кинешма');
        await calculated(page, () => page.click('#calculate'));
        await page.click('#month-next');
        for (const picture of ['meaning', 'massage', 'gymnastics', 'amulet']) {
            await page.click(`[data-picture=${picture}]`);
            await page.waitForFunction(() => document.getElementById('picture-image').complete);
            await page.click('#picture-close');
        }
        const markup = '<img src=x onerror=alert(1)>';
        writeFileSync(join(work, 'markup.csv'), `name,date\r\n${markup},01.01.2000\r\n`);
        await page.setInputFiles('#people-import', join(work, 'markup.csv'));
        await page.waitForFunction(() => /^Загружено/.test(document.getElementById('people-status').textContent));
        assert.equal(await page.textContent('#people-list .person-name'), markup);
        assert.equal(await page.locator('#people-list img').count(), 0, 'a name became markup');
        await page.goto(`${url}?date=17.05.1990&place=${encodeURIComponent(markup)}`);
        await page.waitForFunction(() => document.body.dataset.busy === 'no');
        assert.equal(await page.locator('main img').count(), 0, 'a link parameter became markup');
        assert.ok(await page.isVisible('#form-error'), 'a bad link says why');
    } finally {
        await browser.close();
        server.close();
        rmSync(work, { recursive: true, force: true });
    }
    console.log(`requests of the visit (${requests.length}):\n  ${[...new Set(requests)].join('\n  ')}`);
    assert.deepEqual(foreign, [], 'requests to other origins');
    assert.deepEqual(refused, [], 'refused by the Content-Security-Policy');
});

test('axe-core finds no serious or critical violation', async () => {
    const { server, url } = await startServer();
    const failures = [];
    try {
        for (const viewport of [{ width: 360, height: 740 }, { width: 1366, height: 768 }]) {
            // axe is put into the page from outside, which the policy would refuse.
            const browser = await launch({ viewport, bypassCSP: true });
            try {
                const page = await browser.context.newPage();
                await openLink(page, `${url}?date=17.05.1990&time=14:30&lat=58.38&lon=26.72&zone=Europe/Tallinn`);
                await page.waitForSelector('#month-table tbody tr');
                await page.addScriptTag({ path: join(Root, 'web/node_modules/axe-core/axe.min.js') });
                const check = () => page.evaluate(async () => {
                    const result = await window.axe.run(document, {
                        runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice'] },
                    });
                    return result.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
                        .map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(' ')).slice(0, 5).join(', ')}`);
                });
                failures.push(...(await check()).map((v) => `${viewport.width}px: ${v}`));
                await page.click('[data-picture=meaning]');
                failures.push(...(await check()).map((v) => `${viewport.width}px, picture open: ${v}`));
            } finally {
                await browser.close();
            }
        }
    } finally {
        server.close();
    }
    assert.deepEqual(failures, []);
});
