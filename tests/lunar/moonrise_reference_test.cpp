// Moonrises of the rise and set search against Swiss Ephemeris.
//
// The reference moonrise is the moment at which Swiss Ephemeris's geocentric
// apparent Moon (right ascension and declination of date) reaches +8′ of
// altitude, with Greenwich mean sidereal time computed independently of the
// product from the IAU 1982 expression (tools/reference_moon). It is found on
// a two-minute grid over the same local day and refined by bisection. Nothing but the low-
// precision Moon and the hourly parabolic sampling separates the two, so a
// slip in the sign of the hour angle or the longitude shows up as hours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/calendar.h"
#include "astro/constants.h"
#include "lunar/rise_set.h"

#ifdef TORAVEL_HAVE_SWE
#include "tools/reference_moon/reference_moon.h"
#endif

namespace toravel {
namespace {

#ifdef TORAVEL_HAVE_SWE

constexpr double JulianDateOfMjdZero = 2400000.5;

struct Place {
    const char* name;
    double latitudeDeg, longitudeDeg; // north, east positive
    int zoneHours;
    int year, month, day; // first local day searched
};

// Local hours of every rise of the reference Moon in the local day.
std::vector<double> ReferenceRises(const tools::ReferenceMoon& moon, double dayStartMjd,
                                   const Place& place) {
    const double start = dayStartMjd + JulianDateOfMjdZero;
    std::vector<double> rises =
        moon.MoonrisesBetween(start, start + 1.0, place.latitudeDeg, place.longitudeDeg);
    for (double& rise : rises)
        rise = (rise - start) * 24.0;
    return rises;
}

TEST(MoonriseReference, AgreesWithSwissEphemerisAtSixPlaces) {
    // The southern, tropical and middle latitudes in 2011; the northernmost
    // place in the lunar standstill season, when the Moon stays down or up
    // for days there.
    const Place places[] = {
        {"45S 135E", -45.0, 135.0, 9, 2011, 1, 1},
        {"23.55S 46.63W", -23.55, -46.63, -3, 2011, 3, 1},
        {"0N 30E", 0.0, 30.0, 2, 2011, 5, 1},
        {"34N 120W", 34.0, -120.0, -8, 2011, 7, 1},
        {"55.75N 37.62E", 55.75, 37.62, 3, 2011, 9, 1},
        {"65N 18W", 65.0, -18.0, 0, 2024, 12, 1},
    };
    constexpr int Days = 60;
    // A rise within this many minutes of a local midnight may be found on
    // the neighbouring day by one side only: our crossing is off the true one
    // by up to the tolerance below, and each day searches only its own
    // 0 … 24 h. Such days are counted and allowed; nothing else is.
    constexpr double MidnightWindowMinutes = 3.0;
    constexpr double ToleranceMinutes = 3.0; // below 60° of latitude

    const tools::ReferenceMoon moon(TORAVEL_SWE_DATA_DIR);
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        const double latitude = place.latitudeDeg * RadiansPerDegree;
        const double longitude = place.longitudeDeg * RadiansPerDegree;
        const double firstDay = ModifiedJulianDate(place.year, place.month, place.day, 0, 0, 0.0) -
                                place.zoneHours / 24.0;
        int compared = 0;
        int nearMidnight = 0;
        int noRiseDays = 0;
        double maxMinutes = 0;
        double sumSquares = 0;
        for (int d = 0; d < Days; ++d) {
            const double dayStartMjd = firstDay + d;
            double riseHour = -1;
            double setHour = -1;
            bool riseFound;
            bool setFound;
            bool upAtStart;
            FindRiseSetEvents(RiseSetKind::Moonrise, dayStartMjd, longitude, latitude, riseHour,
                              setHour, riseFound, setFound, upAtStart);
            const std::vector<double> reference = ReferenceRises(moon, dayStartMjd, place);
            auto closeToMidnight = [&](double hour) {
                return std::min(hour, 24.0 - hour) * 60.0 <= MidnightWindowMinutes;
            };
            if (riseFound != !reference.empty()) {
                const bool allowed =
                    riseFound ? closeToMidnight(riseHour) : closeToMidnight(reference.front());
                EXPECT_TRUE(allowed)
                    << "day " << d << " (MJD " << dayStartMjd << "): ours "
                    << (riseFound ? std::to_string(riseHour) : "none") << ", reference "
                    << (reference.empty() ? "none" : std::to_string(reference.front()));
                ++nearMidnight;
                continue;
            }
            if (!riseFound) {
                ++noRiseDays;
                continue;
            }
            double best = reference.front();
            for (double h : reference) {
                if (std::fabs(h - riseHour) < std::fabs(best - riseHour)) {
                    best = h;
                }
            }
            const double minutes = std::fabs(riseHour - best) * 60.0;
            maxMinutes = std::max(maxMinutes, minutes);
            sumSquares += minutes * minutes;
            ++compared;
            if (std::fabs(place.latitudeDeg) < 60.0) {
                EXPECT_LE(minutes, ToleranceMinutes)
                    << "day " << d << " (MJD " << dayStartMjd << "): ours " << riseHour
                    << " h, reference " << best << " h";
            }
        }
        const double rmsMinutes = compared > 0 ? std::sqrt(sumSquares / compared) : 0.0;
        std::printf("[ moonrise ] %-24s %2d rises, %d days without, %d near midnight: "
                    "max %.2f min, rms %.2f min\n",
                    place.name, compared, noRiseDays, nearMidnight, maxMinutes, rmsMinutes);
    }
}

#else

TEST(MoonriseReference, AgreesWithSwissEphemerisAtSixPlaces) {
    GTEST_SKIP() << "Swiss Ephemeris (libswe-dev, swe-basic-data) is not installed; "
                    "the moonrise comparison needs it";
}

#endif

} // namespace
} // namespace toravel
