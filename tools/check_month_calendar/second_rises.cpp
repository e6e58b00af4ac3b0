#include "tools/check_month_calendar/second_rises.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "lunar/lunar_month.h"
#include "lunar/place_clock.h"
#include "place/birthplace_zone.h"
#include "platform/conversions.h"

namespace toravel::tools {
namespace {

constexpr double JulianDateOfTDateTimeEpoch = 2415018.5;

double JulianDate(std::int64_t universalSecond) {
    return static_cast<double>(universalSecond) / 86400.0 + JulianDateOfTDateTimeEpoch;
}

// "23:38:07", a reference rise on the clock of `offsetSeconds`.
std::string ReferenceClockText(double jd, int offsetSeconds) {
    const double local = (jd - JulianDateOfTDateTimeEpoch) + offsetSeconds / 86400.0;
    const auto seconds = static_cast<long>(std::floor((local - std::floor(local)) * 86400.0 + 0.5));
    char text[16];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", seconds / 3600 % 24, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

// "23:38", a moment as the calendar shows it.
std::string ClockText(const ClockMoment& m) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(m.local, year, month, day, hour, minute, second, millisecond);
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

} // namespace

long ListSecondMoonrises(const std::string& name, const CalendarPlace& place, int firstYear,
                         int lastYear, const ReferenceMoon& reference) {
    const PlaceClock clock(place, std::llround(EncodeDateTime(firstYear, 1, 1) * 86400.0) - 86400,
                           std::llround(EncodeDateTime(lastYear + 1, 1, 2) * 86400.0));
    long ours = 0, theirs = 0, differing = 0;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const LunarMonth lunar = ComputeLunarMonth(place, {year, month});
            for (const LunarMonthDay& day : lunar.days) {
                const std::int64_t dayStart = std::llround(day.date * 86400.0);
                const std::vector<double> referenceRises =
                    reference.MoonrisesBetween(JulianDate(clock.LocalToUniversal(dayStart)),
                                               JulianDate(clock.LocalToUniversal(dayStart + 86400)),
                                               place.latitudeDegrees, place.longitudeDegrees);
                const bool here = !day.otherMoonrises.empty();
                const bool there = referenceRises.size() >= 2;
                if (!here && !there)
                    continue;
                ours += here;
                theirs += there;
                differing += here != there;
                std::string line = DateToStr(day.date) + ":";
                for (const LunarDayBeginning& b : day.beginnings)
                    if (b.kind == LunarDayBeginningKind::Moonrise)
                        line += " counted " + ClockText(b.moment);
                if (day.moonriseAtNewMoon)
                    line += " at the new moon " + ClockText(*day.moonriseAtNewMoon);
                for (const ClockMoment& other : day.otherMoonrises)
                    line += ", second " + ClockText(other);
                line += "; reference";
                for (const double jd : referenceRises)
                    line += " " + ReferenceClockText(jd, day.noonOffsetSeconds);
                if (here != there)
                    line += here ? "  <- only here" : "  <- only in the reference";
                std::printf("%s %s\n", name.c_str(), line.c_str());
            }
        }
    }
    std::printf("%s %d-%d: %ld dates with two moonrises here, %ld in the reference, %ld differ\n",
                name.c_str(), firstYear, lastYear, ours, theirs, differing);
    return differing;
}

} // namespace toravel::tools
