// The clock a calculation runs on: the birthplace's offset from Greenwich
// that the lunar calendar adds to universal time.
//
// The window adds the spin box's whole hours to the computer's own offset
// (--zone), so the same command gives other results on another machine. The
// other sources give the birthplace's offset itself, whatever the computer's
// zone: --utc-offset directly, --zone-name and --auto-zone from the tz
// database at the birth moment, summer time included. With no clock option a
// place (--city, --place, or the atlas place within 50 km of typed
// coordinates) runs on its own zone, as with --auto-zone.
// Such a clock reaches the calculation command as a computer at that offset
// with a spin box at 0, which is how the window runs on a computer in the
// birthplace's zone.
#pragma once

#include <optional>
#include <string>

#include "command_line/command_view.h"
#include "lunar/calculation_state.h"
#include "place/birthplace_zone.h"
#include "platform/computer_zone.h"
#include "platform/tdatetime.h"

namespace toravel::command_line {

enum class ClockSource {
    Zone,      // --zone: the window's hours plus the computer's offset
    UtcOffset, // --utc-offset
    ZoneName,  // --zone-name
    AutoZone,  // --auto-zone: the birthplace's own zone
};

struct CalculationClock {
    ClockSource source = ClockSource::Zone;
    // The lunar calendar's clock: local minus Greenwich, positive east.
    int offsetSeconds = 0;
    // ZoneName and AutoZone: the zone, and how its rules read the birth moment.
    std::string zoneName;
    bool summerTime = false;
    bool keepsDaylightTime = false;
    LocalClockReading reading = LocalClockReading::Unique;
    // Zone: the spin box's whole hours and the computer's own offset.
    int zoneHours = 0;
    ComputerZone computer;
};

// --utc-offset.
CalculationClock FixedClock(int offsetSeconds);

// The window's clock: the hours plus the computer's offset.
CalculationClock WindowClock(int zoneHours, const ComputerZone& computer);

// The zone's clock at the local birth moment (ZoneName or AutoZone); nothing
// when the tz database does not know the zone or has no offset then.
std::optional<CalculationClock> ZoneClock(ClockSource source, const std::string& zoneName,
                                          TDateTime birthLocal);

// What the calculation command reads of the clock: the spin box's text and
// the computer's offset in the calculation state.
void ApplyClock(const CalculationClock& clock, CommandView& view, CalculationState& state);

// Whether the result depends on the machine's time zone.
inline bool DependsOnTheComputer(const CalculationClock& clock) {
    return clock.source == ClockSource::Zone;
}

// "zone", "utc_offset", "zone_name", "auto_zone", as the JSON names the source.
const char* ClockSourceName(ClockSource source);

// The clock in words, for the printed birth data and the text output:
// "+04:00, Europe/Moscow, летнее время", "+05:30", "3 ч и разница компьютера + 3:00".
std::string ClockDescription(const CalculationClock& clock);

// A clock that does not depend on the computer as a print names it:
// "UTC+4:00, Europe/Moscow, летнее время", "UTC+5:30".
std::string ClockLabel(const CalculationClock& clock);

// A warning for a birth moment that the zone's clocks skipped or passed
// twice; the empty text otherwise.
std::string ClockReadingWarning(const CalculationClock& clock, TDateTime birthLocal);

} // namespace toravel::command_line
