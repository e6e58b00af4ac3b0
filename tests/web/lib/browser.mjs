// What the browser checks share: the built site served on a free port of
// this machine, and Debian's Chromium driven headless by playwright-core,
// with a fresh profile and nothing that reaches out on its own (no
// background networking, component updates or sync).
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

export const Root = resolve(fileURLToPath(new URL('../../..', import.meta.url)));
const webModules = join(Root, 'web', 'node_modules');

// Where the site and its file list are; TORAVEL_SITE points elsewhere.
export const SiteDir = resolve(process.env.TORAVEL_SITE ?? join(Root, 'build-web', 'site'));
export const NativeBuild = resolve(process.env.TORAVEL_BUILD ?? join(Root, 'build'));
export const Chromium = process.env.TORAVEL_CHROMIUM ?? '/usr/bin/chromium';

// Exit status CTest reads as "skipped" (SKIP_RETURN_CODE).
export const SkipStatus = 77;

// Stops the check as skipped, saying why, when something it needs is not
// built or installed here. Under CI every check must run: there a missing
// piece is a failure.
export function needOrSkip() {
    const missing = [];
    if (!existsSync(join(SiteDir, 'index.html')))
        missing.push(`the site (${SiteDir}; make web-build)`);
    if (!existsSync(Chromium))
        missing.push(`Chromium (${Chromium}; .ci/install-packages)`);
    if (!existsSync(join(webModules, 'playwright-core')))
        missing.push('playwright-core (npm ci in web/)');
    if (missing.length) {
        console.log(`skipped: missing ${missing.join(', ')}`);
        process.exit(process.env.CI ? 1 : SkipStatus);
    }
}

export function siteFiles() {
    return JSON.parse(readFileSync(join(SiteDir, '..', 'site-files.json'), 'utf8'));
}

export async function startServer() {
    const { serve } = await import(join(Root, 'web', 'tools', 'serve.mjs'));
    return serve({ root: SiteDir, port: 0 });
}

export const ChromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-default-apps', '--no-default-browser-check', '--lang=ru-RU'];

// A browser with a fresh profile: {context, close()}. Options go to
// Playwright's persistent context (viewport, bypassCSP, …).
export async function launch(options = {}) {
    const { chromium } = await import(join(webModules, 'playwright-core', 'index.mjs'));
    const profile = mkdtempSync(join(tmpdir(), 'toravel-chromium-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: Chromium,
        headless: true,
        args: ChromiumFlags,
        locale: 'ru-RU',
        timezoneId: 'Europe/Moscow',
        viewport: { width: 1366, height: 768 },
        ...options,
    });
    return {
        context,
        async close() {
            await context.close();
            rmSync(profile, { recursive: true, force: true });
        },
    };
}

// Waits until the page shows a result or an error for the latest action.
export async function waitForOutcome(page) {
    await page.waitForFunction(() => document.body.dataset.busy !== 'yes' &&
        (!document.getElementById('result').hidden || !document.getElementById('form-error').hidden));
}
