// The desktop's command line, the reference the page is held to.
import { execFile } from 'node:child_process';
import { existsSync } from 'node:fs';
import { join } from 'node:path';
import { promisify } from 'node:util';
import { NativeBuild } from './browser.mjs';

const run = promisify(execFile);
export const Cli = join(NativeBuild, 'toravel-cli');
export const Db = join(NativeBuild, 'db');

export function cliBuilt() {
    return existsSync(Cli) && existsSync(join(Db, 'bd.mdb'));
}

const environment = { ...process.env, TZ: 'UTC', LC_ALL: 'C.UTF-8' };

// Runs toravel-cli; resolves to {status, stdout, stderr} whatever the status.
export async function cli(args, options = {}) {
    try {
        const { stdout, stderr } = await run(Cli, ['--db', Db, ...args],
            { env: environment, maxBuffer: 1 << 30, ...options });
        return { status: 0, stdout, stderr };
    } catch (error) {
        if (typeof error.code !== 'number')
            throw error;
        return { status: error.code, stdout: error.stdout, stderr: error.stderr };
    }
}

export async function cliJson(args) {
    const { stdout } = await cli([...args, '--json']);
    return JSON.parse(stdout);
}

// The batch's documents, one per line of the CSV text, in order.
export async function cliBatch(csvText, csvPath) {
    const { writeFileSync } = await import('node:fs');
    writeFileSync(csvPath, csvText);
    const { stdout } = await cli(['--batch', csvPath]);
    return stdout.trim().split('\n').map((line) => JSON.parse(line));
}

// The atlas places whose names begin with text (at most 20).
export async function atlasPlaces(text) {
    const doc = await cliJson(['--places', text]);
    return doc.places ?? [];
}
