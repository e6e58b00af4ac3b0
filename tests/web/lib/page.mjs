// Driving the page as a person would: typing into its fields, picking a
// place from the search list, pressing «расчет», and reading what it shows.
export async function openPage(context, url) {
    const page = context.pages()[0] ?? await context.newPage();
    await page.goto(url);
    return page;
}

// Waits for the page's own word that a calculation ended, started by
// action(); resolves to {result, message}.
export async function calculated(page, action) {
    const outcome = page.evaluate(() => new Promise((resolve) =>
        document.addEventListener('toravel:calculated', (event) => resolve(event.detail), { once: true })));
    await action();
    return outcome;
}

// Types the text into the place search and picks the option whose label is
// `label` (the first option when label is null).
export async function pickPlace(page, text, label = null) {
    const search = page.locator('#place-search');
    await search.fill('');
    await search.pressSequentially(text, { delay: 5 });
    const option = label === null
        ? page.locator('#place-results [role=option]').first()
        : page.locator('#place-results [role=option]', { hasText: label }).first();
    await option.waitFor();
    await page.waitForFunction((t) => document.querySelector('#place-search').value === t ||
        document.querySelector('#place-status').textContent.startsWith('найдено'), text);
    await option.click();
}

// What the page shows of its result.
export async function shownResult(page) {
    return page.evaluate(() => {
        const details = {};
        const terms = [...document.querySelectorAll('#result-details dt')];
        for (const term of terms)
            details[term.textContent] = term.nextElementSibling.textContent;
        return {
            error: document.getElementById('form-error').hidden ? null : document.getElementById('form-error').textContent,
            report: [...document.querySelectorAll('#report .report-line')].map((line) => ({
                text: line.textContent,
                bold: line.style.fontWeight === '700',
                size: Math.round(parseFloat(line.style.fontSize) * 12),
                color: line.style.color,
            })),
            details,
        };
    });
}

// "#ff00ff" as the browser writes a colour it was given: "rgb(255, 0, 255)".
export function rgb(hex) {
    const n = parseInt(hex.slice(1), 16);
    return `rgb(${n >> 16}, ${(n >> 8) & 255}, ${n & 255})`;
}

// The page's result against the command line's document: the lunar day,
// the preceding new moon to the minute, and the four report lines with
// their formats. Returns the differences as texts (none: equal).
export function differences(shown, doc) {
    const found = [];
    if (doc.error) {
        if (shown.error === null || !shown.error.includes(doc.error.message))
            found.push(`error: page ${JSON.stringify(shown.error)}, command line ${JSON.stringify(doc.error.message)}`);
        return found;
    }
    if (shown.error !== null)
        found.push(`page error ${JSON.stringify(shown.error)}`);
    const lunarDay = (shown.details['Лунный день'] ?? '').split(' ')[0];
    if (lunarDay !== String(doc.lunar_day))
        found.push(`lunar day: page ${lunarDay}, command line ${doc.lunar_day}`);
    const minute = (text) => (text ?? '').replace(/:\d\d$/, '');
    const newMoon = shown.details['Предшествующее новолуние'];
    if (minute(newMoon) !== minute(doc.preceding_new_moon_text))
        found.push(`new moon: page ${newMoon}, command line ${doc.preceding_new_moon_text}`);
    const expected = doc.report.map((line) => ({ text: line.text, bold: line.bold, size: line.size, color: rgb(line.color) }));
    if (JSON.stringify(shown.report) !== JSON.stringify(expected))
        found.push(`report: page ${JSON.stringify(shown.report)}, command line ${JSON.stringify(expected)}`);
    return found;
}

// Opens a link and waits for what it shows: {result} or {error}.
export async function openLink(page, url) {
    await page.goto(url);
    await page.waitForFunction(() => document.body.dataset.busy === 'no' &&
        (!document.getElementById('result').hidden || !document.getElementById('form-error').hidden));
    return page.evaluate(() => {
        const error = document.getElementById('form-error');
        return { result: !document.getElementById('result').hidden && error.hidden, error: error.hidden ? null : error.textContent };
    });
}
