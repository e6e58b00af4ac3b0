// The birthplace's offset from Greenwich at the birth moment, from the zone's
// rules (place/zone_rules.h) as the program hands them in
// (place/zone_file_source.h). Nothing here reads or sets TZ, so the
// computer's own offset (platform/computer_zone.h) is left as it is.
//
// The birth moment is the birthplace's local clock reading, as a TDateTime.
// Offsets are local time minus Greenwich time, positive east, in whole
// seconds; before standard zones a place kept its local mean time, so an
// offset need not be whole hours or even whole minutes (Moscow 2:30:17).
//
// A clock reading that a clock change skips or repeats is read with the
// offset in force before the change: a skipped reading is the old clock's
// (the clock had not been put forward yet), a repeated one its first
// occurrence. `reading` says when that happened.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "place/zone_rules.h"
#include "platform/tdatetime.h"

namespace toravel {

struct BirthplaceOffset {
    int offsetSeconds = 0;
    // "летнее время": the clock runs on the zone's higher offset of that year.
    bool summerTime = false;
    // The zone kept daylight-saving time in some part of that calendar year,
    // so a moment outside summer time is "зимнее время". False for a zone on
    // one offset all year (Moscow 2011–2014 at UTC+4).
    bool keepsDaylightTimeThatYear = false;
    LocalClockReading reading = LocalClockReading::Unique;
};

// The zone's offset at the local moment `birthLocal`. Blanks and control
// characters around the name are ignored. Nothing (never an exception) when
// the name is empty, is not a zone of the database, or the database cannot be
// read, or when the moment is not a date of the years 1 to 9999.
std::optional<BirthplaceOffset> BirthplaceOffsetAt(std::string_view zoneName, TDateTime birthLocal);

// Whether the database knows the zone (same name rules as above).
bool IsKnownZoneName(std::string_view zoneName);

// The offset as a signed ISO 8601 text: "+04:00", "-05:00", "+05:30", "+00:00";
// seconds are added only where there are any ("+02:30:17").
std::string UtcOffsetText(int offsetSeconds);

// The offset as the window and the messages show it: "UTC+4:00", "UTC-5:00",
// "UTC+5:30"; seconds only where there are any ("UTC+2:30:17").
std::string UtcOffsetLabel(int offsetSeconds);

} // namespace toravel
