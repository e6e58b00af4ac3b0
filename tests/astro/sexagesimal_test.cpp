#include "astro/sexagesimal.h"

#include <cmath>

#include <gtest/gtest.h>

namespace toravel {
namespace {

TEST(Sexagesimal, DmsFromDegreesPutsTheSignOnTheFirstNonZeroPart) {
    struct Row {
        const char* name;
        double x;
        int degrees, minutes;
        double seconds;
    } rows[] = {
        {"10.75", 10.75, 10, 45, 0.0},
        {"-1.5", -1.5, -1, 30, 0.0},
        {"-0.5", -0.5, 0, -30, 0.0},
        {"-1/7200, sign on the seconds", -1.0 / 7200.0, 0, 0, -0.5},
        {"-0.0 counts as not negative", -0.0, 0, 0, 0.0},
    };
    for (const Row& r : rows) {
        int d = 99, m = 99;
        double s = 99.0;
        DmsFromDegrees(r.x, d, m, s);
        EXPECT_EQ(d, r.degrees) << r.name;
        EXPECT_EQ(m, r.minutes) << r.name;
        EXPECT_NEAR(s, r.seconds, 1e-9) << r.name;
    }
    int d, m;
    double s;
    DmsFromDegrees(-0.0, d, m, s);
    EXPECT_FALSE(std::signbit(s)) << "-0.0 gave negative zero seconds";
}

TEST(Sexagesimal, SecondsAreNotRoundedUpToAMinute) {
    int d, m;
    double s;
    DmsFromDegrees(23.9999999, d, m, s);
    EXPECT_EQ(d, 23);
    EXPECT_EQ(m, 59);
    EXPECT_NEAR(s, 59.99964, 5e-6);
    EXPECT_LT(s, 60.0);
}

TEST(Sexagesimal, DegreesFromDmsNegatesTheWholeForAnyNegativePart) {
    struct Row {
        const char* name;
        double degrees, minutes, seconds, expected;
    } rows[] = {
        {"(0, -30, 0)", 0, -30, 0, -0.5},    {"(-1, 30, 0)", -1, 30, 0, -1.5},
        {"(1, -30, 0)", 1, -30, 0, -1.5},    {"(0, 0, -36)", 0, 0, -36, -0.01},
        {"(12, 30, 36)", 12, 30, 36, 12.51},
    };
    for (const Row& r : rows) {
        EXPECT_NEAR(DegreesFromDms(r.degrees, r.minutes, r.seconds), r.expected, 1e-15) << r.name;
    }
}

} // namespace
} // namespace toravel
