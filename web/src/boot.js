// The first script of the page, loaded in its head before anything else:
// it only starts the calculation worker, so that the worker's start and the
// core's download overlap the page's own loading. The page's module
// (core-client.js) takes this worker over.
import { assets } from './assets.js';

try {
    window.toravelWorker = new Worker(new URL(assets.worker, document.baseURI), { type: 'module' });
} catch {
    // The page's module starts one itself and says what went wrong.
}
