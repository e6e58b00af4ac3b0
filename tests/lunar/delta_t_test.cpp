#include "lunar/delta_t.h"

#include <cmath>

#include <gtest/gtest.h>

namespace toravel {
namespace {

double TFromYear(double year) {
    return (year - 2000.0) / 100.0;
}

TEST(DeltaT, QuarterCenturyTable) {
    struct Row {
        const char* name;
        double T, seconds;
        bool valid;
    } rows[] = {
        {"J2000, last quarter extended", 0.0, 65.9671875, true},
        {"1825.0, first row", -1.75, 10.4, true},
        {"2005.0, end of the extension", 0.05, 74.0559, true},
        {"1900.0", -1.0, -2.6, true},
        {"1975.0", -0.25, 45.3, true},
        {"just after 2005.0", 0.0500001, 0.0, false},
        {"just before 1825.0", -1.7500001, 0.0, false},
    };
    for (const Row& r : rows) {
        double seconds = -1.0;
        bool valid = !r.valid;
        DeltaT(r.T, seconds, valid);
        EXPECT_EQ(valid, r.valid) << r.name;
        EXPECT_NEAR(seconds, r.seconds, 1e-9) << r.name << " T=" << r.T;
    }
}

TEST(DeltaT, ExtendedFollowsObservations) {
    // Yearly values of ΔT observed at 1 January (IERS / USNO), seconds.
    struct Row {
        double year, seconds;
    } rows[] = {
        {2005.0, 64.69}, {2010.0, 66.07}, {2017.0, 68.59}, {2020.0, 69.36}, {2024.0, 69.18}};
    for (const Row& r : rows) {
        EXPECT_NEAR(ExtendedDeltaT(TFromYear(r.year)), r.seconds, 1e-9) << r.year;
    }
    // Midway between two observations the value lies between them.
    const double mid = ExtendedDeltaT(TFromYear(2016.5));
    EXPECT_GT(mid, 68.10);
    EXPECT_LT(mid, 68.59);
}

// Largest step between samples a tenth of a day apart over [from, to).
double LargestStep(double from, double to, double& where) {
    const double step = 0.1 / 365.25;
    double largest = 0.0;
    double previous = ExtendedDeltaT(TFromYear(from));
    for (double y = from + step; y < to; y += step) {
        const double now = ExtendedDeltaT(TFromYear(y));
        if (std::fabs(now - previous) > largest) {
            largest = std::fabs(now - previous);
            where = y;
        }
        previous = now;
    }
    return largest;
}

TEST(DeltaT, ExtendedJoinsObservationsWithoutAJump) {
    // ΔT changes by well under a second per year, so between samples a tenth
    // of a day apart a step of more than 0.05 s is a seam between sources:
    // the polynomials and the observations at 2005, the observations and the
    // prediction at the last observed year.
    double where = 0.0;
    EXPECT_LT(LargestStep(1990.0, 2300.0, where), 0.05) << "jump at year " << where;
}

TEST(DeltaT, ExtendedPolynomialPiecesMeetClosely) {
    // The published expressions themselves meet within about a quarter of a second
    // (the largest seam is at 1600, 0.25 s).
    double where = 0.0;
    EXPECT_LT(LargestStep(-1999.0, 1990.0, where), 0.3) << "jump at year " << where;
}

TEST(DeltaT, ExtendedMatchesPolynomialsFarFromObservations) {
    // Espenak–Meeus values, computed by hand from their expressions.
    EXPECT_NEAR(ExtendedDeltaT(TFromYear(1700.0)), 8.83, 1e-9);
    EXPECT_NEAR(ExtendedDeltaT(TFromYear(1000.0)), 1574.2, 1e-9);
    EXPECT_NEAR(ExtendedDeltaT(TFromYear(0.0)), 10583.6, 1e-9);
}

// After the observations: the prediction of Morrison, Stephenson, Hohenkerk
// and Zawilski (2021), their long-term lod 1.72·t − 3.5·sin(2π(t + 0.75)/14)
// ms integrated from ΔT = 69.240 s at 2019.0, evaluated by hand.
TEST(DeltaT, ExtendedFollowsThePublishedPredictionAfterTheJoin) {
    struct Row {
        double year, seconds;
    } rows[] = {{2040.0, 70.72}, {2050.0, 72.14}, {2100.0, 87.29}, {2200.0, 167.87}};
    for (const Row& r : rows)
        EXPECT_NEAR(ExtendedDeltaT(TFromYear(r.year)), r.seconds, 0.006) << r.year;
}

double RateAt(double year, double side) {
    const double h = 1e-3 * side; // years
    return (ExtendedDeltaT(TFromYear(year + h)) - ExtendedDeltaT(TFromYear(year))) / h;
}

// The prediction runs 0.32 s above the last observation (69.14 s at 2025.0)
// and rises while the observations fall by 0.04 s a year; the join keeps
// both the value and the rate, at the observation and ten years on.
TEST(DeltaT, ExtendedJoinsTheLastObservationInValueAndRate) {
    EXPECT_NEAR(ExtendedDeltaT(TFromYear(2025.0)), 69.14, 1e-9);
    for (double year : {2025.0, 2035.0}) {
        EXPECT_NEAR(RateAt(year, -1.0), RateAt(year, +1.0), 1e-4) << year;
    }
    EXPECT_NEAR(RateAt(2025.0, +1.0), -0.04, 1e-4);
}

TEST(DeltaT, SearchSwitchesAtTheEndOfTheTableIn2005) {
    // The compact table runs about 9 s above the observed ΔT at 2005: the
    // search applies it up to T = 0.05 and the observations after.
    EXPECT_NEAR(SearchDeltaT(0.05), 74.0559, 1e-9);
    EXPECT_NEAR(SearchDeltaT(0.0499), 74.0, 0.2);
    EXPECT_NEAR(SearchDeltaT(0.0500001), 64.69, 0.01);
    EXPECT_NEAR(SearchDeltaT(0.0501), 64.69, 0.02);
    // And at the other end of the table, 1825.
    EXPECT_NEAR(SearchDeltaT(-1.75), 10.4, 1e-9);
    EXPECT_NEAR(SearchDeltaT(-1.7500001), ExtendedDeltaT(-1.7500001), 1e-12);
}

} // namespace
} // namespace toravel
