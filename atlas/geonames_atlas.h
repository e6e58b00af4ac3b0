// The world atlas from the system's geonames library (Debian's libgeonames0:
// about 24,000 places of at least 15,000 people, with coordinates, IANA time
// zones, regions and countries) and the Russian names of its message catalog
// (libgeonames-common).
//
// The library, and with it GLib and GIO, is loaded only when the atlas is
// first needed: a calculation that never asks for a place does not pay for
// it. The Russian names are read from the catalog file itself rather than
// through gettext, so they come whatever the process's locale and LANGUAGE
// are, and neither is changed; a place without a Russian name keeps its
// English one. Without the catalog the atlas still works, with the English
// names, and says so in `note`.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "place/process_atlas.h"
#include "place/world_atlas.h"

namespace toravel {

struct AtlasLoad {
    std::unique_ptr<const WorldAtlas> atlas; // null when there is none
    // Why there is no atlas, in Russian for the user: "атлас мест недоступен: …".
    std::string problem;
    // What the loaded atlas lacks (its Russian names), in Russian; empty
    // when it is complete.
    std::string note;
    // The corrections of data/atlas_corrections.tsv that name a place this
    // library does not hold, or why the compiled-in tables could not be read
    // (atlas/atlas_additions.h); empty with Debian's.
    std::vector<std::string> unappliedAdditions;
};

// Where the atlas comes from; tests point it elsewhere.
struct GeonamesSource {
    // The library's file, found as the dynamic loader finds libraries.
    std::string library = "libgeonames.so.0";
    // The Russian catalog; empty: "ru/LC_MESSAGES/geonames.mo" below the
    // directory the library's gettext domain is bound to.
    std::string russianCatalog;
};

// Loads the library and builds the atlas, every time it is called.
AtlasLoad LoadGeonamesAtlas(const GeonamesSource& source = {});

// The process's atlas: loaded by the first call, the same afterwards.
const AtlasLoad& SharedWorldAtlas();

// Makes SharedWorldAtlas the process's atlas (place/process_atlas.h), for
// the command line's birthplace lookup; each desktop program calls it
// first thing in main().
void UseGeonamesAtlas();

} // namespace toravel
