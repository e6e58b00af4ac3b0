// The calculation command: from the birth moment and birthplace on the
// window to the four report lines. The window's Button1Click calls it; the
// command-line front end calls it too.
//
// Order of effects: the birthplace check (a message, and nothing else),
// emptying the report area, the spin box's offset, the typed lunar day; then,
// without a typed lunar day, the new moons of the birth year (listed on
// request), the preceding new moon and the moonrise count (listed on
// request; the coordinates are converted only there, and coordinates that
// are no place on the Earth end the command with a message); then the calendar
// day's record, the worlds, the report, and the picture buttons.
//
// Conversion errors (ConversionError) and database errors are thrown to the
// caller, whose error display shows them; what the command did before stays.
#pragma once

#include "horoscope/calendar_day_lookup.h"
#include "horoscope/horoscope_view.h"

namespace toravel {

void RunCalculationCommand(HoroscopeView& view, CalendarDayLookup& calendarDays);

// The texts of the command's message boxes.
inline constexpr const char* NoPlaceMessage = "нет географических данных";
inline constexpr const char* NoLatitudeMessage = "нет данных о широте";
inline constexpr const char* NoLongitudeMessage = "нет данных о долготе";
inline constexpr const char* DayNotFoundMessage =
    "К сожалению соответствие не найдено, обратитесь к разработчику";

} // namespace toravel
