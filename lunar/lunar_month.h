// A month's lunar calendar for a place: for every calendar day the lunar day
// in force at 00:00, each lunar day that begins during the day with its
// beginning (the new moon, or the moonrise over the place), the full moon,
// and whether the Moon rises at all that day.
//
// The same astronomy as the single calculation, and the same answers: the
// phases of the new-moon search for the month's year (the table that the
// calculation of any birth in that year uses) and the moonrise search of
// each local day, on the same clock, rounded to the minute the same way. A
// lunar day begins at the new moon and at each moonrise after it; the lunar
// day in force at a moment is 1 plus the moonrises since the last new moon,
// and is the one the calculation of a birth at that moment gives with the
// offset then in force (for a birth at 12:00, the offset --auto-zone takes).
//
// Clock rule. Every moment is told on the place's clock in force at that
// moment and belongs to the calendar day of that reading, so each moment is
// shown once, also on the day the clock is changed. The moonrise of a local
// day is searched on that day's clock; on the day of a change on each of its
// clocks, each keeping the moonrise of the hours it is in force. Where one
// clock runs from the last new moon to the moment, the searches are the
// calculation's own. A calculation holds one offset for all its
// days, so across a change it searches the days before it on the later
// clock: the same moonrises, sampled an hour apart, a few seconds apart. The
// two can differ only when such a moonrise falls within a minute of the new
// moon, or of a midnight; over 1990–2030 at seven places, four of them with
// clock changes, none did (docs/accuracy.md).
//
// The year's phases come from the search of the month's year, as for a
// birth: the new moon before 1 January is the one the January search finds.
// The December search of the year before may round the same new moon to the
// neighbouring minute, so one within a minute of New Year's midnight could
// show on both sides of it or on neither.
//
// Ties, as in the single calculation: a new moon is in force from its
// minute on; a moonrise on the new moon's own date too; any later moonrise
// from the minute after it (its minute still belongs to the lunar day it
// ends). A moonrise in the new moon's own minute begins no lunar day
// (`moonriseAtNewMoon`); one earlier on the new moon's date ends the old
// lunation's last lunar day with one more.
//
// Lunar days are counted as they come: at a polar place, where the Moon
// stays up or down for days, the numbers run slower, and a day of the
// month may pass without a beginning. Where a date sees two moonrises, the
// calculation's search keeps one, the one its hourly intervals reach last
// before both a rise and a set are found; the calendar counts that one and
// lists the other apart (`otherMoonrises`), so that the two keep agreeing.
//
// Not thread-safe, as the rest of the lunar calendar: the searches use the
// process-wide phase quarter and captured text fields. The calculation
// state is neither read nor written.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "lunar/calendar_month.h"
#include "lunar/calendar_place.h"
#include "lunar/clock_moment.h"
#include "platform/tdatetime.h"

namespace toravel {

enum class LunarDayBeginningKind { NewMoon, Moonrise };

struct LunarDayBeginning {
    std::int32_t lunarDay = 0; // 1 at a new moon
    ClockMoment moment;
    LunarDayBeginningKind kind = LunarDayBeginningKind::NewMoon;
    // In force at its own minute (the new moon, the first moonrise on the
    // new moon's date), or only from the minute after (later moonrises).
    bool inForceAtItsMinute = true;

    friend bool operator==(const LunarDayBeginning&, const LunarDayBeginning&) = default;
};

struct LunarMonthDay {
    TDateTime date = 0.0; // 00:00 of the calendar day
    // In force at 00:00 (read with the offset in force before a change that
    // skips or repeats midnight).
    std::int32_t lunarDayAtStart = 0;
    // Each lunar day that begins during the day, in the order of time.
    std::vector<LunarDayBeginning> beginnings;
    // The Moon rises in the new moon's minute: it begins no lunar day.
    std::optional<ClockMoment> moonriseAtNewMoon;
    std::optional<ClockMoment> fullMoon;
    // The Moon does not rise this day (it stays up, or down, or sets only).
    bool noMoonrise = false;
    // The day's moonrises that begin no lunar day: at 64° to 78° of
    // latitude a date may see the Moon rise twice (Tromsø, 11.06.2026:
    // 00:24 and 23:38), and the count, like the single calculation's, keeps
    // one moonrise per date. In the order of time.
    std::vector<ClockMoment> otherMoonrises;
    // The offset in force at 12:00, which a birth calculation at noon uses.
    int noonOffsetSeconds = 0;
};

struct LunarMonth {
    CalendarPlace place;
    CalendarMonth month;
    std::vector<LunarMonthDay> days; // every date of the month, in order
};

// Throws LunarMonthError (a Russian message for the user) for a month
// outside the years 2 to 9998 or not 1 to 12, and for a place that is none
// (see CheckCalendarPlace).
LunarMonth ComputeLunarMonth(const CalendarPlace& place, const CalendarMonth& month);

// The lunar day in force at a moment of the day: the last beginning in force
// by then, under the tie rule above, or the lunar day at 00:00.
std::int32_t LunarDayInForceAt(const LunarMonthDay& day, const ClockMoment& moment);

} // namespace toravel
