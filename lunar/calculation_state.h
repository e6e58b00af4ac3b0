// The calculation's process-wide state, shared by the calculation command,
// the new-moon search, the moonrise count, the classification and the
// report. It lives from start-up to the end of the process; every field
// starts as zero or the empty text and keeps its value from one calculation
// to the next unless the command resets it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/tdatetime.h"

namespace toravel {

inline constexpr int NewMoonCount = 14;
inline constexpr int MoonriseDayCount = 41;

struct CalculationState {
    // The birthplace's offset from Greenwich: the spin box's hours / 24, days.
    double ZoneOffsetDays = 0.0;
    // The computer's own offset from Greenwich, days, worked out at start-up.
    double ComputerZoneOffset = 0.0;
    // 14 consecutive new moons on the calculation's clock, ascending.
    std::array<TDateTime, NewMoonCount> NewMoonTable{};
    // The new moon from which the lunar day is counted.
    TDateTime PrecedingNewMoon = 0.0;
    // The birth moment: birth date plus birth time of day to the second.
    TDateTime CalculationMoment = 0.0;
    // The moonrise of each of the 41 days from the preceding new moon's date;
    // a day without moonrise holds its date at 00:00.
    std::array<TDateTime, MoonriseDayCount> MoonriseTable{};
    // The lunar day of the birth moment; 0 = none yet.
    std::int32_t LunarDay = 0;
    // The lunar day typed by the user; 0 when none was typed.
    std::int32_t GivenLunarDay = 0;
    // World letters "b", "c", "h" or empty: of the calendar day, of the lunar
    // day, and of the period combined from the two.
    std::string DayWorld;
    std::string LunarWorld;
    std::string PeriodWorld;
    // Circle of the calendar day, as the report names it.
    std::string CircleName;
    // The report line being composed; empty after the report.
    std::string LunarDayText;
    // Set when the birth moment, to the minute, is a new moon of the table.
    bool NewMoonFlag = false;
};

// The one process-wide record.
CalculationState& SharedCalculationState();

} // namespace toravel
