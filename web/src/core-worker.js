// The Web Worker that runs the calculation core, so that typing and
// scrolling never wait for it. It loads the core with the calendar days and
// the zone rules at once, and the world atlas only when a search, the
// nearest place or a calculation without a named clock first needs it.
//
// Messages in: {id, method, args}; out: {id, result, coreMs, atlas} or
// {id, error}. coreMs is the time spent inside the core's call, for the
// page's timing marks; atlas says whether the atlas is loaded.
import createToravelCore from 'toravel-core';
import { assets } from './assets.js';

const base = new URL('./', self.location.href);
const address = (name) => new URL(name, base).href;

async function fetchOk(name) {
    const response = await fetch(address(name));
    if (!response.ok)
        throw new Error(`файл ${name} не получен (${response.status})`);
    return response;
}

// Turns the core's "" or Russian message into an exception.
function check(what, message) {
    if (message)
        throw new Error(`${what}: ${message}`);
}

// When the worker started and its loads ended, in the page's clock
// (milliseconds since the epoch): the bench's breakdown of a first visit.
const now = () => performance.timeOrigin + performance.now();
const timings = { started: now() };

let core = null;
const coreLoad = (async () => {
    const [loaded, calendar, zones] = await Promise.all([
        createToravelCore({
            locateFile: (file) => address(file.endsWith('.wasm') ? assets.coreWasm : file),
        }).then((module) => {
            timings.compiled = now();
            return module;
        }),
        fetchOk(assets.calendar).then((r) => r.text()),
        fetchOk(assets.zones).then((r) => r.arrayBuffer()),
    ]);
    timings.fetched = now();
    check('календарь', loaded.loadCalendar(calendar));
    check('часовые пояса', loaded.loadZones(new Uint8Array(zones)));
    timings.loaded = now();
    core = loaded;
    return loaded;
})();
// Reported by the first call that waits for it.
coreLoad.catch(() => {});

let atlasLoad = null;
let atlasLoaded = false;
function atlas() {
    atlasLoad ??= (async () => {
        const [loaded, bytes] = await Promise.all([
            coreLoad,
            fetchOk(assets.atlas).then((r) => r.arrayBuffer()),
        ]);
        check('атлас мест', loaded.loadAtlas(new Uint8Array(bytes)));
        atlasLoaded = true;
    })();
    // A failed load is tried again by the next call (the network may be back).
    atlasLoad.catch(() => {
        atlasLoad = null;
    });
    return atlasLoad;
}

// A calculation or month needs the atlas to find a place by name, or the
// birthplace's zone when no clock is given.
function needsAtlas(request) {
    return Boolean(request.place) || !(request.zone_name || request.utc_offset);
}

// Each method returns [result, coreMs].
function timed(call) {
    const start = performance.now();
    const text = call();
    return [JSON.parse(text), performance.now() - start];
}

const methods = {
    async ready() {
        await coreLoad;
        return [true, 0];
    },
    async timings() {
        return [timings, 0];
    },
    async loadAtlas() {
        await atlas();
        return [true, 0];
    },
    async calculate(request) {
        await coreLoad;
        if (needsAtlas(request))
            await atlas();
        return timed(() => core.calculate(JSON.stringify(request)));
    },
    async month(request) {
        await coreLoad;
        if (needsAtlas(request))
            await atlas();
        return timed(() => core.month(JSON.stringify(request)));
    },
    async searchPlaces(text, limit) {
        await atlas();
        return timed(() => core.searchPlaces(text, limit));
    },
    async nearestPlace(latitude, longitude) {
        await atlas();
        return timed(() => core.nearestPlace(latitude, longitude));
    },
    async zoneClock(zone, date, time) {
        await coreLoad;
        return timed(() => core.zoneClock(zone, date, time));
    },
    async parseLink(search) {
        await coreLoad;
        if (/(^|[?&])place=/.test(search))
            await atlas();
        return timed(() => core.parseLink(search));
    },
};

self.addEventListener('message', async ({ data }) => {
    const { id, method, args } = data;
    try {
        if (!Object.hasOwn(methods, method))
            throw new Error(`нет метода ${method}`);
        const [result, coreMs] = await methods[method](...args);
        self.postMessage({ id, result, coreMs, atlas: atlasLoaded });
    } catch (error) {
        self.postMessage({ id, error: String(error?.message ?? error) });
    }
});
