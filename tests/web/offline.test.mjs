// Offline after one visit: the service worker has cached the page, the
// core, the calendar data, and the atlas and the picture that visit used;
// with the server gone, a reload of a link still calculates, the search
// still finds places and the picture still shows.
import assert from 'node:assert/strict';
import test from 'node:test';
import { launch, needOrSkip, startServer } from './lib/browser.mjs';
import { calculated, differences, openLink, pickPlace, shownResult } from './lib/page.mjs';

needOrSkip();

test('after one visit the page calculates with no network', async () => {
    const { server, url } = await startServer();
    const browser = await launch();
    try {
        const page = await browser.context.newPage();
        await page.goto(url);
        await page.evaluate(async () => {
            await navigator.serviceWorker.ready;
            if (!navigator.serviceWorker.controller)
                await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true }));
        });
        await page.fill('#birth-date', '17.05.1990');
        await page.fill('#birth-time', '14:30');
        await pickPlace(page, 'Тарту');
        await calculated(page, () => page.click('#calculate'));
        const online = await shownResult(page);
        assert.equal(online.error, null);
        await page.click('[data-picture=meaning]');
        await page.waitForFunction(() => document.getElementById('picture-image').complete &&
            document.getElementById('picture-image').naturalWidth > 0);
        await page.click('#picture-close');
        const link = page.url();

        // The network goes: the server stops and drops its connections.
        server.closeAllConnections();
        await new Promise((resolve) => server.close(resolve));
        const fromNetwork = [];
        page.on('response', (response) => {
            if (!response.fromServiceWorker())
                fromNetwork.push(response.url());
        });
        const outcome = await openLink(page, link);
        assert.ok(outcome.result, `offline: ${(await shownResult(page)).error}`);
        assert.deepEqual(differences(await shownResult(page), {
            lunar_day: Number(online.details['Лунный день']),
            preceding_new_moon_text: online.details['Предшествующее новолуние'],
            report: online.report.map((l) => ({ ...l, color: `#${l.color.match(/\d+/g).map((n) => Number(n).toString(16).padStart(2, '0')).join('')}` })),
            error: null,
        }), []);
        await pickPlace(page, 'Москва');
        await page.click('[data-picture=meaning]');
        await page.waitForFunction(() => document.getElementById('picture-image').complete);
        assert.ok(await page.evaluate(() => document.getElementById('picture-image').naturalWidth > 0),
            'the picture shown before shows offline');
        assert.deepEqual(fromNetwork, [], 'every response came from the service worker');
    } finally {
        await browser.close();
        server.close();
    }
});
