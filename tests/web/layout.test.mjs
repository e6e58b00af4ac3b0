// The page on a 360 × 740 phone and a 1366 × 768 computer: nothing wider
// than the screen, the report's lines and the month readable without
// sideways scrolling, and the print of a result one page. Screenshots go
// to TORAVEL_SCREENSHOTS (the build folder by default; docs/screenshots
// for the documentation: make web-screenshots).
import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import test from 'node:test';
import { launch, needOrSkip, Root, startServer } from './lib/browser.mjs';
import { openLink } from './lib/page.mjs';

needOrSkip();
const Shots = process.env.TORAVEL_SCREENSHOTS ?? join(Root, 'build-web', 'screenshots');
const Link = '?date=17.05.1990&time=14:30&place=Тарту&sex=female';

test('phone and computer: nothing sticks out, print is one page', async () => {
    mkdirSync(Shots, { recursive: true });
    const { server, url } = await startServer();
    const failures = [];
    try {
        for (const [name, viewport] of [['phone', { width: 360, height: 740 }], ['desktop', { width: 1366, height: 768 }]]) {
            const browser = await launch({ viewport, deviceScaleFactor: 1 });
            try {
                const page = await browser.context.newPage();
                const opened = await openLink(page, url + Link);
                assert.ok(opened.result, opened.error);
                await page.waitForSelector('#month-table tbody tr');
                const wide = await page.evaluate(() => [...document.querySelectorAll('body *')]
                    .filter((e) => e.getBoundingClientRect().right > document.documentElement.clientWidth + 1 &&
                        getComputedStyle(e).position !== 'absolute' && e.offsetParent !== null)
                    .map((e) => `${e.tagName.toLowerCase()}#${e.id}.${e.className}`).slice(0, 5));
                if (wide.length)
                    failures.push(`${name}: wider than the screen: ${wide.join(', ')}`);
                await page.evaluate(() => window.scrollTo(0, 0));
                await page.screenshot({ path: join(Shots, `web-${name}-form.png`) });
                await page.evaluate(() => document.getElementById('result').scrollIntoView());
                await page.screenshot({ path: join(Shots, `web-${name}-report.png`) });
                await page.evaluate(() => document.getElementById('month').scrollIntoView());
                await page.screenshot({ path: join(Shots, `web-${name}-month.png`) });
                await page.evaluate(() => document.getElementById('birth').scrollIntoView());
                await page.fill('#place-search', '');
                await page.locator('#place-search').pressSequentially('Моск', { delay: 5 });
                await page.locator('#place-results [role=option]').first().waitFor();
                await page.screenshot({ path: join(Shots, `web-${name}-search.png`) });
                await page.keyboard.press('Enter');
                await page.click('[data-picture=amulet]');
                await page.waitForFunction(() => document.getElementById('picture-image').complete);
                await page.screenshot({ path: join(Shots, `web-${name}-picture.png`) });
                await page.click('#picture-close');
                if (name === 'desktop') {
                    const pdf = await page.pdf({ format: 'A4' });
                    const pages = (pdf.toString('latin1').match(/\/Type\s*\/Page[^s]/g) ?? []).length;
                    if (pages !== 1)
                        failures.push(`the print has ${pages} pages`);
                }
            } finally {
                await browser.close();
            }
        }
    } finally {
        server.close();
    }
    assert.deepEqual(failures, []);
});
