// The result of a calculation, drawn from the core's "horoscope" document
// (docs/json.md): the four report lines in the window's colours and
// relative sizes, the lunar day, the birth moment and the preceding new
// moon, the three worlds and the circle, the messages and warnings, and on
// request the new moons and moonrises the lunar day was counted from.
import { byId, el } from './dom.js';

function worldText(world) {
    return world ? `${world.name} (${world.description})` : '—';
}

// "+03:00" as the window writes offsets: "UTC+3:00".
export function offsetLabel(offset) {
    const match = /^([+-])(\d\d):(\d\d)(?::(\d\d))?$/.exec(offset ?? '');
    if (!match)
        return offset ?? '';
    return `UTC${match[1]}${Number(match[2])}:${match[3]}${match[4] ? `:${match[4]}` : ''}`;
}

function clockText(clock) {
    if (!clock)
        return '';
    let text = offsetLabel(clock.utc_offset);
    if (clock.zone_name)
        text += `, ${clock.zone_name}`;
    if (clock.summer_time === true)
        text += ', летнее время';
    else if (clock.summer_time === false && clock.zone_name)
        text += ', зимнее время';
    if (clock.source === 'utc_offset')
        text += ', указано вручную';
    return text;
}

function placeText(doc) {
    const place = doc.birthplace;
    const input = doc.input;
    if (place) {
        let text = [place.name, place.region, place.country].filter(Boolean).join(', ');
        if (place.distance_km !== null && place.distance_km !== undefined)
            text = `ближайшее место атласа ${text} (${Math.round(place.distance_km * 10) / 10} км)`;
        return text;
    }
    if (input && input.latitude !== null && input.longitude !== null)
        return `${String(input.latitude).replace('.', ',')}; ${String(input.longitude).replace('.', ',')}`;
    return '';
}

function reportLine(line) {
    const paragraph = el('p', { class: 'report-line' }, line.text);
    paragraph.style.fontWeight = line.bold ? '700' : '400';
    // Sizes in points, relative to the window's 12-point lines.
    paragraph.style.fontSize = `${line.size / 12}em`;
    paragraph.style.color = line.color;
    return paragraph;
}

function listingView(listing) {
    const newMoons = el('ol', { class: 'plain' }, listing.new_moons.map((moon) => el('li', {}, moon.text)));
    const moonrises = el('ol', { class: 'plain' },
        listing.moonrises.map((rise) => el('li', {}, rise.text)));
    return [
        el('details', { open: true }, el('summary', {}, 'Новолуния года рождения'), newMoons),
        el('details', { open: true }, el('summary', {}, 'Восходы Луны от дня новолуния'), moonrises),
    ];
}

export class ReportView {
    constructor() {
        this.section = byId('result');
        this.error = byId('form-error');
    }

    // Shows the document; returns whether it was a result (not an error).
    show(doc) {
        if (doc.error) {
            this.error.textContent = doc.error.message;
            this.error.hidden = false;
            return false;
        }
        this.error.hidden = true;
        this.document = doc;
        const moment = `${doc.moment_text} (${clockText(doc.clock)})`;
        const place = placeText(doc);
        byId('result-inputs').textContent = place ? `${moment}, ${place}` : moment;

        const listing = byId('listing-view');
        listing.replaceChildren(...(doc.listing ? listingView(doc.listing) : []));
        listing.hidden = !doc.listing;

        byId('report').replaceChildren(...doc.report.map(reportLine));

        const rows = [
            ['Лунный день', doc.path === 'typed' ? `${doc.lunar_day} (указан)` : String(doc.lunar_day)],
            ['Момент рождения', doc.moment_text],
        ];
        if (doc.preceding_new_moon_text)
            rows.push(['Предшествующее новолуние', doc.preceding_new_moon_text]);
        if (doc.new_moon_birth)
            rows.push(['Рождение', 'в минуту новолуния']);
        rows.push(
            ['Мир дня', worldText(doc.day_world)],
            ['Мир лунного дня', worldText(doc.lunar_world)],
            ['Мир периода', worldText(doc.period_world)],
            ['Круг', doc.circle ? doc.circle.name : '—'],
        );
        byId('result-details').replaceChildren(
            ...rows.flatMap(([term, value]) => [el('dt', {}, term), el('dd', {}, value)]),
        );
        byId('result-notes').replaceChildren(
            ...[...doc.messages, ...doc.warnings].map((note) => el('li', {}, note)),
        );
        this.section.hidden = false;
        return true;
    }
}
