// The page: starts the calculation worker at once, wires the sections
// together, and when the address carries a link's inputs, shows their
// result with no click.
import { BirthForm } from './birth-form.js';
import { ClockLine } from './clock-line.js';
import { CoreClient } from './core-client.js';
import { assets } from './assets.js';
import { byId, showMessage } from './dom.js';
import { MonthView } from './month-view.js';
import { Pictures } from './pictures.js';
import { ReportView } from './report-view.js';
import { linkOfRequest } from './share-link.js';

const core = new CoreClient();

// Files only some visits need, kept for offline use once used.
function keepOffline(file) {
    navigator.serviceWorker?.ready.then((registration) =>
        registration.active?.postMessage({ cache: [file] })).catch(() => {});
}
core.onAtlas = () => keepOffline(assets.atlas);
const report = new ReportView();
const pictures = new Pictures({ onOpen: (file) => keepOffline(file) });
let clockLine = null;
let monthView = null;

const form = new BirthForm({
    core,
    onChange: (what) => {
        clockLine?.update();
        if (what === 'place')
            monthView?.update();
    },
    onSubmit: () => calculate(),
});
clockLine = new ClockLine({ core, form, line: byId('clock-line') });
monthView = new MonthView({ core, place: () => form.place() });

function formError(text) {
    showMessage(byId('form-error'), text);
}

// A place the core found for a request given by name (a link's place=):
// shown in the form as picked.
function pickedOfDocument(doc) {
    const place = doc.birthplace;
    if (!place || !place.zone || place.distance_km !== null)
        return null;
    return {
        name: place.name,
        latitude: place.latitude,
        longitude: place.longitude,
        zone: place.zone,
        label: [place.name, [place.region, place.country].filter(Boolean).join(', ')].filter(Boolean).join(' — '),
    };
}

// Tells whoever listens (the browser checks, an embedding page) that a
// calculation has ended: {result: true} or {result: false, message}.
function announce(detail) {
    document.dispatchEvent(new CustomEvent('toravel:calculated', { detail }));
}

async function calculate(request = form.request()) {
    const button = byId('calculate');
    button.disabled = true;
    document.body.dataset.busy = 'yes';
    formError('');
    try {
        const doc = await core.call('calculate', request);
        if (!report.show(doc)) {
            announce({ result: false, message: doc.error.message });
            return;
        }
        pictures.sex = doc.input?.sex === 'female' ? 'female' : 'male';
        if (!form.picked && request.place && !request.latitude) {
            form.fill({ ...request, latitude: String(doc.input.latitude).replace('.', ','),
                longitude: String(doc.input.longitude).replace('.', ',') }, pickedOfDocument(doc));
        }
        const link = await linkOfRequest({ ...form.request(), listing: false }, form.picked, core);
        history.replaceState(null, '', link);
        byId('share-link').value = new URL(link, location.href).href;
        byId('share-status').textContent = '';
        // On a phone the result lies below the form: bring it into view.
        const top = byId('result').getBoundingClientRect().top;
        if (top > window.innerHeight * 0.6 || top < 0)
            byId('result').scrollIntoView({ block: 'start' });
        announce({ result: true });
    } catch (error) {
        formError(`Расчёт не выполнен: ${error.message}`);
        announce({ result: false, message: error.message });
    } finally {
        button.disabled = false;
        document.body.dataset.busy = 'no';
    }
}

byId('copy-link').addEventListener('click', async () => {
    const status = byId('share-status');
    try {
        await navigator.clipboard.writeText(byId('share-link').value);
        status.textContent = 'Ссылка скопирована.';
    } catch {
        byId('share-link').select();
        status.textContent = 'Скопируйте выделенную ссылку (Ctrl+C).';
    }
});
byId('print').addEventListener('click', () => window.print());

// The people section is loaded when the page has shown itself: its code
// (the case-folding table, the CSV reader) is not needed for a first result.
async function startPeople() {
    const { PeopleView } = await import('./people/people-view.js');
    new PeopleView({
        core,
        form,
        onOpen: async (request, picked) => {
            form.fill(request, picked);
            await calculate(form.request());
        },
    });
}

async function start() {
    if (location.search.length > 1) {
        document.body.dataset.busy = 'yes';
        try {
            const link = await core.call('parseLink', location.search);
            if (link.error) {
                formError(link.error.message);
                document.body.dataset.busy = 'no';
                announce({ result: false, message: link.error.message });
            } else {
                form.fill(link.request);
                await calculate({ ...link.request, listing: false });
            }
        } catch (error) {
            formError(`Ссылку не прочитать: ${error.message}`);
            document.body.dataset.busy = 'no';
            announce({ result: false, message: error.message });
        }
    } else {
        core.call('ready').catch((error) => formError(`Расчёт недоступен: ${error.message}`));
    }
    monthView.refresh();
    startPeople().catch((error) => {
        byId('people-status').textContent = `Картотека недоступна: ${error.message}`;
    });
    // The worker's start-up steps, for the browser's profiler and the bench.
    core.call('timings').then((timings) => performance.mark('toravel:worker', { detail: timings })).catch(() => {});
    if ('serviceWorker' in navigator && location.protocol !== 'file:')
        navigator.serviceWorker.register('sw.js').catch(() => {});
}

start();
