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
// Conversion errors (ConversionError), database errors and a failed search
// of the new moons are thrown to the caller, whose error display shows them;
// what the command did before stays.
#pragma once

#include <string>

#include "horoscope/calendar_day_lookup.h"
#include "horoscope/horoscope_view.h"
#include "lunar/lunar_tables.h"

namespace toravel {

// How a run of the command ended.
enum class CalculationEnding {
    ReportWritten,    // the report is in the area, also after the not-found
                      // message of the calendar day
    StoppedByMessage, // a message box ended it: a blank or impossible birthplace
    StoppedByError,   // an error ended it
};

struct CalculationOutcome {
    CalculationEnding ending = CalculationEnding::ReportWritten;
    // The text of the message box that stopped the command, or the error's
    // message; empty when the report was written.
    std::string text;
    // This run wrote NewMoonTable, CalculationMoment and PrecedingNewMoon.
    bool newMoonsComputed = false;
    // This run wrote MoonriseTable and counted LunarDay from it.
    bool moonrisesComputed = false;
};

// The command as the window runs it: the outcome says whether the report was
// written or a message stopped the command; an error is thrown. The new moons
// and the moonrise count come from `tables`: the searches themselves unless
// a caller keeps what they found for earlier births.
CalculationOutcome RunCalculationCommand(HoroscopeView& view, CalendarDayLookup& calendarDays,
                                         LunarTables& tables = SearchedLunarTables());

// The same for a caller without an error display of its own: an error that
// ends the command (a std::exception) is returned as StoppedByError with its
// message instead of being thrown.
CalculationOutcome
RunCalculationCommandReportingErrors(HoroscopeView& view, CalendarDayLookup& calendarDays,
                                     LunarTables& tables = SearchedLunarTables());

// The texts of the command's message boxes.
inline constexpr const char* NoPlaceMessage = "нет географических данных";
inline constexpr const char* NoLatitudeMessage = "нет данных о широте";
inline constexpr const char* NoLongitudeMessage = "нет данных о долготе";
inline constexpr const char* DayNotFoundMessage =
    "К сожалению соответствие не найдено, обратитесь к разработчику";

} // namespace toravel
