#include "astro/angles.h"

#include <cmath>

#include <gtest/gtest.h>

#include "astro/constants.h"

namespace toravel {
namespace {

TEST(Angles, ReductionToOnePeriodKeepsNegativeValuesInRange) {
    EXPECT_EQ(FracPart(-0.25), 0.75);
    EXPECT_EQ(FracPart(2.5), 0.5);
    EXPECT_EQ(FracPart(-3.0), 0.0);
    EXPECT_DOUBLE_EQ(FloatModulo(-1.0, TwoPi), TwoPi - 1.0);
    EXPECT_NEAR(FloatModulo(90000.0, 86400.0), 3600.0, 1e-9);
}

TEST(Angles, SineOfRevolutionsReducesBeforeTurningIntoRadians) {
    EXPECT_NEAR(SineOfRevolutions(0.25), 1.0, 1e-15);
    EXPECT_NEAR(SineOfRevolutions(-0.25), -1.0, 1e-15);
    // A large count of revolutions loses nothing of its fraction.
    EXPECT_NEAR(SineOfRevolutions(1.0e6 + 0.125), std::sin(TwoPi * 0.125), 1e-9);
}

TEST(Angles, SinCosSumMayWriteOverItsOwnInputs) {
    const double a = 0.7, b = -2.1;
    double c = std::cos(a), s = std::sin(a);
    SinCosSum(c, s, std::cos(b), std::sin(b), c, s);
    EXPECT_NEAR(c, std::cos(a + b), 1e-15);
    EXPECT_NEAR(s, std::sin(a + b), 1e-15);
}

} // namespace
} // namespace toravel
