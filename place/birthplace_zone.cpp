// The birthplace's offset over the date/tz library with the system's tz
// database (the library's USE_OS_TZDB build: it reads the compiled zone
// files under /usr/share/zoneinfo, never TZ).
#include "place/birthplace_zone.h"

#include <date/tz.h>

#include <chrono>
#include <cstdlib>
#include <exception>
#include <vector>

#include "platform/ascii_text.h"

namespace toravel {
namespace {

using std::chrono::seconds;

// Zone names are paths below the database's folder. Only the characters of
// real zone names are let through, and no "..", so a city list cannot steer
// the lookup to another file; "localtime" is the machine's own zone, never a
// birthplace's.
bool LooksLikeZoneName(std::string_view name) {
    if (name.empty() || name.size() > 64 || name.front() == '/' ||
        name.find("..") != std::string_view::npos || name == "localtime" || name == "posixrules")
        return false;
    for (const char c : name) {
        const bool letterOrDigit =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '/' && c != '_' && c != '-' && c != '+')
            return false;
    }
    return true;
}

// The zone, or null when the name is not one of the database's zones. The
// library reports an unknown name (and an unreadable database) by throwing.
const date::time_zone* FindZone(std::string_view zoneName) {
    const std::string_view name = TrimBlanksAndControls(zoneName);
    if (!LooksLikeZoneName(name))
        return nullptr;
    try {
        return date::locate_zone(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}

struct ClockPeriod {
    seconds offset;
    bool daylight; // the database marks it as daylight-saving time
};

// The zone's periods of constant offset that overlap the local calendar year.
std::vector<ClockPeriod> PeriodsOfLocalYear(const date::time_zone& zone, int year) {
    const auto start =
        zone.to_sys(date::local_days{date::year{year} / 1 / 1}, date::choose::earliest);
    const auto end =
        zone.to_sys(date::local_days{date::year{year + 1} / 1 / 1}, date::choose::earliest);
    std::vector<ClockPeriod> periods;
    date::sys_info info = zone.get_info(start);
    for (int i = 0; i < 100; ++i) { // a year has a handful of changes at most
        periods.push_back({info.offset, info.save != std::chrono::minutes{0}});
        if (info.end >= end)
            break;
        info = zone.get_info(info.end);
    }
    return periods;
}

// Summer time is the higher of the clocks the zone alternates between that
// year. The database's daylight flag alone is not enough: some zones define
// winter as a negative daylight saving (Europe/Dublin keeps IST in summer as
// its standard time and flags GMT in winter). So the moment is summer time
// when its offset exceeds those of the year's periods with the other flag;
// where all the year's periods carry the same flag, the flag decides.
bool IsSummerTime(const ClockPeriod& moment, const std::vector<ClockPeriod>& year) {
    bool otherFlagSeen = false;
    seconds lowestOther{};
    for (const ClockPeriod& period : year) {
        if (period.daylight == moment.daylight)
            continue;
        if (!otherFlagSeen || period.offset < lowestOther)
            lowestOther = period.offset;
        otherFlagSeen = true;
    }
    return otherFlagSeen ? moment.offset > lowestOther : moment.daylight;
}

} // namespace

std::optional<BirthplaceOffset> BirthplaceOffsetAt(std::string_view zoneName,
                                                   TDateTime birthLocal) {
    const date::time_zone* zone = FindZone(zoneName);
    if (zone == nullptr)
        return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    try {
        DecodeDateTime(birthLocal, year, month, day, hour, minute, second, millisecond);
    } catch (const std::exception&) {
        return std::nullopt; // NaN or outside the years 1 to 9999
    }
    const date::local_time<std::chrono::milliseconds> clock =
        date::local_days{date::year{year} / month / day} + std::chrono::hours{hour} +
        std::chrono::minutes{minute} + seconds{second} + std::chrono::milliseconds{millisecond};

    try {
        const date::local_info local = zone->get_info(clock);
        // For a skipped or repeated reading `first` is the period before the
        // change, the reading this module has chosen.
        const ClockPeriod moment{local.first.offset, local.first.save != std::chrono::minutes{0}};
        const std::vector<ClockPeriod> periods = PeriodsOfLocalYear(*zone, year);

        BirthplaceOffset result;
        result.offsetSeconds = static_cast<int>(moment.offset.count());
        for (const ClockPeriod& period : periods)
            result.keepsDaylightTimeThatYear = result.keepsDaylightTimeThatYear || period.daylight;
        result.summerTime = result.keepsDaylightTimeThatYear && IsSummerTime(moment, periods);
        if (local.result == date::local_info::nonexistent)
            result.reading = LocalClockReading::Skipped;
        else if (local.result == date::local_info::ambiguous)
            result.reading = LocalClockReading::Repeated;
        return result;
    } catch (const std::exception&) {
        return std::nullopt; // a zone file that cannot be read
    }
}

bool IsKnownZoneName(std::string_view zoneName) {
    return FindZone(zoneName) != nullptr;
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
