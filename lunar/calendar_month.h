// A month of the lunar calendar: its year and number, checked, and read from
// the text "ММ.ГГГГ" that people type.
//
// Years 2 to 9998: a month's calendar needs the new moons from December of
// the year before and the days up to 1 January of the year after, and dates
// exist for the years 1 to 9999 (the range the birth date takes too).
#pragma once

#include <string>
#include <string_view>

namespace toravel {

inline constexpr int FirstCalendarYear = 2;
inline constexpr int LastCalendarYear = 9998;

struct CalendarMonth {
    int year = 0;
    int month = 0; // 1 to 12

    friend bool operator==(const CalendarMonth&, const CalendarMonth&) = default;
};

// "03.2026": the month with two digits, a dot and the year with at least
// four ("01.0002").
std::string CalendarMonthText(const CalendarMonth& month);

// Throws LunarMonthError with a Russian message when the month number is not
// 1 to 12 or the year lies outside 2 to 9998.
void CheckCalendarMonth(const CalendarMonth& month);

// "ММ.ГГГГ" (also "М.ГГГГ"; blanks around allowed), checked as above.
// Anything else throws LunarMonthError with a message that quotes the text.
CalendarMonth ParseCalendarMonth(std::string_view text);

// The month before and the month after, across the years.
CalendarMonth PreviousCalendarMonth(const CalendarMonth& month);
CalendarMonth NextCalendarMonth(const CalendarMonth& month);

} // namespace toravel
