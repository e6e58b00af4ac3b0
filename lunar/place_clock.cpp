#include "lunar/place_clock.h"

#include "lunar/lunar_month_error.h"

namespace toravel {

PlaceClock::PlaceClock(const CalendarPlace& place, std::int64_t fromSecond, std::int64_t toSecond) {
    if (!HasZoneName(place)) {
        periods_.push_back({fromSecond, place.fixedOffsetSeconds});
        return;
    }
    auto periods = ZoneClockPeriods(place.zoneName, fromSecond, toSecond);
    if (!periods || periods->empty())
        throw LunarMonthError("не удалось прочитать правила часового пояса «" + place.zoneName +
                              "» из базы часовых поясов системы");
    periods_ = std::move(*periods);
}

int PlaceClock::OffsetAtUniversal(std::int64_t universalSecond) const {
    // The last period begun by then; a handful of periods, searched in turn.
    int offset = periods_.front().offsetSeconds;
    for (const ZoneClockPeriod& period : periods_) {
        if (period.universalBeginSecond > universalSecond)
            break;
        offset = period.offsetSeconds;
    }
    return offset;
}

int PlaceClock::OffsetAtLocal(std::int64_t localSecond) const {
    // The first period whose span holds the reading: the only one, or for a
    // repeated reading the earlier. None holds a skipped reading: then the
    // last period begun by the reading on its own clock, the one before the
    // change.
    int before = periods_.front().offsetSeconds;
    for (std::size_t i = 0; i < periods_.size(); ++i) {
        const std::int64_t universal = localSecond - periods_[i].offsetSeconds;
        const bool begun = i == 0 || universal >= periods_[i].universalBeginSecond;
        const bool ended =
            i + 1 < periods_.size() && universal >= periods_[i + 1].universalBeginSecond;
        if (begun && !ended)
            return periods_[i].offsetSeconds;
        if (begun)
            before = periods_[i].offsetSeconds;
    }
    return before;
}

} // namespace toravel
