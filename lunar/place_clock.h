// The civil clock of a calendar place over a span of time: which offset from
// Greenwich is in force at a moment, which one a local clock reading is
// taken with, and which offsets a local day runs on (two on the day the
// clock is changed).
//
// Moments: whole seconds from 30 December 1899 0h, the TDateTime epoch; a
// universal moment counts universal time, a local reading the place's clock
// time (a local TDateTime d is the reading d·86 400). Offsets: local minus
// Greenwich, seconds, positive east.
#pragma once

#include <cstdint>
#include <vector>

#include "lunar/calendar_place.h"
#include "place/birthplace_zone_periods.h"

namespace toravel {

class PlaceClock {
public:
    // The clock over [fromSecond, toSecond) of universal time; moments
    // outside the span take the offset of its nearest end. Throws
    // LunarMonthError when the place's zone is unknown or the tz database
    // cannot be read.
    PlaceClock(const CalendarPlace& place, std::int64_t fromSecond, std::int64_t toSecond);

    int OffsetAtUniversal(std::int64_t universalSecond) const;

    // A reading that the clocks skip or pass twice is taken with the offset
    // in force before the change, as the birthplace's offset at a birth
    // moment is (place/birthplace_zone.h).
    int OffsetAtLocal(std::int64_t localSecond) const;

    std::int64_t LocalToUniversal(std::int64_t localSecond) const {
        return localSecond - OffsetAtLocal(localSecond);
    }

    // Calls visit(offsetSeconds) once for each offset in force at some
    // moment of the local day that begins at the reading dayLocalSecond, in
    // the order of time.
    template <typename Visit>
    void ForEachOffsetOfLocalDay(std::int64_t dayLocalSecond, Visit visit) const {
        const std::int64_t dayEnd = dayLocalSecond + 86400;
        for (std::size_t i = 0; i < periods_.size(); ++i) {
            const int offset = periods_[i].offsetSeconds;
            // The period's span in local readings; the first and the last
            // period reach beyond the span.
            const bool first = i == 0;
            const bool last = i + 1 == periods_.size();
            const std::int64_t begin = periods_[i].universalBeginSecond + offset;
            const std::int64_t end = last ? 0 : periods_[i + 1].universalBeginSecond + offset;
            if ((first || begin < dayEnd) && (last || end > dayLocalSecond))
                visit(offset);
        }
    }

private:
    std::vector<ZoneClockPeriod> periods_; // never empty
};

} // namespace toravel
