// The WebAssembly module against the native program, document for document:
// births at random atlas places and moments of 1900–2100 through
// `toravel-cli --batch`, months through `toravel-cli --month … --json`, and
// bad requests against the same options given to toravel-cli (links are
// the browser checks' business, tests/web/link.test.mjs). Every key of every
// document must be equal; the difference of a last bit between the two
// builds' mathematics would show as a moment or a lunar day off.
//
//   node tests/web/core/core_matches_native.test.mjs
//   (TORAVEL_BUILD: the native build, default build/; TORAVEL_WEB_BUILD:
//   the web build, default build-web/; TORAVEL_CORE_BIRTHS: how many)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import test from 'node:test';
import { birthMoment, random as generator } from '../lib/births.mjs';

const Root = resolve(new URL('../../..', import.meta.url).pathname);
const Build = resolve(process.env.TORAVEL_BUILD ?? join(Root, 'build'));
const WebBuild = resolve(process.env.TORAVEL_WEB_BUILD ?? join(Root, 'build-web'));
const Births = Number(process.env.TORAVEL_CORE_BIRTHS ?? 2000);

import { existsSync } from 'node:fs';
if (!existsSync(join(WebBuild, 'core', 'core-module.wasm')) || !existsSync(join(Build, 'web-data'))) {
  // Skipped where the web build was not made; CI makes it, and there a
  // missing module is a failure.
  console.log(`no web build in ${WebBuild} (make web-core) or no ${Build}/web-data`);
  process.exit(process.env.CI === 'true' ? 1 : 77);
}
const { default: createToravelCore } = await import(join(WebBuild, 'core', 'toravel-core.js'));
const core = await createToravelCore({
  wasmBinary: readFileSync(join(WebBuild, 'core', 'core-module.wasm')),
});
const data = (name) => readFileSync(join(Build, 'web-data', name));
assert.equal(core.loadCalendar(data('calendar.json').toString('utf8')), '');
assert.equal(core.loadZones(new Uint8Array(data('zones.bin'))), '');
assert.equal(core.loadAtlas(new Uint8Array(data('atlas.bin'))), '');

function cli(args, input) {
  return execFileSync(join(Build, 'toravel-cli'), ['--db', join(Build, 'db'), ...args], {
    encoding: 'utf8', input, stdio: ['pipe', 'pipe', 'ignore'], maxBuffer: 1 << 28,
    env: { ...process.env, TZ: 'UTC' },
  });
}
function cliJson(args) {
  try {
    return JSON.parse(cli([...args, '--json']));
  } catch (failure) {
    return JSON.parse(failure.stdout); // a usage or data error is a document too
  }
}

// The atlas's places from its bundle: name, latitude, longitude, zone.
function atlasPlaces() {
  const lines = data('atlas.bin').toString('utf8').split('\n');
  let at = 1;
  const table = () => { const n = Number(lines[at]); const t = lines.slice(at + 1, at + 1 + n); at += n + 1; return t; };
  const zones = table(); table(); table();
  const count = Number(lines[at]);
  return lines.slice(at + 1, at + 1 + count).map((line) => {
    const f = line.split('\t');
    return { name: f[0], latitude: f[4], longitude: f[5], zone: zones[Number(f[6])] };
  });
}

test('births: every document of the module equals the command line batch\'s', () => {
  const random = generator(20261210);
  const places = atlasPlaces();
  const births = [];
  for (let i = 0; i < Births; ++i) {
    const place = places[Math.floor(random() * places.length)];
    births.push({
      ...birthMoment(random),
      latitude: place.latitude, longitude: place.longitude, zone_name: place.zone,
      sex: random() < 0.5 ? 'male' : 'female',
      listing: random() < 0.1,
    });
  }
  const folder = mkdtempSync(join(tmpdir(), 'toravel-core-'));
  try {
    const csv = ['date,time,latitude,longitude,zone_name,sex',
      ...births.map((b) => [b.date, b.time, b.latitude, b.longitude, b.zone_name, b.sex].join(','))];
    writeFileSync(join(folder, 'births.csv'), csv.join('\n') + '\n');
    let batch;
    try {
      batch = cli(['--batch', join(folder, 'births.csv')]);
    } catch (failure) {
      batch = failure.stdout; // some births fail alike in both (status 1)
    }
    const native = batch.trim().split('\n').map((line) => JSON.parse(line));
    assert.equal(native.length, births.length);
    let different = 0;
    births.forEach((birth, i) => {
      const { listing, ...request } = birth;
      const ours = JSON.parse(core.calculate(JSON.stringify(request)));
      const theirs = native[i];
      delete theirs.line;
      if (JSON.stringify(ours) !== JSON.stringify(theirs)) {
        ++different;
        if (different <= 3)
          assert.deepEqual(ours, theirs, `birth ${JSON.stringify(birth)}`);
      }
      if (listing) { // the listings of new moons and moonrises, as --list writes them
        const listed = JSON.parse(core.calculate(JSON.stringify({ ...request, listing: true })));
        const args = ['--date', birth.date, '--time', birth.time, '--lat', birth.latitude,
          '--lon', birth.longitude, '--zone-name', birth.zone_name, '--sex', birth.sex, '--list'];
        assert.deepEqual(listed, cliJson(args), `listing of ${JSON.stringify(birth)}`);
      }
    });
    assert.equal(different, 0);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});

test('months: a polar place, half-hour and southern zones, clock changes', () => {
  const months = [
    ['12.2026', 'Мурманск'], ['06.2026', 'Мурманск'], ['06.2024', 'Норильск'],
    ['03.2027', 'Тарту'], ['10.2027', 'Тарту'], ['03.2011', 'Москва'], ['10.1990', 'Москва'],
    ['01.2026', 'Калькутта'], ['11.2026', 'Сидней'], ['04.2026', 'Аделаида'],
    ['07.2050', 'Чикаго'], ['03.2038', 'Берлин'],
  ];
  for (const [month, place] of months) {
    const ours = JSON.parse(core.month(JSON.stringify({ month, place })));
    assert.deepEqual(ours, cliJson(['--month', month, '--place', place]), `${month} ${place}`);
  }
  const typed = { month: '05.2025', latitude: '64,1466', longitude: '-21,9426', zone_name: 'Atlantic/Reykjavik' };
  assert.deepEqual(JSON.parse(core.month(JSON.stringify(typed))),
    cliJson(['--month', typed.month, '--lat', typed.latitude, '--lon', typed.longitude, '--zone-name', typed.zone_name]));
});

test('bad requests get the command line\'s documents and messages', () => {
  const cases = [
    [{ date: '32.05.1990', place: 'Тарту' }, ['--date', '32.05.1990', '--place', 'Тарту']],
    [{ date: '17.05.1990', time: '25:00', place: 'Тарту' }, ['--date', '17.05.1990', '--time', '25:00', '--place', 'Тарту']],
    [{ date: '17.05.1990', place: 'Нигдебург' }, ['--date', '17.05.1990', '--place', 'Нигдебург']],
    [{ date: '17.05.1990', latitude: '0', longitude: '-30' }, ['--date', '17.05.1990', '--lat', '0', '--lon', '-30']],
    [{ date: '17.05.1990', latitude: '95', longitude: '30', utc_offset: '+03:00' }, ['--date', '17.05.1990', '--lat', '95', '--lon', '30', '--utc-offset', '+03:00']],
    [{ date: '17.05.1990', place: 'Тарту', zone_name: 'Europe/Atlantis' }, ['--date', '17.05.1990', '--place', 'Тарту', '--zone-name', 'Europe/Atlantis']],
    [{ date: '17.05.1990', place: 'Тарту', utc_offset: '+15:00' }, ['--date', '17.05.1990', '--place', 'Тарту', '--utc-offset', '+15:00']],
    [{ date: '17.05.1990', place: 'Тарту', lunar_day: '123' }, ['--date', '17.05.1990', '--place', 'Тарту', '--lunar-day', '123']],
    [{ date: '17.05.1990', latitude: 'abc', longitude: '26', utc_offset: '+03' }, ['--date', '17.05.1990', '--lat', 'abc', '--lon', '26', '--utc-offset', '+03']],
  ];
  for (const [request, args] of cases) {
    const theirs = cliJson(args);
    // The page has no window's hours (--zone) to offer among the clocks.
    if (theirs.error)
      theirs.error.message = theirs.error.message.replace('--utc-offset, --zone-name или --zone',
        '--utc-offset или --zone-name');
    assert.deepEqual(JSON.parse(core.calculate(JSON.stringify(request))), theirs, JSON.stringify(request));
  }
});
