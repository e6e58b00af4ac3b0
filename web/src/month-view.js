// The month's lunar calendar for the birthplace in the form, from the
// core's "month" document (docs/json.md): one row a day with the lunar day
// at midnight and each lunar day that begins, the full moon, a second
// moonrise, the days without moonrise, the worlds of the day and of the periods, the circle;
// today highlighted, with the lunar day in force now. Times are on the
// place's clock; a beginning on another offset than the day's noon (the day
// the clocks change) names its offset.
import { byId, el, showMessage } from './dom.js';
import { offsetLabel } from './report-view.js';

const Weekdays = ['пн', 'вт', 'ср', 'чт', 'пт', 'сб', 'вс'];
const MonthNames = ['Январь', 'Февраль', 'Март', 'Апрель', 'Май', 'Июнь', 'Июль', 'Август',
    'Сентябрь', 'Октябрь', 'Ноябрь', 'Декабрь'];
const Circles = { 1: 'первый', 2: 'второй', 3: 'третий' };
const Columns = ['Дата', 'Лунные дни', 'Луна', 'Мир дня', 'Миры периода', 'Круг'];

const two = (n) => String(n).padStart(2, '0');

// "14:05" of an ISO moment, and "01:43 (+09:30)" when its offset is not the
// day's noon one, as the desktop's table writes it.
function timeText(moment, noonOffset) {
    const offset = moment.slice(19);
    const time = moment.slice(11, 16);
    return offset === noonOffset ? time : `${time} (${offset})`;
}

function offsetMilliseconds(offset) {
    const match = /^([+-])(\d\d):(\d\d)(?::(\d\d))?$/.exec(offset ?? '');
    if (!match)
        return 0;
    const seconds = Number(match[2]) * 3600 + Number(match[3]) * 60 + Number(match[4] ?? 0);
    return (match[1] === '-' ? -1 : 1) * seconds * 1000;
}

export function monthCells(day) {
    const [, month, date] = day.date.split('-');
    let lunarDays = String(day.lunar_day_at_start);
    for (const beginning of day.beginnings) {
        lunarDays += `; ${beginning.lunar_day} с ${timeText(beginning.moment, day.utc_offset_at_noon)}`;
        if (beginning.kind === 'new_moon')
            lunarDays += ', новолуние';
    }
    if (day.no_moonrise)
        lunarDays += '; восхода нет';
    const moon = [];
    if (day.full_moon)
        moon.push(`полнолуние ${timeText(day.full_moon, day.utc_offset_at_noon)}`);
    if (day.moonrise_at_new_moon)
        moon.push('восход в минуту новолуния');
    // A date's other moonrise, which begins no lunar day.
    for (const rise of day.other_moonrises ?? [])
        moon.push(`второй восход ${timeText(rise, day.utc_offset_at_noon)}`);
    const periods = [day.period_world_at_start, ...day.beginnings.map((b) => b.period_world)]
        .map((world) => world?.name ?? '—')
        .join(' → ');
    return [
        `${Weekdays[day.weekday - 1]} ${date}.${month}`,
        lunarDays,
        moon.join('; '),
        day.day_world?.name ?? '—',
        periods,
        day.circle ? Circles[day.circle.number] ?? day.circle.name : '—',
    ];
}

// The day of the month that is today on the place's clock, and what is in
// force now: {date, text} or null when today is not in this month.
export function placeToday(doc, now = Date.now()) {
    for (const day of doc.days) {
        const local = new Date(now + offsetMilliseconds(day.utc_offset_at_noon));
        if (local.toISOString().slice(0, 10) !== day.date)
            continue;
        const minute = Math.floor(now / 60000) * 60000;
        let lunarDay = day.lunar_day_at_start;
        let world = day.period_world_at_start;
        for (const b of day.beginnings) {
            const begins = Date.parse(b.moment);
            if (begins < minute || (begins === minute && b.in_force_at_its_minute)) {
                lunarDay = b.lunar_day;
                world = b.period_world;
            }
        }
        const clock = `${two(local.getUTCDate())}.${two(local.getUTCMonth() + 1)}.${local.getUTCFullYear()} ` +
            `${two(local.getUTCHours())}:${two(local.getUTCMinutes())}`;
        let text = `Сейчас ${clock} по часам места — ${lunarDay}-й лунный день`;
        if (world)
            text += `, мир периода ${world.name}`;
        return { date: day.date, text };
    }
    return null;
}

export class MonthView {
    constructor({ core, place }) {
        this.core = core;
        this.place = place; // () => the form's place or null
        const today = new Date();
        this.year = today.getFullYear();
        this.month = today.getMonth() + 1;
        this.asked = 0;
        this.timer = 0;
        byId('month-previous').addEventListener('click', () => this.step(-1));
        byId('month-next').addEventListener('click', () => this.step(1));
        byId('month-today').addEventListener('click', () => {
            const now = new Date();
            this.year = now.getFullYear();
            this.month = now.getMonth() + 1;
            this.refresh();
        });
        byId('month-go').addEventListener('submit', (event) => {
            event.preventDefault();
            this.go(byId('month-input').value);
        });
        this.title();
    }

    // A month typed as ММ.ГГГГ; a text that is none is sent to the core as
    // it is, which answers with the command line's message.
    go(text) {
        const match = /^\s*(\d{1,2})\.(\d{4})\s*$/.exec(text);
        if (match && Number(match[1]) >= 1 && Number(match[1]) <= 12) {
            this.year = Number(match[2]);
            this.month = Number(match[1]);
            this.refresh();
        } else {
            this.refresh(text.trim());
        }
    }

    step(months) {
        const index = this.year * 12 + (this.month - 1) + months;
        const year = Math.floor(index / 12);
        if (year < 2 || year > 9998)
            return;
        this.year = year;
        this.month = (index % 12) + 1;
        this.refresh();
    }

    title() {
        byId('month-name').textContent = `${MonthNames[this.month - 1]} ${this.year}`;
        byId('month-input').value = `${two(this.month)}.${String(this.year).padStart(4, '0')}`;
    }

    // After a change of the place: once typing pauses.
    update() {
        clearTimeout(this.timer);
        this.timer = setTimeout(() => this.refresh(), 250);
    }

    async refresh(typed = null) {
        this.title();
        const asked = ++this.asked;
        const place = this.place();
        const error = byId('month-error');
        if (!place) {
            byId('month-table').replaceChildren();
            byId('month-now').textContent = '';
            showMessage(error, '');
            return;
        }
        const request = {
            month: typed ?? `${two(this.month)}.${String(this.year).padStart(4, '0')}`,
            latitude: place.latitude,
            longitude: place.longitude,
        };
        if (place.name)
            request.place = place.name;
        if (place.zone)
            request.zone_name = place.zone;
        let doc;
        try {
            doc = await this.core.call('month', request);
        } catch (failure) {
            doc = { error: { message: failure.message } };
        }
        if (asked !== this.asked)
            return;
        if (doc.error) {
            showMessage(error, doc.error.message);
            byId('month-table').replaceChildren();
            byId('month-now').textContent = '';
            document.dispatchEvent(new CustomEvent('toravel:month', { detail: { error: doc.error.message } }));
            return;
        }
        showMessage(error, '');
        this.show(doc);
        document.dispatchEvent(new CustomEvent('toravel:month', { detail: { month: doc.month } }));
    }

    show(doc) {
        const coordinates = `${doc.coordinates.latitude}; ${doc.coordinates.longitude}`.replaceAll('.', ',');
        const where = doc.birthplace
            ? [doc.birthplace.name, doc.birthplace.country].filter(Boolean).join(', ')
            : this.place()?.label ?? coordinates;
        const clock = doc.clock.zone_name ? `часовой пояс ${doc.clock.zone_name}` : offsetLabel(doc.clock.utc_offset);
        byId('month-place').textContent = `${where}, ${clock}`;
        const today = placeToday(doc);
        byId('month-now').textContent = today?.text ?? '';
        const head = el('thead', {}, el('tr', {}, Columns.map((c) => el('th', { scope: 'col' }, c))));
        const body = el('tbody', {}, doc.days.map((day) => {
            const cells = monthCells(day);
            const weekend = day.weekday >= 6;
            const row = el('tr', {
                class: [weekend && 'weekend', today?.date === day.date && 'today'].filter(Boolean).join(' ') || false,
                'aria-current': today?.date === day.date ? 'date' : false,
            }, cells.map((text, i) => el(i === 0 ? 'th' : 'td', {
                scope: i === 0 ? 'row' : false,
                'data-label': Columns[i],
                class: ['date', 'lunar', 'moon', 'world', 'periods', 'circle'][i],
            }, text)));
            return row;
        }));
        byId('month-table').replaceChildren(el('table', {}, el('caption', { class: 'visually-hidden' },
            `Лунные дни, ${byId('month-name').textContent}`), head, body));
    }
}
