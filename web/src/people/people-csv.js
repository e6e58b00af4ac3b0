// The people's CSV file, in exactly the columns, forms and quoting of the
// desktop's person-file export, so a file moves between this page and the
// desktop both ways unchanged: a header line and one record per person,
// sorted by name, UTF-8, fields quoted as RFC 4180 wants (and when they
// begin or end with a blank), CRLF line ends.
//
// Reading takes what the desktop's import takes: the columns in any order
// and any case, `name` and `date` required, unknown columns named in a note
// and left out, each value read into its usual form (dates ДД.ММ.ГГГГ,
// degrees with a point), every line not taken noted with why.
import { comparePeople, nameKey } from './name-key.js';

export const Columns = ['name', 'date', 'time', 'place', 'latitude', 'longitude',
    'utc_offset', 'zone_name', 'zone', 'sex', 'lunar_day', 'note'];

const MaxName = 10000;
const MaxPlace = 1000;
const MaxNote = 100000;

// ---- Writing -------------------------------------------------------------

export function csvField(value) {
    const needsQuotes = /[,"\r\n]/.test(value) || value.startsWith('\uFEFF') ||
        /^[ \t]|[ \t]$/.test(value);
    return needsQuotes ? `"${value.replaceAll('"', '""')}"` : value;
}

function csvRecord(fields) {
    if (fields.length === 1 && fields[0] === '')
        return '""\r\n';
    return `${fields.map(csvField).join(',')}\r\n`;
}

// People are records with the columns' names as keys, values as texts in
// their usual forms ('' for none).
export function exportPeople(people) {
    const sorted = [...people].sort(comparePeople);
    return csvRecord(Columns) + sorted.map((p) => csvRecord(Columns.map((c) => p[c] ?? ''))).join('');
}

// ---- Reading --------------------------------------------------------------

// Records of an RFC 4180 text: {line, fields, error}. Records end at CRLF,
// LF or a lone CR outside quotes; empty lines are skipped; a leading byte
// order mark is dropped.
export function parseCsv(text) {
    const records = [];
    let at = text.startsWith('\uFEFF') ? 1 : 0;
    let line = 1;
    const n = text.length;
    while (at < n) {
        while (at < n && (text[at] === '\n' || text[at] === '\r')) {
            at += text[at] === '\r' && text[at + 1] === '\n' ? 2 : 1;
            ++line;
        }
        if (at >= n)
            break;
        const record = { line, fields: [], error: '' };
        const fail = (message) => {
            record.error ||= message;
        };
        let field = '';
        let state = 'start';
        let quoteLine = 0;
        for (;;) {
            if (at >= n) {
                if (state === 'quoted')
                    fail(`кавычка, открытая в строке ${quoteLine}, не закрыта до конца файла`);
                record.fields.push(field);
                break;
            }
            const c = text[at++];
            if (c === '\0') {
                fail(`нулевой байт (NUL) в строке ${line}`);
                continue;
            }
            if (c === '\n' || c === '\r') {
                const crlf = c === '\r' && text[at] === '\n';
                if (crlf)
                    ++at;
                if (state !== 'quoted') {
                    record.fields.push(field);
                    ++line;
                    break;
                }
                ++line;
                field += crlf ? '\r\n' : c;
                continue;
            }
            if (state === 'start') {
                if (c === '"') {
                    state = 'quoted';
                    quoteLine = line;
                    continue;
                }
                state = 'unquoted';
            }
            if (state === 'unquoted') {
                if (c === ',') {
                    record.fields.push(field);
                    field = '';
                    state = 'start';
                } else {
                    if (c === '"')
                        fail(`кавычка внутри поля без кавычек в строке ${line}`);
                    field += c;
                }
            } else if (state === 'quoted') {
                if (c === '"') {
                    if (text[at] === '"') {
                        ++at;
                        field += '"';
                    } else {
                        state = 'after';
                    }
                } else {
                    field += c;
                }
            } else if (c === ',') {
                record.fields.push(field);
                field = '';
                state = 'start';
            } else {
                fail(`текст после закрывающей кавычки в строке ${line}`);
                field += c;
            }
        }
        records.push(record);
    }
    return records;
}

const trim = (text) => text.replace(/^[ \t]+|[ \t]+$/g, '');
const two = (n) => String(n).padStart(2, '0');

function quoted(value) {
    const points = [...value];
    return `«${points.slice(0, 40).join('')}${points.length > 40 ? '…' : ''}»`;
}

// The readers of single values: [problem, value]; problem '' when read.
export function readBirthDate(cell) {
    const text = trim(cell);
    let m = /^(\d{4})-(\d{2})-(\d{2})$/.exec(text);
    let year; let month; let day;
    if (m) {
        [year, month, day] = [Number(m[1]), Number(m[2]), Number(m[3])];
    } else if ((m = /^(\d{1,2})\.(\d{1,2})\.(\d{4})$/.exec(text))) {
        [day, month, year] = [Number(m[1]), Number(m[2]), Number(m[3])];
    } else {
        return [`${quoted(cell)} — нужна дата ДД.ММ.ГГГГ или ГГГГ-ММ-ДД`, ''];
    }
    const leap = (year % 4 === 0 && year % 100 !== 0) || year % 400 === 0;
    const days = [31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31];
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > days[month - 1])
        return [`${quoted(cell)} — такой даты нет`, ''];
    if (year < 2 || year > 9998)
        return [`${quoted(cell)} — год вне 2 … 9998`, ''];
    return ['', `${two(day)}.${two(month)}.${String(year).padStart(4, '0')}`];
}

export function readBirthTime(cell) {
    const text = trim(cell);
    if (!text)
        return ['', '00:00'];
    const m = /^(\d{1,2}):(\d{2})(?::(\d{2}))?$/.exec(text);
    if (!m)
        return [`${quoted(cell)} — нужно время ЧЧ:ММ или ЧЧ:ММ:СС`, ''];
    const [hour, minute, second] = [Number(m[1]), Number(m[2]), Number(m[3] ?? 0)];
    if (hour > 23 || minute > 59 || second > 59)
        return [`${quoted(cell)} — такого времени нет`, ''];
    return ['', `${two(hour)}:${two(minute)}${m[3] !== undefined ? `:${two(second)}` : ''}`];
}

export function readDegrees(cell, limit) {
    const text = trim(cell);
    const shape = `${quoted(cell)} — нужно число градусов с точкой (55.75)`;
    // Plain decimals only: no exponent, no "Infinity", no hexadecimal.
    let digits = 0;
    let point = false;
    for (let i = /^[+-]/.test(text) ? 1 : 0; i < text.length; ++i) {
        const c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c === '.' && !point)
            point = true;
        else if (c === ',' && !point)
            return [`${quoted(cell)} — нужна десятичная точка, не запятая`, null];
        else
            return [shape, null];
    }
    if (digits === 0)
        return [shape, null];
    const value = Number(text);
    if (Math.abs(value) > limit)
        return [`${quoted(cell)}${limit === 90 ? ' — широта вне −90 … 90' : ' — долгота вне −180 … 180'}`, null];
    return ['', value];
}

export function readUtcOffset(cell) {
    const text = trim(cell);
    if (!text)
        return ['', ''];
    const m = /^[+-](\d{2}):(\d{2})$/.exec(text);
    if (!m)
        return [`${quoted(cell)} — нужно смещение ±ЧЧ:ММ (+03:00)`, ''];
    const [hours, minutes] = [Number(m[1]), Number(m[2])];
    if (minutes > 59 || hours * 60 + minutes > 14 * 60)
        return [`${quoted(cell)} — смещение вне −14:00 … +14:00`, ''];
    return ['', text];
}

export function readZoneHours(cell) {
    const text = trim(cell);
    if (!text)
        return ['', ''];
    const m = /^([+-]?)(\d{1,2})$/.exec(text);
    if (!m || Number(m[2]) > 12)
        return [`${quoted(cell)} — нужны целые часы от -12 до 12`, ''];
    return ['', String(m[1] === '-' ? -Number(m[2]) : Number(m[2]))];
}

const MaleWords = ['male', 'Male', 'MALE', 'м', 'М', 'муж', 'Муж', 'МУЖ', 'мужской', 'Мужской', 'МУЖСКОЙ'];
const FemaleWords = ['female', 'Female', 'FEMALE', 'ж', 'Ж', 'жен', 'Жен', 'ЖЕН', 'женский', 'Женский', 'ЖЕНСКИЙ'];

export function readSex(cell) {
    const text = trim(cell);
    if (!text)
        return ['', ''];
    if (MaleWords.includes(text))
        return ['', 'male'];
    if (FemaleWords.includes(text))
        return ['', 'female'];
    return [`${quoted(cell)} — нужно male или female`, ''];
}

export function readLunarDay(cell) {
    const text = trim(cell);
    if (!text)
        return ['', ''];
    if (text.length > 2 || !/^-?\d+$/.test(text))
        return [`${quoted(cell)} — нужен лунный день, целое число не длиннее двух знаков`, ''];
    const value = Number(text);
    return ['', value === 0 ? '' : String(value)];
}

// Degrees with a point and the fewest digits that read back as the same
// number ("55.75", "-0.1278"), never with an exponent.
export function degreesText(value) {
    if (Object.is(value, -0))
        return '-0';
    const text = String(value);
    const m = /^(-?)(\d)(?:\.(\d+))?e-(\d+)$/.exec(text);
    if (!m)
        return text;
    return `${m[1]}0.${'0'.repeat(Number(m[4]) - 1)}${m[2]}${m[3] ?? ''}`;
}

function textFault(text, what, limit, controls) {
    if ([...text].length > limit)
        return `${what} длиннее ${limit} знаков`;
    if (text.includes('\0'))
        return `${what} содержит нулевой символ`;
    // eslint-disable-next-line no-control-regex
    if (!controls && /[\u0000-\u001f\u007f-\u009f]/.test(text))
        return `${what} содержит управляющий символ (перевод строки, табуляцию)`;
    return '';
}

// The header's columns: {index: {column: i}, unknown: [names]} or {problem}.
export function readHeader(record) {
    if (record.error)
        return { problem: `заголовок: ${record.error}` };
    const index = {};
    const unknown = [];
    const seen = new Set();
    for (const [i, raw] of record.fields.entries()) {
        const name = trim(raw);
        const key = name.replace(/[A-Z]/g, (c) => c.toLowerCase());
        if (key && seen.has(key))
            return { problem: `заголовок: столбец «${name}» назван дважды` };
        seen.add(key);
        if (Columns.includes(key))
            index[key] = i;
        else
            unknown.push(name);
    }
    for (const required of ['name', 'date']) {
        if (!(required in index))
            return { problem: `в заголовке нет столбца «${required}»` };
    }
    return { index, unknown, count: record.fields.length };
}

// A person from a record: {person} or {problem}. isKnownZone(name) says
// whether the tz database knows a zone.
export function readPerson(header, record, isKnownZone) {
    if (record.error)
        return { problem: record.error };
    if (record.fields.length !== header.count) {
        const counts = `${record.fields.length} вместо ${header.count}, как в заголовке`;
        return { problem: record.fields.length > header.count ? `лишние поля: ${counts}` : `не хватает полей: ${counts}` };
    }
    const cell = (column) => (column in header.index ? record.fields[header.index[column]] : '');
    const fault = (column, problem) => ({ problem: `столбец «${column}»: ${problem}` });
    const person = { name: cell('name'), place: cell('place'), note: cell('note') };
    let problem;
    let value;
    if (trim(cell('date'))) {
        [problem, value] = readBirthDate(cell('date'));
        if (problem)
            return fault('date', problem);
        person.date = value;
    } else {
        person.date = '';
    }
    [problem, person.time] = readBirthTime(cell('time'));
    if (problem)
        return fault('time', problem);
    for (const [column, limit] of [['latitude', 90], ['longitude', 180]]) {
        person[column] = '';
        if (!trim(cell(column)))
            continue;
        [problem, value] = readDegrees(cell(column), limit);
        if (problem)
            return fault(column, problem);
        person[column] = degreesText(value);
    }
    if (Boolean(person.latitude) !== Boolean(person.longitude))
        return person.latitude ? fault('longitude', 'нет долготы при заданной широте')
            : fault('latitude', 'нет широты при заданной долготе');
    [problem, person.utc_offset] = readUtcOffset(cell('utc_offset'));
    if (problem)
        return fault('utc_offset', problem);
    person.zone_name = trim(cell('zone_name'));
    if (person.zone_name && !isKnownZone(person.zone_name))
        return fault('zone_name', `${quoted(cell('zone_name'))} — такого часового пояса нет в базе часовых поясов`);
    for (const [column, reader] of [['zone', readZoneHours], ['sex', readSex], ['lunar_day', readLunarDay]]) {
        [problem, person[column]] = reader(cell(column));
        if (problem)
            return fault(column, problem);
    }
    problem = personFault(person);
    return problem ? { problem } : { person };
}

// What is wrong with a person, as the desktop's person file says it.
export function personFault(p) {
    let problem = textFault(p.name, 'Имя', MaxName, false);
    if (problem)
        return problem;
    if (!nameKey(p.name))
        return 'Нужно имя';
    if (!p.date)
        return 'Нужна дата рождения';
    if ((problem = textFault(p.place, 'Место рождения', MaxPlace, false)))
        return problem;
    return textFault(p.note, 'Заметка', MaxNote, true);
}

// Reads a whole file's text: {people: [{line, person}], notes: [{line,
// message}], refused}.
export function readPeopleCsv(text, isKnownZone) {
    const records = parseCsv(text);
    const notes = [];
    if (records.length === 0)
        return { people: [], notes: [{ line: 1, message: 'файл пуст: нет строки заголовка' }], refused: 'файл пуст: нет строки заголовка' };
    const header = readHeader(records[0]);
    if (header.problem)
        return { people: [], notes: [{ line: records[0].line, message: header.problem }], refused: header.problem };
    if (header.unknown.length)
        notes.push({ line: records[0].line, message: `столбцы не используются: ${header.unknown.map((n) => `«${n}»`).join(', ')}` });
    const people = [];
    for (const record of records.slice(1)) {
        const { person, problem } = readPerson(header, record, isKnownZone);
        if (problem)
            notes.push({ line: record.line, message: problem });
        else
            people.push({ line: record.line, person });
    }
    return { people, notes, refused: '' };
}

// The zone names a file's `zone_name` column holds, to be checked before
// the file is read.
export function zoneNamesInCsv(text) {
    const records = parseCsv(text);
    const header = records.length ? readHeader(records[0]) : { problem: 'empty' };
    if (header.problem || !('zone_name' in header.index))
        return [];
    const names = new Set();
    for (const record of records.slice(1)) {
        const name = trim(record.fields[header.index.zone_name] ?? '');
        if (name)
            names.add(name);
    }
    return [...names];
}
