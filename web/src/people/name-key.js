// The forms in which person names are compared, sorted and searched, the
// same as the desktop's person file: blanks at either end dropped, letters
// folded by Unicode's full case folding (the desktop's own table). Two names
// are one person when their keys are equal; the list is sorted by the key
// with ё read as е, then by the key, comparing code points as the desktop's
// UTF-8 byte order does.
import { CaseFoldingRows } from './case-folding.generated.js';

let folding = null;
function foldingTable() {
    if (!folding) {
        folding = new Map();
        for (const entry of CaseFoldingRows.split(',')) {
            const [from, to] = entry.split(':');
            folding.set(parseInt(from, 36), String.fromCodePoint(...to.split('.').map((t) => parseInt(t, 36))));
        }
    }
    return folding;
}

const Blanks = new Set([0x20, 0x09, 0xa0, 0x2007, 0x202f, 0x3000,
    0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005, 0x2006, 0x2008, 0x2009, 0x200a]);

export function trimmedName(name) {
    const points = [...name];
    let begin = 0;
    let end = points.length;
    while (begin < end && Blanks.has(points[begin].codePointAt(0)))
        ++begin;
    while (end > begin && Blanks.has(points[end - 1].codePointAt(0)))
        --end;
    return points.slice(begin, end).join('');
}

export function foldCase(text) {
    const table = foldingTable();
    let folded = '';
    for (const c of text)
        folded += table.get(c.codePointAt(0)) ?? c;
    return folded;
}

export function nameKey(name) {
    return foldCase(trimmedName(name));
}

export function nameSortKey(name) {
    return nameKey(name).replaceAll('ё', 'е');
}

// Code-point order, as the desktop compares UTF-8 bytes (JavaScript's own
// comparison of UTF-16 units puts U+E000…U+FFFF after the astral planes).
export function compareCodePoints(a, b) {
    const x = [...a];
    const y = [...b];
    for (let i = 0; i < Math.min(x.length, y.length); ++i) {
        const d = x[i].codePointAt(0) - y[i].codePointAt(0);
        if (d !== 0)
            return d;
    }
    return x.length - y.length;
}

export function comparePeople(a, b) {
    return compareCodePoints(nameSortKey(a.name), nameSortKey(b.name)) ||
        compareCodePoints(nameKey(a.name), nameKey(b.name));
}
