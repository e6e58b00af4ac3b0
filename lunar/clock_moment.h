// A moment as a place's civil clock shows it: the reading and the offset
// from Greenwich in force then, so that a reading the clocks pass twice is
// still one moment. With the texts that name it in ISO 8601.
#pragma once

#include <cstdint>
#include <string>

#include "platform/tdatetime.h"

namespace toravel {

struct ClockMoment {
    TDateTime local = 0.0; // the clock's reading
    int offsetSeconds = 0; // local minus Greenwich, positive east

    // Whole seconds of universal time from the TDateTime epoch (the reading
    // rounded to the second, less the offset).
    std::int64_t UniversalSecond() const;

    friend bool operator==(const ClockMoment&, const ClockMoment&) = default;
};

// "2026-12-01T13:41:00+03:00": the reading to the second and its offset
// ("+05:30", "-03:00", "+00:00"; "+02:30:17" where the offset has seconds).
// Throws std::out_of_range outside the years 1 to 9999, as DecodeDateTime.
std::string IsoMomentText(const ClockMoment& moment);

// "2026-12-01": the date of a reading.
std::string IsoDateText(TDateTime date);

} // namespace toravel
