// The birthplace's clock over a span of time: the periods in which its offset
// from Greenwich stays the same, from the zone's rules (as
// place/birthplace_zone.h, never through TZ).
//
// Moments are whole seconds of universal time counted from 30 December 1899
// 0h, the TDateTime epoch (a TDateTime t in universal time is the second
// t·86 400), so that clock changes compare exactly with other moments.
// Offsets are local time minus Greenwich time, positive east, in seconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace toravel {

struct ZoneClockPeriod {
    // The first second of the period, or the span's first second for the
    // period already in force there.
    std::int64_t universalBeginSecond = 0;
    int offsetSeconds = 0;

    friend bool operator==(const ZoneClockPeriod&, const ZoneClockPeriod&) = default;
};

// The periods that overlap [fromSecond, toSecond), in order: the first is
// the one in force at fromSecond, each later one begins with a clock change.
// Nothing when the zone is not one of the database's (same name rules as
// BirthplaceOffsetAt), when its rules cannot be read, or when the span is
// empty or reaches outside the years 1 to 9999.
std::optional<std::vector<ZoneClockPeriod>>
ZoneClockPeriods(std::string_view zoneName, std::int64_t fromSecond, std::int64_t toSecond);

} // namespace toravel
