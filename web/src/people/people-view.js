// The «Картотека» section: save the form's inputs under a name, find, open
// (fill the form and calculate) and delete people, and move them to and
// from a CSV file in the desktop's columns.
import { byId, el } from '../dom.js';
import { typedDegrees } from '../birth-form.js';
import { exportPeople, readBirthDate, readBirthTime, readLunarDay, readPeopleCsv, readUtcOffset, zoneNamesInCsv, degreesText, personFault } from './people-csv.js';
import { PeopleStore } from './people-store.js';

// The form's inputs as a person, or throws with what is wrong.
function personOfForm(form, name, note) {
    const fail = (message) => {
        throw new Error(message);
    };
    const person = { name, note, place: '', zone: '' };
    let problem;
    [problem, person.date] = readBirthDate(form.date.value);
    if (problem)
        fail(`Дата рождения: ${problem}`);
    [problem, person.time] = readBirthTime(form.time.value);
    if (problem)
        fail(`Время рождения: ${problem}`);
    const latitude = form.latitude.value.trim() ? typedDegrees(form.latitude.value) : null;
    const longitude = form.longitude.value.trim() ? typedDegrees(form.longitude.value) : null;
    if ((form.latitude.value.trim() && (latitude === null || Math.abs(latitude) > 90)) ||
        (form.longitude.value.trim() && (longitude === null || Math.abs(longitude) > 180)))
        fail('Координаты места рождения: нужны градусы, широта −90 … 90, долгота −180 … 180');
    if ((latitude === null) !== (longitude === null))
        fail('Нужны обе координаты места рождения или ни одной');
    person.latitude = latitude === null ? '' : degreesText(latitude);
    person.longitude = longitude === null ? '' : degreesText(longitude);
    person.place = form.picked?.name ?? '';
    person.utc_offset = '';
    person.zone_name = '';
    if (form.override.checked) {
        [problem, person.utc_offset] = readUtcOffset(form.utcOffset.value);
        if (problem)
            fail(`Смещение от Гринвича: ${problem}`);
    } else if (form.picked?.zone) {
        person.zone_name = form.picked.zone;
    }
    person.sex = form.sex();
    [problem, person.lunar_day] = readLunarDay(form.lunarDay.value);
    if (problem)
        fail(`Лунный день: ${problem}`);
    if ((problem = personFault(person)))
        fail(problem);
    return person;
}

// A saved person as the form's request and picked place.
export function requestOfPerson(person) {
    const request = {
        date: person.date,
        time: person.time,
        latitude: person.latitude.replace('.', ','),
        longitude: person.longitude.replace('.', ','),
        sex: person.sex || 'male',
    };
    if (person.utc_offset)
        request.utc_offset = person.utc_offset;
    if (person.lunar_day)
        request.lunar_day = person.lunar_day;
    let picked = null;
    if (person.latitude && person.zone_name) {
        picked = {
            name: person.place || null,
            latitude: Number(person.latitude),
            longitude: Number(person.longitude),
            zone: person.zone_name,
            label: person.place || `${request.latitude}; ${request.longitude}`,
        };
    } else if (person.place && !person.latitude) {
        request.place = person.place; // the atlas's first match
    }
    return { request, picked };
}

export class PeopleView {
    constructor({ core, form, onOpen }) {
        Object.assign(this, { core, form, onOpen });
        this.list = byId('people-list');
        this.status = byId('people-status');
        this.notes = byId('people-notes');
        this.filter = byId('people-filter');
        this.store = null;
        byId('person-save').addEventListener('submit', (event) => {
            event.preventDefault();
            this.run(() => this.save());
        });
        this.filter.addEventListener('input', () => this.run(() => this.refresh()));
        byId('people-export').addEventListener('click', () => this.run(() => this.exportFile()));
        byId('people-import').addEventListener('change', (event) => {
            const file = event.target.files[0];
            event.target.value = '';
            if (file)
                this.run(() => this.importFile(file));
        });
        this.run(() => this.refresh());
    }

    async opened() {
        this.store ??= await PeopleStore.open();
        return this.store;
    }

    // Runs an action and says what went wrong, never leaving the user
    // without a word.
    async run(action) {
        try {
            await action();
        } catch (error) {
            this.status.textContent = `Картотека: ${error.message}`;
        }
    }

    async refresh() {
        const store = await this.opened();
        const people = await store.list(this.filter.value);
        this.list.replaceChildren(...people.map((person) => el('li', {},
            el('span', { class: 'person-name' }, person.name),
            el('span', { class: 'person-birth' }, [person.date, person.time, person.place].filter(Boolean).join(', ')),
            el('span', { class: 'person-actions' },
                el('button', { type: 'button', onclick: () => this.run(() => this.open(person)), 'aria-label': `Открыть: ${person.name}` }, 'Открыть'),
                el('button', { type: 'button', onclick: () => this.run(() => this.remove(person)), 'aria-label': `Удалить: ${person.name}` }, 'Удалить')))));
        const total = (await store.list()).length;
        if (!total)
            this.status.textContent = 'В картотеке пока никого нет.';
        else if (this.filter.value)
            this.status.textContent = `Найдено: ${people.length} из ${total}`;
        else
            this.status.textContent = `В картотеке: ${total}`;
    }

    async save() {
        const name = byId('person-name').value;
        const store = await this.opened();
        const before = await store.get(name);
        const person = personOfForm(this.form, name, before?.note ?? '');
        let outcome = await store.save(person, { replace: false });
        if (outcome === 'exists') {
            if (!window.confirm(`«${before.name}» уже есть в картотеке. Заменить?`))
                return;
            outcome = await store.save(person, { replace: true });
        }
        await this.refresh();
        this.status.textContent = outcome === 'added' ? `«${name.trim()}» сохранён(а)` : `«${name.trim()}» заменён(а)`;
    }

    async open(person) {
        byId('person-name').value = person.name;
        const { request, picked } = requestOfPerson(person);
        const notes = [];
        if (person.zone && !person.utc_offset && !person.zone_name)
            notes.push(`у «${person.name}» записана только разница часов окна (${person.zone}); здесь расчёт идёт по часам места рождения`);
        this.notes.replaceChildren(...notes.map((n) => el('li', {}, n)));
        await this.onOpen(request, picked);
    }

    async remove(person) {
        if (!window.confirm(`Удалить «${person.name}» из картотеки?`))
            return;
        await (await this.opened()).remove(person.name);
        await this.refresh();
        this.status.textContent = `«${person.name}» удалён(а)`;
    }

    async exportFile() {
        const people = await (await this.opened()).list();
        const blob = new Blob([exportPeople(people)], { type: 'text/csv;charset=utf-8' });
        const link = el('a', { href: URL.createObjectURL(blob), download: 'картотека.csv' });
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 10000);
        this.status.textContent = `Выгружено: ${people.length}`;
    }

    async importFile(file) {
        let text;
        try {
            text = new TextDecoder('utf-8', { fatal: true }).decode(await file.arrayBuffer());
        } catch {
            throw new Error(`файл «${file.name}» не в кодировке UTF-8`);
        }
        // The zone names of the file, checked against the zone rules first.
        const zones = new Set();
        for (const zone of zoneNamesInCsv(text)) {
            const clock = await this.core.call('zoneClock', zone, '01.01.2000', '12:00');
            if (!clock.error)
                zones.add(zone);
        }
        const read = readPeopleCsv(text, (zone) => zones.has(zone));
        const notes = read.notes.map(({ line, message }) => `строка ${line}: ${message}`);
        let added = 0;
        if (!read.refused) {
            const taken = await (await this.opened()).addAll(read.people.map((p) => p.person));
            taken.forEach((isAdded, i) => {
                if (isAdded)
                    ++added;
                else
                    notes.push(`строка ${read.people[i].line}: «${read.people[i].person.name}» уже есть в картотеке — строка пропущена`);
            });
        }
        await this.refresh();
        const skipped = read.people.length - added +
            read.notes.filter((n) => !n.message.startsWith('столбцы не используются')).length;
        this.status.textContent = read.refused
            ? `Файл не загружен: ${read.refused}`
            : `Загружено из «${file.name}»: ${added}, пропущено строк: ${skipped}`;
        this.notes.replaceChildren(...notes.map((n) => el('li', {}, n)));
    }
}
