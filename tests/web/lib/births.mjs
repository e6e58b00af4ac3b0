// Random births for the comparisons with the command line: the same births
// for the same seed. Places come from the world atlas itself, found by
// random two-letter beginnings of names, so they spread over the countries
// rather than crowd in one.
import { atlasPlaces } from './native.mjs';

export function random(seed) {
    let state = seed >>> 0;
    return () => {
        state = (state + 0x6d2b79f5) >>> 0;
        let t = state;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

const two = (n) => String(n).padStart(2, '0');

export async function atlasSample(next, prefixes) {
    const letters = 'ABCDEFGHIJKLMNOPRSTUVWYZ';
    const vowels = 'aeiouy';
    const asked = new Set();
    prefixes = Math.min(prefixes, letters.length * vowels.length);
    while (asked.size < prefixes)
        asked.add(letters[Math.floor(next() * letters.length)] + vowels[Math.floor(next() * vowels.length)]);
    const places = new Map();
    const queue = [...asked];
    const worker = async () => {
        while (queue.length) {
            for (const place of await atlasPlaces(queue.shift()))
                places.set(`${place.name} ${place.latitude} ${place.longitude}`, place);
        }
    };
    await Promise.all([worker(), worker()]);
    return [...places.values()].sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : a.latitude - b.latitude));
}

// A birth moment uniform over the days of 1900–2100 and the minutes of a day.
export function birthMoment(next) {
    const first = Date.UTC(1900, 0, 1);
    const last = Date.UTC(2100, 11, 31);
    const day = new Date(first + Math.floor(next() * ((last - first) / 86400000 + 1)) * 86400000);
    const minute = Math.floor(next() * 1440);
    return {
        date: `${two(day.getUTCDate())}.${two(day.getUTCMonth() + 1)}.${day.getUTCFullYear()}`,
        time: `${two(Math.floor(minute / 60))}:${two(minute % 60)}`,
    };
}
