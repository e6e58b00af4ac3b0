// The birth inputs: reading them into a calculation request as typed (the
// core checks them with the command line's rules and messages) and filling
// them from a link or a saved person.
//
// The birthplace is either a place picked from the atlas, whose zone gives
// the clock, or typed coordinates, for which the core takes the zone of the
// nearest atlas place within 50 km. A typed change of a coordinate drops the
// picked place.
import { byId } from './dom.js';
import { PlaceSearch } from './place-search.js';

// "55,7558" as the window writes a picked place's degrees into its fields:
// to the ten-thousandth, halves away from zero, trailing zeros dropped. The
// calculation then reads these texts, as the desktop's does.
export function degreesText(degrees) {
    const tenThousandths = Math.sign(degrees) * Math.round(Math.abs(degrees) * 10000);
    const magnitude = Math.abs(tenThousandths);
    const decimals = String(magnitude % 10000).padStart(4, '0').replace(/0+$/, '');
    return `${tenThousandths < 0 ? '-' : ''}${Math.floor(magnitude / 10000)}${decimals ? `,${decimals}` : ''}`;
}

// A typed coordinate as a number, or null when it is none.
export function typedDegrees(text) {
    const trimmed = text.trim().replace(',', '.');
    if (!/^[+-]?(\d+\.?\d*|\.\d+)$/.test(trimmed))
        return null;
    return Number(trimmed);
}

export class BirthForm {
    constructor({ core, onChange, onSubmit }) {
        this.core = core;
        this.onChange = onChange;
        this.form = byId('birth-form');
        this.date = byId('birth-date');
        this.time = byId('birth-time');
        this.latitude = byId('latitude');
        this.longitude = byId('longitude');
        this.override = byId('clock-override');
        this.utcOffset = byId('utc-offset');
        this.lunarDay = byId('lunar-day');
        this.listing = byId('listing');
        this.search = byId('place-search');
        this.picked = null;

        this.placeSearch = new PlaceSearch({
            core,
            input: this.search,
            list: byId('place-results'),
            status: byId('place-status'),
            onPick: (place) => this.pickPlace(place),
        });
        for (const field of [this.latitude, this.longitude]) {
            field.addEventListener('input', () => {
                this.dropPick();
                this.changed('place');
            });
        }
        for (const field of [this.date, this.time, this.utcOffset])
            field.addEventListener('input', () => this.changed('clock'));
        this.override.addEventListener('change', () => {
            byId('utc-offset-field').hidden = !this.override.checked;
            if (this.override.checked)
                this.utcOffset.focus();
            this.changed('clock');
        });
        this.form.addEventListener('submit', (event) => {
            event.preventDefault();
            onSubmit();
        });
    }

    changed(what) {
        this.onChange?.(what);
    }

    pickPlace(place) {
        this.picked = place;
        this.latitude.value = degreesText(place.latitude);
        this.longitude.value = degreesText(place.longitude);
        this.changed('place');
    }

    dropPick() {
        if (!this.picked)
            return;
        this.picked = null;
        byId('place-status').textContent = 'координаты введены вручную';
    }

    sex() {
        return this.form.elements.sex.value === 'female' ? 'female' : 'male';
    }

    // The place for the month calendar and the clock line: {latitude,
    // longitude} as typed, the picked place's name and zone; null without
    // coordinates.
    place() {
        const latitude = this.latitude.value.trim();
        const longitude = this.longitude.value.trim();
        if (!latitude && !longitude)
            return null;
        return {
            latitude,
            longitude,
            name: this.picked?.name ?? null,
            zone: this.picked?.zone ?? null,
            label: this.picked?.label ?? null,
        };
    }

    // The calculation request as the core reads it.
    request() {
        const request = {
            date: this.date.value,
            time: this.time.value,
            latitude: this.latitude.value,
            longitude: this.longitude.value,
        };
        if (this.picked?.name)
            request.place = this.picked.name;
        if (this.override.checked)
            request.utc_offset = this.utcOffset.value;
        else if (this.picked)
            request.zone_name = this.picked.zone; // the picked place's own zone
        request.sex = this.sex();
        if (this.lunarDay.value.trim())
            request.lunar_day = this.lunarDay.value;
        request.listing = this.listing.checked;
        return request;
    }

    // Fills the fields from a request (a link's or a person's). A place
    // given by name with its atlas record is shown as picked.
    fill(request, pickedPlace = null) {
        this.date.value = request.date ?? '';
        this.time.value = request.time ?? '';
        this.latitude.value = request.latitude ?? '';
        this.longitude.value = request.longitude ?? '';
        this.picked = pickedPlace;
        // Coordinates with a zone named for them (a link's zone=): kept
        // like a picked place without a name, so they keep that zone.
        const latitude = typedDegrees(this.latitude.value);
        const longitude = typedDegrees(this.longitude.value);
        if (!pickedPlace && request.zone_name && latitude !== null && longitude !== null) {
            this.picked = { name: null, latitude, longitude, zone: request.zone_name,
                label: `${this.latitude.value}; ${this.longitude.value}` };
        }
        this.search.value = pickedPlace?.label ?? request.place ?? '';
        byId('place-status').textContent = pickedPlace ? `выбрано: ${pickedPlace.label}` : '';
        if (this.picked && !pickedPlace)
            byId('place-status').textContent = `часовой пояс ${this.picked.zone}`;
        this.override.checked = Boolean(request.utc_offset);
        byId('utc-offset-field').hidden = !this.override.checked;
        this.utcOffset.value = request.utc_offset ?? '';
        this.form.elements.sex.value = request.sex === 'female' ? 'female' : 'male';
        this.lunarDay.value = request.lunar_day ?? '';
        this.listing.checked = Boolean(request.listing);
        this.changed('place');
    }
}
