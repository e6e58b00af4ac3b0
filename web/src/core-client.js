// The page's side of the calculation worker: each call is a promise of the
// core's parsed answer. Every answer leaves a User Timing mark
// "toravel:<method>" with the time inside the core and the round trip, which
// the benchmark reads and the browser's profiler shows.
import { assets } from './assets.js';

export class CoreClient {
    constructor() {
        this.pending = new Map();
        this.nextId = 1;
        this.broken = null;
        // Started by boot.js at the top of the page, or here.
        this.worker = window.toravelWorker ?? new Worker(new URL(assets.worker, document.baseURI), { type: 'module' });
        window.toravelWorker = null;
        this.worker.addEventListener('message', ({ data }) => this.answer(data));
        this.worker.addEventListener('error', (event) => {
            event.preventDefault();
            this.fail(`ядро расчёта не загрузилось${event.message ? `: ${event.message}` : ''}`);
        });
    }

    call(method, ...args) {
        if (this.broken)
            return Promise.reject(new Error(this.broken));
        const id = this.nextId++;
        return new Promise((resolve, reject) => {
            this.pending.set(id, { resolve, reject, method, sent: performance.now() });
            this.worker.postMessage({ id, method, args });
        });
    }

    answer({ id, result, error, coreMs, atlas }) {
        const call = this.pending.get(id);
        if (!call)
            return;
        this.pending.delete(id);
        if (error !== undefined) {
            call.reject(new Error(error));
            return;
        }
        if (atlas && !this.atlasSeen) {
            this.atlasSeen = true;
            this.onAtlas?.();
        }
        performance.mark(`toravel:${call.method}`, {
            detail: { coreMs, roundTripMs: performance.now() - call.sent },
        });
        call.resolve(result);
    }

    fail(message) {
        this.broken = message;
        for (const call of this.pending.values())
            call.reject(new Error(message));
        this.pending.clear();
    }
}
