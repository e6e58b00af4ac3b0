// One zone's clock at every moment of the years 1 to 9999: the changes its
// compiled zone file lists (TZif, RFC 8536, version 1 to 4) and, after the
// last of them, the lasting rule of the file's footer (place/posix_zone_rule.h),
// so that a zone with summer time keeps it after 2037, where the files' lists
// end.
//
// Moments are seconds of universal time since 1970-01-01 0h; offsets are
// local time minus Greenwich time, positive east, in seconds. Before the
// file's first change the clock is the file's first kind of time, as
// RFC 8536 says (the local mean time of the place, in practice).
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "place/posix_zone_rule.h"

namespace toravel {

// A span of constant clock: [begin, end), either end open at the limits of
// std::int64_t.
struct ZonePeriod {
    std::int64_t begin = std::numeric_limits<std::int64_t>::min();
    std::int64_t end = std::numeric_limits<std::int64_t>::max();
    int offsetSeconds = 0;
    bool daylight = false; // the zone marks it as summer (daylight-saving) time
};

enum class LocalClockReading {
    Unique,   // the reading occurs once
    Skipped,  // the clocks jumped over it; the offset before the jump is used
    Repeated, // the clocks passed it twice; its first occurrence is used
};

struct LocalReadingPeriod {
    ZonePeriod period;
    LocalClockReading reading = LocalClockReading::Unique;
};

class ZoneRules {
public:
    // Nothing for bytes that are no well-formed zone file, or one counting
    // leap seconds (the "right/" zones).
    static std::optional<ZoneRules> FromZoneFile(std::string_view bytes);

    // The period in force at the moment `second`.
    ZonePeriod PeriodAt(std::int64_t second) const;

    // The period whose clock shows `localMillisecond` (milliseconds of local
    // time since 1970-01-01 0h): for a skipped reading the period before the
    // jump, for a repeated one the earlier of the two.
    LocalReadingPeriod PeriodOfLocalReading(std::int64_t localMillisecond) const;

private:
    struct TimeType {
        int offsetSeconds = 0;
        bool daylight = false;
    };

    ZonePeriod FooterPeriodAt(std::int64_t second) const;

    std::vector<std::int64_t> changes_;    // ascending
    std::vector<std::uint8_t> changeType_; // the time type from each change on
    std::vector<TimeType> types_;
    std::optional<PosixZoneRule> footer_;
};

} // namespace toravel
