#include "astro/low_precision.h"

#include <gtest/gtest.h>

namespace toravel {
namespace {

// 2011-01-01 0h from its MJD; the printed T, 0.1099931554, is rounded.
constexpr double T2011 = (55562.0 - 51544.5) / 36525.0;

TEST(LowPrecision, MoonAndSunAtTwoEpochs) {
    struct Row {
        const char* name;
        bool sun;
        double T, ra, dec;
    } rows[] = {
        {"Moon J2000", false, 0.0, 3.882474546, -0.190302121},
        {"Sun J2000", true, 0.0, 4.909519432, -0.402003010},
        {"Moon 2011", false, T2011, 4.123979910, -0.398577951},
        {"Sun 2011", true, T2011, 4.906234884, -0.402237252},
    };
    for (const Row& r : rows) {
        double ra = 0, dec = 0;
        (r.sun ? LowPrecisionSun : LowPrecisionMoon)(r.T, ra, dec);
        EXPECT_NEAR(ra, r.ra, 5e-10) << r.name;
        EXPECT_NEAR(dec, r.dec, 5e-10) << r.name;
    }
}

}  // namespace
}  // namespace toravel
