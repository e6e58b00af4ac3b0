// The computer's offset from Greenwich over the C library's time-zone
// database (mktime and localtime_r with tm_gmtoff).
#include "platform/computer_zone.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "platform/conversions.h"

namespace toravel {
namespace {

constexpr TDateTime kZoneReferenceDate = 40544; // 1 January 2011

struct LocalMoment {
    std::time_t utcSeconds = 0; // the moment, as whole seconds since 1970
    int millisecond = 0;
    long offsetSeconds = 0; // the zone's offset at that moment
};

// Resolves a local date and time with the zone's rules. The Greenwich time is
// the local time minus the offset that mktime finds, so the two always agree,
// also for a local time that a clock change skips or repeats.
LocalMoment ResolveLocal(TDateTime local) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeDateTime(local, year, month, day, hour, minute, second, millisecond);
    tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1; // let the zone's rules decide standard or daylight time
    tm asGreenwich = fields;
    const std::time_t clockSeconds = timegm(&asGreenwich); // the local clock reading
    errno = 0;
    const std::time_t resolved = std::mktime(&fields);
    if (resolved == static_cast<std::time_t>(-1) && errno != 0)
        throw std::out_of_range("the local time cannot be converted to Greenwich time");
    return {clockSeconds - fields.tm_gmtoff, millisecond, fields.tm_gmtoff};
}

} // namespace

TDateTime LocalTimeToUtc(TDateTime local) {
    const LocalMoment moment = ResolveLocal(local);
    tm utc{};
    TDateTime result = 0;
    if (gmtime_r(&moment.utcSeconds, &utc) == nullptr ||
        !TryEncodeDateTime(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                           utc.tm_sec, moment.millisecond, result))
        throw std::out_of_range("Greenwich time outside the years 1 to 9999");
    return result;
}

ComputerZone ComputerZoneAt(TDateTime local) {
    ComputerZone zone;
    zone.offsetSeconds = static_cast<int>(ResolveLocal(local).offsetSeconds);
    zone.offsetDays = zone.offsetSeconds / 86400.0;
    zone.labelText = "на компьютере разница по времени с гринвичем составляет ";
    if (zone.offsetSeconds < 0)
        zone.labelText += "- "; // west: Greenwich is later
    if (zone.offsetSeconds > 0)
        zone.labelText += "+ ";
    zone.labelText += TimeToStr(std::abs(zone.offsetSeconds) / 86400.0);
    return zone;
}

ComputerZone ComputeComputerZoneOffset() {
    return ComputerZoneAt(kZoneReferenceDate + TimeOf(Now()));
}

std::string ComputerOffsetText(int offsetSeconds) {
    const int magnitude = std::abs(offsetSeconds);
    const int minutes = magnitude / 60 % 60;
    std::string text = offsetSeconds < 0 ? "- " : "+ ";
    text += std::to_string(magnitude / 3600) + ":" + (minutes < 10 ? "0" : "") +
            std::to_string(minutes);
    return text;
}

} // namespace toravel
