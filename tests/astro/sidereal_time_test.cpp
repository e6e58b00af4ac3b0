#include "astro/sidereal_time.h"

#include <gtest/gtest.h>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/sexagesimal.h"

namespace toravel {
namespace {

TEST(SiderealTime, GreenwichMeanSiderealTimeAtKnownMoments) {
    struct Row {
        const char* name;
        double mjd, radians;
        int hour, minute;
        double second;
    } rows[] = {
        {"J2000.0", 51544.5, 4.894961213, 18, 41, 50.548},
        {"2000-01-01 0h", 51544.0, 1.744767163, 6, 39, 52.271},
        {"2011-01-01 0h", 55562.0, 1.750546340, 6, 41, 11.740},
    };
    for (const Row& r : rows) {
        const double gmst = GreenwichSiderealTime(r.mjd);
        EXPECT_NEAR(gmst, r.radians, 5e-10) << r.name;
        int hour, minute;
        double second;
        DmsFromDegrees(gmst * 12.0 / Pi, hour, minute, second);
        EXPECT_EQ(hour, r.hour) << r.name;
        EXPECT_EQ(minute, r.minute) << r.name;
        EXPECT_NEAR(second, r.second, 5e-4) << r.name;
    }
}

TEST(SiderealTime, StaysInOneRevolutionAndGainsAboutFourMinutesADay) {
    for (double mjd = -100000.0; mjd <= 200000.0; mjd += 997.37) {
        const double gmst = GreenwichSiderealTime(mjd);
        ASSERT_GE(gmst, 0.0) << "MJD " << mjd;
        ASSERT_LT(gmst, TwoPi) << "MJD " << mjd;
        // One solar day later the sidereal clock stands 3m 56.555s further on.
        const double gain = FloatModulo(GreenwichSiderealTime(mjd + 1.0) - gmst, TwoPi);
        ASSERT_NEAR(gain * 86400.0 / TwoPi, 236.555, 0.01) << "MJD " << mjd;
    }
}

} // namespace
} // namespace toravel
