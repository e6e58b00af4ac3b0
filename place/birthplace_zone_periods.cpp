// The clock periods over the date/tz library with the system's tz database.
#include "place/birthplace_zone_periods.h"

#include <date/tz.h>

#include <chrono>
#include <exception>
#include <string>

#include "place/birthplace_zone.h"
#include "platform/ascii_text.h"

namespace toravel {
namespace {

using std::chrono::seconds;

// 30 December 1899 0h and the first and last seconds of the years 1 to 9999,
// as the library's system clock counts them (the proleptic Gregorian days
// since 1970; a day is a day in every calendar, so the count of seconds from
// the epoch is the same for TDateTime's Julian dates before 1582).
constexpr date::sys_days TDateTimeEpoch = date::sys_days{date::year{1899} / 12 / 30};
constexpr date::sys_days FirstDay = date::sys_days{date::year{1} / 1 / 1};
constexpr date::sys_days EndDay = date::sys_days{date::year{10000} / 1 / 1};

date::sys_seconds SysSecond(std::int64_t second) {
    return date::sys_seconds{TDateTimeEpoch} + seconds{second};
}

std::int64_t SecondOf(date::sys_seconds moment) {
    return (moment - date::sys_seconds{TDateTimeEpoch}).count();
}

} // namespace

std::optional<std::vector<ZoneClockPeriod>>
ZoneClockPeriods(std::string_view zoneName, std::int64_t fromSecond, std::int64_t toSecond) {
    // The name check of the birthplace zone lets only real zone names
    // through to the database's folder.
    if (!IsKnownZoneName(zoneName))
        return std::nullopt;
    if (fromSecond >= toSecond || SysSecond(fromSecond) < date::sys_seconds{FirstDay} ||
        SysSecond(toSecond) > date::sys_seconds{EndDay})
        return std::nullopt;
    try {
        const date::time_zone* zone = date::locate_zone(TrimBlanksAndControls(zoneName));
        const date::sys_seconds end = SysSecond(toSecond);
        std::vector<ZoneClockPeriod> periods;
        date::sys_info info = zone->get_info(SysSecond(fromSecond));
        periods.push_back({fromSecond, static_cast<int>(info.offset.count())});
        // A zone changes its clock a few times a year at most; the bound
        // only keeps a broken database from looping.
        for (int i = 0; i < 100000 && info.end < end; ++i) {
            info = zone->get_info(info.end);
            const int offset = static_cast<int>(info.offset.count());
            // A change of name or of the daylight flag alone is no change of
            // the clock.
            if (offset != periods.back().offsetSeconds)
                periods.push_back({SecondOf(info.begin), offset});
        }
        return periods;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace toravel
