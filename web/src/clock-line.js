// The line under the birthplace that says which clock the calculation will
// run on: the picked place's zone at the birth moment with summer or winter
// time, or for typed coordinates the nearest atlas place within 50 km and
// its zone, or the offset typed by hand. It only tells; the calculation
// itself finds the same clock in the core.
import { typedDegrees } from './birth-form.js';

function kilometres(distance) {
    return distance < 10 ? distance.toFixed(1).replace('.', ',') : String(Math.round(distance));
}

export class ClockLine {
    constructor({ core, form, line }) {
        Object.assign(this, { core, form, line });
        this.asked = 0;
        this.timer = 0;
        this.nearest = null; // {place, distance_km} for the coordinates last asked
    }

    // Called on every change of the inputs; asks the worker once typing pauses.
    update() {
        clearTimeout(this.timer);
        this.timer = setTimeout(() => this.refresh(), 120);
    }

    async refresh() {
        const asked = ++this.asked;
        const text = await this.describe().catch((error) => `Часы места не определены: ${error.message}`);
        if (asked === this.asked)
            this.line.textContent = text;
    }

    async describe() {
        const form = this.form;
        if (form.override.checked) {
            const offset = form.utcOffset.value.trim();
            return offset
                ? `Расчёт по часам UTC${offset}, указанным вручную.`
                : 'Укажите смещение от Гринвича, например +04:00.';
        }
        const place = form.place();
        if (!place)
            return 'Часы определятся по месту и моменту рождения.';
        let zone = place.zone;
        let where = place.label ?? place.name;
        if (!zone) {
            const latitude = typedDegrees(place.latitude);
            const longitude = typedDegrees(place.longitude);
            if (latitude === null || longitude === null || Math.abs(latitude) > 90 || Math.abs(longitude) > 180)
                return 'Часы определятся, когда будут широта и долгота.';
            const nearest = await this.core.call('nearestPlace', latitude, longitude);
            if (!nearest)
                return 'В 50 км от этих координат нет места атласа: укажите смещение от Гринвича вручную.';
            zone = nearest.place.zone;
            where = `ближайшее место атласа — ${nearest.place.label}, ${kilometres(nearest.distance_km)} км`;
        }
        const clock = await this.core.call('zoneClock', zone, form.date.value.trim(), form.time.value.trim() || '00:00');
        if (clock.error)
            return `${where}; часовой пояс ${zone}. Часы в момент рождения определятся по дате и времени.`;
        return `${where}; часовой пояс ${zone}: в момент рождения ${clock.label}.`;
    }
}
