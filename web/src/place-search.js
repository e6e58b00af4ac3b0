// The birthplace search: a combobox over the world atlas. The first
// keystroke loads the atlas in the worker; each later one asks it for the
// matches of the text typed so far, and only the answer to the latest text
// is shown. Arrows move through the list, Enter or a click picks a place,
// Escape closes the list.
import { el } from './dom.js';

const ShownPlaces = 10;

export class PlaceSearch {
    // onPick(place) gets the atlas's record {name, region, country,
    // latitude, longitude, zone, population, label}.
    constructor({ core, input, list, status, onPick }) {
        Object.assign(this, { core, input, list, status, onPick });
        this.places = [];
        this.active = -1;
        this.asked = 0;
        this.atlasAnnounced = false;
        input.addEventListener('input', () => this.search());
        input.addEventListener('keydown', (event) => this.key(event));
        // Closed when the focus has left for good, not when it came back
        // to type again before the delay ran out.
        input.addEventListener('blur', () => setTimeout(() => {
            if (document.activeElement !== input)
                this.close();
        }, 150));
        list.addEventListener('mousedown', (event) => event.preventDefault());
    }

    async search() {
        const text = this.input.value.trim();
        const asked = ++this.asked;
        if (!text) {
            this.close();
            return;
        }
        if (!this.atlasAnnounced) {
            this.atlasAnnounced = true;
            this.status.textContent = 'загружается атлас мест…';
        }
        let places;
        try {
            places = await this.core.call('searchPlaces', text, ShownPlaces);
        } catch (error) {
            if (asked === this.asked)
                this.status.textContent = `Поиск недоступен: ${error.message}`;
            this.atlasAnnounced = false;
            return;
        }
        if (asked !== this.asked)
            return; // a later keystroke has asked again
        this.show(places);
        this.status.textContent = places.length
            ? `найдено мест: ${places.length}; стрелки выбирают, Enter берёт`
            : 'такого места в атласе нет; можно ввести координаты';
    }

    show(places) {
        this.places = places;
        this.active = places.length ? 0 : -1;
        this.list.replaceChildren(
            ...places.map((place, index) =>
                el('li', {
                    id: `place-option-${index}`,
                    role: 'option',
                    'aria-selected': index === this.active ? 'true' : 'false',
                    onclick: () => this.pick(index),
                }, place.label),
            ),
        );
        this.list.hidden = places.length === 0;
        this.input.setAttribute('aria-expanded', String(places.length > 0));
        this.mark();
    }

    mark() {
        this.list.querySelectorAll('[role=option]').forEach((option, index) => {
            option.setAttribute('aria-selected', index === this.active ? 'true' : 'false');
            if (index === this.active)
                option.scrollIntoView({ block: 'nearest' });
        });
        if (this.active >= 0)
            this.input.setAttribute('aria-activedescendant', `place-option-${this.active}`);
        else
            this.input.removeAttribute('aria-activedescendant');
    }

    key(event) {
        const open = !this.list.hidden;
        if (event.key === 'ArrowDown' && open) {
            this.active = Math.min(this.active + 1, this.places.length - 1);
            this.mark();
        } else if (event.key === 'ArrowUp' && open) {
            this.active = Math.max(this.active - 1, 0);
            this.mark();
        } else if (event.key === 'Enter' && open && this.active >= 0) {
            this.pick(this.active);
        } else if (event.key === 'Escape' && open) {
            this.close();
        } else {
            return;
        }
        event.preventDefault();
    }

    pick(index) {
        const place = this.places[index];
        if (!place)
            return;
        this.input.value = place.label;
        this.close();
        this.status.textContent = `выбрано: ${place.label}`;
        this.onPick(place);
    }

    close() {
        this.list.hidden = true;
        this.input.setAttribute('aria-expanded', 'false');
        this.input.removeAttribute('aria-activedescendant');
    }
}
