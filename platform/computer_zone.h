// The computer's own time zone, from the system's time-zone database (the
// zone the environment's TZ names, or the machine's /etc/localtime). The
// program never sets TZ itself: that would change the computer's offset.
//
// Offsets are local time minus Greenwich time, positive east, as whole
// seconds (tm_gmtoff) and as those seconds / 86 400 days, so that three hours
// east is exactly 0.125. Daylight time applies as the zone's rules give it on
// the date in question.
#pragma once

#include <string>

#include "platform/tdatetime.h"

namespace toravel {

// The Greenwich date and time of the computer's local moment `local`, to the
// millisecond. A local time skipped by a clock change is taken as the
// C library's mktime normalises it; a repeated one as its first occurrence
// or second, as mktime chooses.
TDateTime LocalTimeToUtc(TDateTime local);

struct ComputerZone {
    int offsetSeconds = 0; // local minus Greenwich, positive east
    double offsetDays = 0; // offsetSeconds / 86 400
    std::string labelText; // "на компьютере разница ... составляет + 3:00:00"
};

// The computer's offset at the local moment `local`, with the label text: the
// sign ("- " west, "+ " east, nothing at Greenwich) and the magnitude as a
// long time.
ComputerZone ComputerZoneAt(TDateTime local);

// The offset the program works with: that of 1 January 2011 at the present
// local time of day, so the computer's winter offset north of the equator
// whatever the date of the calculation.
ComputerZone ComputeComputerZoneOffset();

// The computer's offset in short, as the label writes its sign: "+ 3:00",
// "- 5:00", "+ 5:30".
std::string ComputerOffsetText(int offsetSeconds);

} // namespace toravel
