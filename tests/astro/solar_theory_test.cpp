#include "astro/solar_theory.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include <gtest/gtest.h>

#include "astro/constants.h"
#include "astro/low_precision.h"
#include "astro/matrix3.h"

namespace toravel {
namespace {

constexpr auto Azimuth = SphericalComponent::Azimuth;
constexpr auto Elevation = SphericalComponent::Elevation;
constexpr auto Radius = SphericalComponent::Radius;

TEST(SolarTheory, PositionAtKnownMoments) {
    struct Row {
        const char* name;
        double T;
        double l, lDegrees, bArcseconds, r;
    } rows[] = {
        {"J2000.0", 0.0, 4.8935099, 280.3775, 0.77, 0.9833268},
        {"1980-01-01 0h", -0.2, 4.8909623, 280.2315, -0.56, 0.9832684},
    };
    for (const Row& row : rows) {
        const Vector3 sun = SunEclipticPosition(row.T);
        const double l = sun.Spherical(Azimuth);
        EXPECT_NEAR(l, row.l, 5e-8) << row.name;
        EXPECT_NEAR(l / RadiansPerDegree, row.lDegrees, 5e-5) << row.name;
        EXPECT_NEAR(sun.Spherical(Elevation) * ArcsecondsPerRadian, row.bArcseconds, 5e-3)
            << row.name;
        EXPECT_NEAR(sun.Spherical(Radius), row.r, 5e-8) << row.name;
    }
    EXPECT_NEAR(SunEclipticPosition(0.0).Spherical(Elevation), 3.71e-6, 5e-9);
}

TEST(SolarTheory, SummedPerturbationsAtJ2000) {
    double dl, dr, db;
    SunPerturbations(0.0, dl, dr, db);
    EXPECT_NEAR(dl, -318.31, 5e-3);
    EXPECT_NEAR(dr, -16812.95, 5e-3);
    EXPECT_NEAR(db, 0.77, 5e-3);
}

TEST(SolarTheory, ResultVectorAgreesWithItsCachedSphericalParts) {
    const Vector3 sun = SunEclipticPosition(0.37);
    const Vector3 recomputed(sun.x, sun.y, sun.z);
    EXPECT_NEAR(recomputed.Spherical(Azimuth), sun.Spherical(Azimuth), 1e-14);
    EXPECT_NEAR(recomputed.Spherical(Elevation), sun.Spherical(Elevation), 1e-14);
    EXPECT_NEAR(recomputed.Spherical(Radius), sun.Spherical(Radius), 1e-14);
}

TEST(SolarTheory, AgreesWithTheLowPrecisionSunToAnArcminute) {
    // Two independent theories of the same motion, 1900–2100 every 25 days.
    const double obliquity = 23.43929111 * RadiansPerDegree;
    for (double T = -1.0; T <= 1.0; T += 25.0 / 36525.0) {
        double ra, dec;
        LowPrecisionSun(T, ra, dec);
        const Vector3 ecliptic =
            MatrixTimesVector(RotationAboutX(obliquity), Vector3(SphericalCoord(ra, dec, 1.0)));
        const double difference = std::remainder(
            SunEclipticPosition(T).Spherical(Azimuth) - ecliptic.Spherical(Azimuth), TwoPi);
        ASSERT_LT(std::fabs(difference) * ArcsecondsPerRadian, 90.0) << "T " << T;
    }
}

TEST(SolarTheory, LongitudeInOneRevolutionAndLatitudeWithinItsCoefficients) {
    // 1.566″ is the sum of the magnitudes of all latitude coefficients.
    const double latitudeLimit = 1.566 / ArcsecondsPerRadian;
    for (double T = -30.0; T <= 30.0; T += 0.00731) {
        const Vector3 sun = SunEclipticPosition(T);
        ASSERT_GE(sun.Spherical(Azimuth), 0.0) << "T " << T;
        ASSERT_LT(sun.Spherical(Azimuth), TwoPi) << "T " << T;
        ASSERT_LE(std::fabs(sun.Spherical(Elevation)), latitudeLimit) << "T " << T;
    }
    for (double T : {-1.0e4, -12345.678, 9999.5, 1.0e5}) {
        const double l = SunEclipticPosition(T).Spherical(Azimuth);
        EXPECT_GE(l, 0.0) << "T " << T;
        EXPECT_LT(l, TwoPi) << "T " << T;
    }
}

TEST(PerturbationSeries, TablesHoldTheMultiplesOfBothAnomalies) {
    // Each term alone: its cosine lands in the longitude sum, its sine in the
    // radius sum, for every pair of multiples in the prepared ranges.
    const double M = 0.7, m = -2.3;
    struct Row {
        const char* name;
        int primaryMin, primaryMax, planetMin, planetMax;
    } rows[] = {
        {"Venus-like ranges", 0, 7, -6, 0},
        {"Mars-like ranges", 1, 5, -8, -1},
        {"Jupiter-like ranges", -1, 3, -4, -1},
        {"the whole tables", -10, 10, -10, 10},
    };
    for (const Row& r : rows) {
        for (int I = std::min(r.primaryMin, -1); I <= std::max(r.primaryMax, 1); ++I) {
            for (int i = std::min(r.planetMin, -1); i <= std::max(r.planetMax, 1); ++i) {
                PerturbationSeries series;
                series.Prepare(0.5, M, r.primaryMin, r.primaryMax, m, r.planetMin, r.planetMax);
                series.Accumulate(I, i, 0, 1.0, 0.0, 0.0, 1.0, 2.0, -3.0);
                const double argument = I * M + i * m;
                EXPECT_NEAR(series.LongitudeSum(), std::cos(argument), 1e-14)
                    << r.name << ", I " << I << ", i " << i;
                EXPECT_NEAR(series.RadiusSum(), std::sin(argument), 1e-14)
                    << r.name << ", I " << I << ", i " << i;
                EXPECT_NEAR(series.LatitudeSum(),
                            2.0 * std::cos(argument) - 3.0 * std::sin(argument), 1e-13)
                    << r.name << ", I " << I << ", i " << i;
            }
        }
    }
}

TEST(PerturbationSeries, ExtensionRowsCarryThePowersOfT) {
    const double M = 1.1, m = 0.4;
    const double u = std::cos(2 * M - m), v = std::sin(2 * M - m);
    struct Row {
        const char* name;
        double T;
    } rows[] = {{"T = 0: extensions add nothing", 0.0}, {"T = 0.5", 0.5}, {"T = -2", -2.0}};
    for (const Row& r : rows) {
        PerturbationSeries series;
        series.Prepare(r.T, M, 0, 3, m, -2, 0);
        series.Accumulate(2, -1, 0, 3.0, 0.0, 0.0, 0.0, 0.0, 0.0);
        series.Accumulate(2, -1, 1, 5.0, 0.0, 0.0, 7.0, 0.0, 0.0);
        series.Accumulate(2, -1, 2, 11.0, 0.0, 0.0, 0.0, 0.0, 13.0);
        const double T = r.T;
        EXPECT_NEAR(series.LongitudeSum(), (3.0 + 5.0 * T + 11.0 * T * T) * u, 1e-13) << r.name;
        EXPECT_NEAR(series.RadiusSum(), 7.0 * T * v, 1e-13) << r.name;
        EXPECT_NEAR(series.LatitudeSum(), 13.0 * T * T * v, 1e-13) << r.name;
    }

    // A new term starts again from T⁰, whatever came before it.
    PerturbationSeries series;
    series.Prepare(3.0, M, 0, 3, m, -2, 0);
    series.Accumulate(1, 0, 0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    series.Accumulate(1, 0, 1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    series.Accumulate(3, -2, 0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    EXPECT_NEAR(series.LongitudeSum(), std::cos(3 * M - 2 * m), 1e-14);
}

TEST(PerturbationSeries, PrepareClearsTheSumsAndKeepsWithinItsTables) {
    PerturbationSeries series;
    series.Prepare(0.1, 0.2, 0, 2, 0.3, -1, 0);
    series.Accumulate(1, -1, 0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0);
    ASSERT_NE(series.LongitudeSum(), 0.0);

    // Bounds far beyond ±10 fill the tables to their ends and write nothing
    // past them: the cleared sums stay clear.
    series.Prepare(0.1, 0.2, -50, 50, 0.3, -50, 50);
    EXPECT_EQ(series.LongitudeSum(), 0.0);
    EXPECT_EQ(series.RadiusSum(), 0.0);
    EXPECT_EQ(series.LatitudeSum(), 0.0);
    series.Accumulate(10, -10, 0, 1.0, 0.0, 0.0, 1.0, 0.0, 0.0);
    EXPECT_NEAR(series.LongitudeSum(), std::cos(10 * 0.2 - 10 * 0.3), 1e-13);
    EXPECT_NEAR(series.RadiusSum(), std::sin(10 * 0.2 - 10 * 0.3), 1e-13);
}

} // namespace
} // namespace toravel
