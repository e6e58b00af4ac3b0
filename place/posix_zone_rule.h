// A zone's lasting rule, as the footer of its compiled zone file gives it: a
// TZ string of POSIX (IEEE Std 1003.1, "TZ") with the extensions of RFC 8536
// section 3.3.1 (transition times from −167 to 167 hours).
//
//   CET-1CEST,M3.5.0,M10.5.0/3      Berlin: +1:00, summer +2:00 from the
//                                   last Sunday of March 2:00 to the last
//                                   Sunday of October 3:00
//   <+0530>-5:30                    Kolkata: +5:30 all year
//   IST-2IDT,M3.4.4/26,M10.5.0      Jerusalem: summer from Friday 2:00
//
// Offsets here are local time minus Greenwich time, positive east (a TZ
// string writes them the other way round). Moments are seconds of universal
// time since 1970-01-01 0h in the proleptic Gregorian calendar.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace toravel {

// The day of a year on which the clock changes.
struct PosixRuleDate {
    enum class Kind {
        JulianNoLeap, // "Jn": day 1–365, 29 February never counted
        ZeroBased,    // "n": day 0–365, 29 February counted in leap years
        MonthWeekDay, // "Mm.w.d": weekday d (0 Sunday) of week w (5 = last) of month m
    };
    Kind kind = Kind::MonthWeekDay;
    int day = 0;            // n of Jn and n
    int month = 0;          // m of Mm.w.d
    int week = 0;           // w of Mm.w.d
    int weekday = 0;        // d of Mm.w.d
    int timeSeconds = 7200; // local time of day of the change, −167 h to 167 h
};

struct PosixZoneRule {
    int standardOffsetSeconds = 0;
    // Summer time, when the zone keeps it: its offset and the two changes,
    // the start given on the standard clock, the end on the summer clock.
    bool hasDaylightTime = false;
    int daylightOffsetSeconds = 0;
    PosixRuleDate daylightStart;
    PosixRuleDate daylightEnd;
};

// Nothing when the text is not such a TZ string, or names summer time
// without the dates of its changes.
std::optional<PosixZoneRule> ParsePosixZoneRule(std::string_view text);

// The two changes of the Gregorian year `year` as moments of universal time:
// the first second of summer time and the first second after it.
struct DaylightChanges {
    std::int64_t start = 0;
    std::int64_t end = 0;
};
DaylightChanges DaylightChangesOfYear(const PosixZoneRule& rule, int year);

// Days since 1970-01-01 of a proleptic Gregorian date, and the year of such
// a day.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
std::int64_t CivilYearOfDay(std::int64_t days);

} // namespace toravel
