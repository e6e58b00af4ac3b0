// The clock periods over the zone's rules.
#include "place/birthplace_zone_periods.h"

#include "place/zone_file_source.h"

namespace toravel {
namespace {

// Seconds from 30 December 1899 0h (the TDateTime epoch) to 1970-01-01 0h,
// the zone rules' epoch.
constexpr std::int64_t UnixEpochSecond = 25569LL * 86400;

// The first second of the year 1 and the first of the year 10000 (proleptic
// Gregorian, as a day is a day in every calendar), from the TDateTime epoch.
constexpr std::int64_t FirstSecond = -693593LL * 86400;
constexpr std::int64_t EndSecond = 2958466LL * 86400;

} // namespace

std::optional<std::vector<ZoneClockPeriod>>
ZoneClockPeriods(std::string_view zoneName, std::int64_t fromSecond, std::int64_t toSecond) {
    const std::shared_ptr<const ZoneRules> zone = ZoneRulesNamed(zoneName);
    if (!zone)
        return std::nullopt;
    if (fromSecond >= toSecond || fromSecond < FirstSecond || toSecond > EndSecond)
        return std::nullopt;
    const std::int64_t end = toSecond - UnixEpochSecond;
    std::vector<ZoneClockPeriod> periods;
    ZonePeriod period = zone->PeriodAt(fromSecond - UnixEpochSecond);
    periods.push_back({fromSecond, period.offsetSeconds});
    // A zone changes its clock a few times a year at most; the bound only
    // keeps a damaged file from looping.
    for (int i = 0; i < 100000 && period.end < end; ++i) {
        period = zone->PeriodAt(period.end);
        // A change of name or of the daylight flag alone is no change of the
        // clock.
        if (period.offsetSeconds != periods.back().offsetSeconds)
            periods.push_back({period.begin + UnixEpochSecond, period.offsetSeconds});
    }
    return periods;
}

} // namespace toravel
