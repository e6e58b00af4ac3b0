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

#include <array>
#include <cstdint>
#include <ostream>
#include <stdexcept>

#include "lunar/calculation_state.h"
#include "lunar/lunar_calendar_view.h"
#include "platform/tdatetime.h"

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

// The table entry of one local day: the date at the moonrise rounded to the
// whole minute, or the date alone at 00:00 when the Moon does not rise that
// day. dayStart: MJD (universal time) of the local midnight that begins the
// day; offset: the clock's offset from Greenwich, days, which names the date;
// longitude and latitude in radians. The moonrise of the last half minute is
// kept at 23:59 and that of the first at 00:01, so an entry at 00:00 always
// means no moonrise. Writes the day's working text to stream.
TDateTime MoonriseEntryOfDay(double dayStart, double offset, double longitude, double latitude,
                             std::ostream& stream);

// The entry of a moonrise at `riseHour`, local hours of the same day, made
// as MoonriseEntryOfDay makes the day's: for a day's other moonrises
// (FindAllRises), which the table does not hold.
TDateTime MoonriseEntryAt(double dayStart, double offset, double riseHour, std::ostream& stream);

// Fills MoonriseTable, appends the moonrise listing to the view when a
// listing is wanted, and sets LunarDay (left unchanged when the moment lies
// outside the table). Writes its working texts to the lunar working stream.
// Throws the errors of ReadRiseSetInput before anything is changed.
void CountMoonrisesSinceNewMoon(LunarCalendarView& view);

// The steps of the count, for a caller that keeps moonrises between
// calculations.
//
// The listing: a title line, the 41 entries as date-time texts, a blank line.
void ListMoonrises(LunarCalendarView& view, const std::array<TDateTime, MoonriseDayCount>& table);

// The lunar day of `moment` from the moonrises of the lunation that begins at
// `newMoon` (table entry i being that of the i-th day from the new moon's
// date): `unset` when the moment lies before the first moonrise pair, plus
// the rules of the count.
std::int32_t LunarDayAmongMoonrises(TDateTime newMoon, TDateTime moment,
                                    const std::array<TDateTime, MoonriseDayCount>& table,
                                    std::int32_t unset);

// How many entries from the first the lunar day of `moment` depends on: up
// to that of the moment's own date. Later entries may hold any moment after
// `moment` (a caller that did not search them puts the largest double there)
// and the count stays the same.
int MoonriseEntriesCounted(TDateTime newMoon, TDateTime moment);

} // namespace toravel
