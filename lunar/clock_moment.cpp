#include "lunar/clock_moment.h"

#include <cmath>

#include "place/birthplace_zone.h"

namespace toravel {
namespace {

std::string Digits(int value, std::size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

} // namespace

std::int64_t ClockMoment::UniversalSecond() const {
    return std::llround(local * 86400.0) - offsetSeconds;
}

std::string IsoMomentText(const ClockMoment& moment) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(moment.local, year, month, day, hour, minute, second, millisecond);
    return Digits(year, 4) + "-" + Digits(month, 2) + "-" + Digits(day, 2) + "T" + Digits(hour, 2) +
           ":" + Digits(minute, 2) + ":" + Digits(second, 2) + UtcOffsetText(moment.offsetSeconds);
}

std::string IsoDateText(TDateTime date) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(date, year, month, day, hour, minute, second, millisecond);
    return Digits(year, 4) + "-" + Digits(month, 2) + "-" + Digits(day, 2);
}

} // namespace toravel
