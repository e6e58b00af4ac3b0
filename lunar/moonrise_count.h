// Moonrise count and lunar day.
//
// The first lunar day begins at the new moon, and each following lunar day
// at a moonrise over the birthplace. CountMoonrisesSinceNewMoon finds the
// moonrise of each of the 41 local days from the date of PrecedingNewMoon on,
// keeps them in MoonriseTable, lists them on request and sets LunarDay from
// the place of CalculationMoment among them.
//
// Clock: every value here runs ahead of universal time by ComputerZoneOffset
// + ZoneOffsetDays days, the clock of the new-moon table; CalculationMoment,
// the birth moment as entered, is compared with them unchanged. A table
// entry is the moonrise rounded to the whole minute, or the date alone at
// 00:00 for a day without moonrise.
#pragma once

#include <stdexcept>

#include "lunar/lunar_calendar_view.h"

namespace toravel {

// The message for coordinates that are numbers but no place on the Earth.
inline constexpr const char* InvalidBirthplaceMessage = "неверные географические данные";

// Coordinates that are numbers but no place: a latitude outside −90 … 90 or
// a longitude outside −180 … 180 degrees. The calculation command shows the
// message and computes nothing more.
class InvalidBirthplaceError : public std::runtime_error {
public:
    InvalidBirthplaceError() : std::runtime_error(InvalidBirthplaceMessage) {}
};

// The search input from the shared state and the view:
//   dayStart  — MJD (universal time) of the local midnight that begins the
//               date of PrecedingNewMoon;
//   longitude — the longitude text in degrees, as radians, positive east;
//   latitude  — the latitude text in degrees, as radians, positive north;
//   offset    — ComputerZoneOffset + ZoneOffsetDays, days.
// Throws ConversionError when a coordinate text is not a decimal number, and
// InvalidBirthplaceError when it is out of range; nothing is written then.
void ReadRiseSetInput(const LunarCalendarView& view, double& dayStart, double& longitude,
                      double& latitude, double& offset);

// Fills MoonriseTable, appends the moonrise listing to the view when a
// listing is wanted, and sets LunarDay (left unchanged when the moment lies
// outside the table). Writes its working texts to the lunar working stream.
// Throws the errors of ReadRiseSetInput before anything is changed.
void CountMoonrisesSinceNewMoon(LunarCalendarView& view);

} // namespace toravel
