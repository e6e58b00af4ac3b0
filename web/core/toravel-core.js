// The core as the page's worker and the tests use it: the WebAssembly
// module (core-module.js, core-module.wasm) behind a few functions over
// JSON texts and byte arrays. Every function answers with a text; none
// throws for bad input, the answer says what was wrong.
//
//   const core = await createToravelCore();          // in the page's worker
//   const core = await createToravelCore({wasmBinary}); // under Node
//   core.loadCalendar(text); core.loadZones(bytes); core.loadAtlas(bytes);
//   JSON.parse(core.calculate(JSON.stringify(request)));
import createModule from './core-module.js';

export default async function createToravelCore(options = {}) {
  const module = await createModule(options);

  const text = (name, types, args) => module.ccall(name, 'string', types, args);

  // Bytes are copied into the module's memory for the call and freed after.
  const withBytes = (name, bytes) => {
    const pointer = module._malloc(Math.max(bytes.length, 1));
    try {
      module.HEAPU8.set(bytes, pointer);
      return text(name, ['number', 'number'], [pointer, bytes.length]);
    } finally {
      module._free(pointer);
    }
  };

  return {
    loadCalendar: (json) => text('toravel_load_calendar', ['string'], [json]),
    loadZones: (bytes) => withBytes('toravel_load_zones', bytes),
    loadAtlas: (bytes) => withBytes('toravel_load_atlas', bytes),
    calculate: (request) => text('toravel_calculate', ['string'], [request]),
    month: (request) => text('toravel_month', ['string'], [request]),
    parseLink: (query) => text('toravel_parse_link', ['string'], [query]),
    zoneClock: (zone, date, time) =>
      text('toravel_zone_clock', ['string', 'string', 'string'], [zone, date, time]),
    searchPlaces: (query, limit) =>
      text('toravel_search_places', ['string', 'number'], [query, limit]),
    nearestPlace: (latitude, longitude) =>
      text('toravel_nearest_place', ['number', 'number'], [latitude, longitude]),
  };
}
