// The birthplace's offset over the zone's rules: the periods of its clock
// give the offset of a local reading and tell summer from winter time.
#include "place/birthplace_zone.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <vector>

#include "place/zone_file_source.h"

namespace toravel {
namespace {

// 30 December 1899 0h, the TDateTime epoch, as days since 1970-01-01.
constexpr std::int64_t TDateTimeEpochDay = -25569;

// The local reading of TDateTime fields, as milliseconds since 1970-01-01
// 0h. The day is counted in TDateTime's own calendar (Julian before 1582),
// so a day is the same day for the zone's rules and for the program.
std::int64_t LocalMillisecond(int year, int month, int day, int hour, int minute, int second,
                              int millisecond) {
    const auto dayNumber = static_cast<std::int64_t>(EncodeDateTime(year, month, day));
    const std::int64_t seconds =
        (dayNumber + TDateTimeEpochDay) * 86400 + hour * 3600 + minute * 60 + second;
    return seconds * 1000 + millisecond;
}

// The zone's periods that overlap the local calendar year, each start of
// year taken at its earliest moment.
std::vector<ZonePeriod> PeriodsOfLocalYear(const ZoneRules& zone, int year) {
    auto startOf = [&](int y) {
        const std::int64_t reading = LocalMillisecond(y, 1, 1, 0, 0, 0, 0);
        const ZonePeriod period = zone.PeriodOfLocalReading(reading).period;
        return reading / 1000 - period.offsetSeconds;
    };
    const std::int64_t start = startOf(year);
    const std::int64_t end = year < 9999 ? startOf(year + 1) : start + 366 * 86400;
    std::vector<ZonePeriod> periods;
    ZonePeriod period = zone.PeriodAt(start);
    for (int i = 0; i < 100; ++i) { // a year has a handful of changes at most
        periods.push_back(period);
        if (period.end >= end)
            break;
        period = zone.PeriodAt(period.end);
    }
    return periods;
}

// Summer time is the higher of the clocks the zone alternates between that
// year. The database's daylight flag alone is not enough: some zones define
// winter as a negative daylight saving (Europe/Dublin keeps IST in summer as
// its standard time and flags GMT in winter). So the moment is summer time
// when its offset exceeds those of the year's periods with the other flag;
// where all the year's periods carry the same flag, the flag decides.
bool IsSummerTime(const ZonePeriod& moment, const std::vector<ZonePeriod>& year) {
    bool otherFlagSeen = false;
    int lowestOther = 0;
    for (const ZonePeriod& period : year) {
        if (period.daylight == moment.daylight)
            continue;
        if (!otherFlagSeen || period.offsetSeconds < lowestOther)
            lowestOther = period.offsetSeconds;
        otherFlagSeen = true;
    }
    return otherFlagSeen ? moment.offsetSeconds > lowestOther : moment.daylight;
}

} // namespace

std::optional<BirthplaceOffset> BirthplaceOffsetAt(std::string_view zoneName,
                                                   TDateTime birthLocal) {
    const std::shared_ptr<const ZoneRules> zone = ZoneRulesNamed(zoneName);
    if (!zone)
        return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    try {
        DecodeDateTime(birthLocal, year, month, day, hour, minute, second, millisecond);
    } catch (const std::exception&) {
        return std::nullopt; // NaN or outside the years 1 to 9999
    }
    const LocalReadingPeriod local = zone->PeriodOfLocalReading(
        LocalMillisecond(year, month, day, hour, minute, second, millisecond));
    const std::vector<ZonePeriod> periods = PeriodsOfLocalYear(*zone, year);

    BirthplaceOffset result;
    result.offsetSeconds = local.period.offsetSeconds;
    for (const ZonePeriod& period : periods)
        result.keepsDaylightTimeThatYear = result.keepsDaylightTimeThatYear || period.daylight;
    result.summerTime = result.keepsDaylightTimeThatYear && IsSummerTime(local.period, periods);
    result.reading = local.reading;
    return result;
}

bool IsKnownZoneName(std::string_view zoneName) {
    return ZoneRulesNamed(zoneName) != nullptr;
}

std::string UtcOffsetText(int offsetSeconds) {
    const long magnitude = std::labs(static_cast<long>(offsetSeconds));
    const long hours = magnitude / 3600;
    const long minutes = magnitude / 60 % 60;
    const long secs = magnitude % 60;
    auto twoDigits = [](long value) {
        return std::string{static_cast<char>('0' + value / 10),
                           static_cast<char>('0' + value % 10)};
    };
    std::string text = offsetSeconds < 0 ? "-" : "+";
    text += twoDigits(hours) + ":" + twoDigits(minutes);
    if (secs != 0)
        text += ":" + twoDigits(secs);
    return text;
}

std::string UtcOffsetLabel(int offsetSeconds) {
    const long magnitude = std::labs(static_cast<long>(offsetSeconds));
    const long minutes = magnitude / 60 % 60;
    const long secs = magnitude % 60;
    std::string text = offsetSeconds < 0 ? "UTC-" : "UTC+";
    text += std::to_string(magnitude / 3600) + ":" + (minutes < 10 ? "0" : "") +
            std::to_string(minutes);
    if (secs != 0)
        text += std::string(":") + (secs < 10 ? "0" : "") + std::to_string(secs);
    return text;
}

} // namespace toravel
