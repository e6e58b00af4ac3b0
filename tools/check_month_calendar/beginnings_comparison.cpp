#include "tools/check_month_calendar/beginnings_comparison.h"

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

struct Differences {
    explicit Differences(const char* kind_) : kind(kind_) {}

    const char* kind;
    long count = 0;
    long sameMinute = 0;
    long missing = 0; // no reference moment near ours
    double maxAbs = 0.0;
    double sum = 0.0;
    double sumSquares = 0.0;
    std::string worst;

    void Add(double seconds, double referenceJd, const std::string& shown) {
        ++count;
        if (std::fabs(seconds) > maxAbs) {
            maxAbs = std::fabs(seconds);
            worst = shown;
        }
        sum += seconds;
        sumSquares += seconds * seconds;
        // The reference on the same minute as shown, rounded as the calendar rounds.
        const double referenceMinute = std::floor(referenceJd * 1440.0 + 0.5) / 1440.0;
        if (std::fabs(referenceMinute - (referenceJd + seconds / 86400.0)) * 86400.0 < 1.0)
            ++sameMinute;
    }

    void Print(const std::string& place) const {
        if (count == 0) {
            std::printf("%s, %s: none\n", place.c_str(), kind);
            return;
        }
        std::printf("%s, %s: %ld, max |diff| %.1f s (%s), rms %.1f s, mean %+.1f s, "
                    "same minute %.1f %%%s\n",
                    place.c_str(), kind, count, maxAbs, worst.c_str(),
                    std::sqrt(sumSquares / count), sum / count, 100.0 * sameMinute / count,
                    missing ? (", " + std::to_string(missing) + " without reference").c_str() : "");
    }
};

std::string Shown(const ClockMoment& m) {
    return DateTimeToStr(m.local) + " " + UtcOffsetText(m.offsetSeconds);
}

} // namespace

void CompareYearOfBeginnings(const std::string& name, const CalendarPlace& place, int year,
                             const ReferenceMoon& reference) {
    Differences newMoons("new moon"), moonrises("moonrise"), fullMoons("full moon");
    // A date's second moonrise begins no lunar day: counted apart, as are
    // the dates the reference has two moonrises on.
    Differences secondRises("second moonrise, no lunar day");
    long twoRisesHere = 0, twoRisesThere = 0;
    std::vector<std::string> presence;
    const PlaceClock clock(place, std::llround(EncodeDateTime(year, 1, 1) * 86400.0) - 86400,
                           std::llround(EncodeDateTime(year + 1, 1, 2) * 86400.0));

    const auto addRise = [&](const ClockMoment& moment, Differences& kind) {
        const double jd = JulianDate(moment.UniversalSecond());
        const auto rise =
            reference.MoonriseNear(jd, place.latitudeDegrees, place.longitudeDegrees, 0.125);
        if (!rise) {
            ++kind.missing;
            return;
        }
        kind.Add((jd - *rise) * 86400.0, *rise, Shown(moment));
    };

    for (int month = 1; month <= 12; ++month) {
        const LunarMonth lunar = ComputeLunarMonth(place, {year, month});
        for (const LunarMonthDay& day : lunar.days) {
            for (const LunarDayBeginning& b : day.beginnings) {
                const double jd = JulianDate(b.moment.UniversalSecond());
                if (b.kind == LunarDayBeginningKind::NewMoon) {
                    const double ref = reference.NewMoonNear(jd);
                    newMoons.Add((jd - ref) * 86400.0, ref, Shown(b.moment));
                } else {
                    addRise(b.moment, moonrises);
                }
            }
            if (day.moonriseAtNewMoon)
                addRise(*day.moonriseAtNewMoon, moonrises);
            for (const ClockMoment& other : day.otherMoonrises)
                addRise(other, secondRises);
            twoRisesHere += !day.otherMoonrises.empty();
            if (day.fullMoon) {
                const double jd = JulianDate(day.fullMoon->UniversalSecond());
                const double ref = reference.FullMoonNear(jd);
                fullMoons.Add((jd - ref) * 86400.0, ref, Shown(*day.fullMoon));
            }

            const std::int64_t dayStart = std::llround(day.date * 86400.0);
            const std::size_t referenceRiseCount =
                reference
                    .MoonrisesBetween(JulianDate(clock.LocalToUniversal(dayStart)),
                                      JulianDate(clock.LocalToUniversal(dayStart + 86400)),
                                      place.latitudeDegrees, place.longitudeDegrees)
                    .size();
            const bool referenceRises = referenceRiseCount > 0;
            twoRisesThere += referenceRiseCount >= 2;
            if (referenceRises == day.noMoonrise)
                presence.push_back(DateToStr(day.date) +
                                   (day.noMoonrise ? ": no moonrise here, the reference has one"
                                                   : ": a moonrise here, none in the reference"));
        }
    }
    newMoons.Print(name);
    moonrises.Print(name);
    fullMoons.Print(name);
    if (twoRisesHere > 0 || twoRisesThere > 0) {
        secondRises.Print(name);
        std::printf("%s: %ld dates with two moonrises, %ld in the reference\n", name.c_str(),
                    twoRisesHere, twoRisesThere);
    }
    std::printf("%s: %zu days on which only one side has a moonrise\n", name.c_str(),
                presence.size());
    for (const std::string& line : presence)
        std::printf("  %s\n", line.c_str());
}

} // namespace toravel::tools
