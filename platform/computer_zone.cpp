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

constexpr TDateTime kZoneReferenceDate = 40544;  // 1 January 2011

struct LocalMoment {
    std::time_t seconds = 0;  // the moment, as seconds since 1970 (whole)
    int millisecond = 0;
    long offsetSeconds = 0;   // the zone's offset at that moment
};

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
    fields.tm_isdst = -1;  // let the zone's rules decide standard or daylight time
    errno = 0;
    const std::time_t seconds = std::mktime(&fields);
    if (seconds == static_cast<std::time_t>(-1) && errno != 0)
        throw std::runtime_error("the local time cannot be converted to Greenwich time");
    return {seconds, millisecond, fields.tm_gmtoff};
}

}  // namespace

TDateTime LocalTimeToUtc(TDateTime local) {
    const LocalMoment moment = ResolveLocal(local);
    tm utc{};
    if (gmtime_r(&moment.seconds, &utc) == nullptr)
        throw std::runtime_error("the local time cannot be converted to Greenwich time");
    return EncodeDateTime(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour,
                          utc.tm_min, utc.tm_sec > 59 ? 59 : utc.tm_sec, moment.millisecond);
}

ComputerZone ComputerZoneAt(TDateTime local) {
    ComputerZone zone;
    zone.offsetSeconds = static_cast<int>(ResolveLocal(local).offsetSeconds);
    zone.offsetDays = zone.offsetSeconds / 86400.0;
    zone.labelText = "на компьютере разница по времени с гринвичем составляет ";
    if (zone.offsetSeconds < 0) zone.labelText += "- ";  // west: Greenwich is later
    if (zone.offsetSeconds > 0) zone.labelText += "+ ";
    zone.labelText += TimeToStr(std::abs(zone.offsetSeconds) / 86400.0);
    return zone;
}

ComputerZone ComputeComputerZoneOffset() {
    return ComputerZoneAt(kZoneReferenceDate + TimeOf(Now()));
}

}  // namespace toravel
