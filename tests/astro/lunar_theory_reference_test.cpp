// The lunar series against Swiss Ephemeris: the free fit of the solar table
// must land near the theory's check values (the test of the fixed parts:
// mean arguments, long-period corrections, factors, planetary and latitude
// terms), the committed table must be what the fit tool writes, and the
// series must follow the ephemeris over 1900–2100.
#include <gtest/gtest.h>

#ifdef TORAVEL_HAVE_LUNAR_FIT

#include <cmath>

#include <fstream>
#include <sstream>
#include <string>

#include "astro/constants.h"
#include "astro/lunar_solar_table.generated.h"
#include "astro/lunar_theory.h"
#include "tools/fit_lunar_series/lunar_fit.h"

namespace toravel::lunarfit {
namespace {

// How far a free fit may land from a check value if the fixed parts are
// right: about 0.03″ in λ, 0.15″ in β, 1.5 km in R, 2″ in dS(0). A missing
// long-period correction, planetary term, sin 3S term or parallax factor
// lands far outside.
double Tolerance(const CheckValue& c) {
    switch (c.quantity) {
    case Quantity::LongitudeSum:
    case Quantity::Longitude:
        return 0.05;
    case Quantity::Latitude:
        return 0.2;
    case Quantity::Distance:
        return 2.0;
    case Quantity::ArgumentSum:
        return 2.5;
    case Quantity::AmplitudeSum:
        return 0.05;
    case Quantity::ParallaxSum:
        return 0.02;
    }
    return 0.0;
}

TEST(LunarTheoryReference, FreeFitOnASmallSampleLandsNearTheCheckValues) {
    const std::vector<EphemerisSample> samples =
        SampleEphemeris(FirstSampleT, LastSampleT, 12000, 0.5);
    const FitOutcome outcome = FitSolarTable(samples);
    const SolarTable free = RoundedForPrinting(outcome.free);
    const SolarTable constrained = RoundedForPrinting(outcome.constrained);
    for (const CheckValue& c : CheckValues()) {
        const double distance = CheckDistance(free, c);
        EXPECT_LT(std::abs(distance), Tolerance(c))
            << c.name << ": free fit lands " << distance << " away";
        if (c.constraint) {
            // A held value survives the printing of the table (R to its
            // printed 0.01 km: six decimals of cP are worth about 0.5 m).
            const double held = c.quantity == Quantity::Distance ? 0.005 : 2e-4;
            EXPECT_LT(std::abs(CheckDistance(constrained, c)), held) << c.name << " (held)";
        }
    }
}

TEST(LunarTheoryReference, CommittedTableIsWhatTheToolWrites) {
#ifndef NDEBUG
    GTEST_SKIP() << "the full fit (100 000 points) runs in optimised builds only";
#endif
    const std::vector<EphemerisSample> samples =
        SampleEphemeris(FirstSampleT, LastSampleT, FitPoints, FitPhase);
    const FitOutcome outcome = FitSolarTable(samples);
    const SolarTable table = RoundedForPrinting(outcome.constrained);
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        const LunarSolarCoefficients& fitted = table[static_cast<size_t>(i)];
        const LunarSolarCoefficients& committed = LunarSolarCoefficientTable[i];
        // One unit of the sixth decimal allows for a rounding tie.
        EXPECT_NEAR(fitted.longitude, committed.longitude, 1.5e-6) << "cλ of row " << i + 1;
        EXPECT_NEAR(fitted.latitudeArgument, committed.latitudeArgument, 1.5e-6)
            << "cS of row " << i + 1;
        EXPECT_NEAR(fitted.latitudeAmplitude, committed.latitudeAmplitude, 1.5e-6)
            << "cγ of row " << i + 1;
        EXPECT_NEAR(fitted.parallax, committed.parallax, 1.5e-6) << "cP of row " << i + 1;
    }
}

TEST(LunarTheoryReference, SeriesFollowsTheEphemerisFrom1900To2100) {
    const std::vector<EphemerisSample> samples = SampleEphemeris(-1.0, 1.0, 20000, 0.37);
    double worstLongitude = 0.0, worstLatitude = 0.0, worstDistance = 0.0, worstT = 0.0;
    for (const EphemerisSample& s : samples) {
        const Vector3 moon = MoonEclipticPosition(s.T);
        const double dl =
            std::remainder(moon.Spherical(SphericalComponent::Azimuth) - s.longitude, TwoPi) *
            ArcsecondsPerRadian;
        const double db =
            (moon.Spherical(SphericalComponent::Elevation) - s.latitude) * ArcsecondsPerRadian;
        const double dr = moon.Spherical(SphericalComponent::Radius) - s.distanceKm;
        if (std::abs(dl) > worstLongitude) {
            worstLongitude = std::abs(dl);
            worstT = s.T;
        }
        worstLatitude = std::max(worstLatitude, std::abs(db));
        worstDistance = std::max(worstDistance, std::abs(dr));
    }
    EXPECT_LT(worstLongitude, 6.0) << "arcseconds, worst at T = " << worstT;
    EXPECT_LT(worstLatitude, 6.0) << "arcseconds";
    // The fixed 3422.7″ of the parallax leaves about 10 km everywhere.
    EXPECT_LT(worstDistance, 20.0) << "km";
}

TEST(LunarTheoryReference, FallbackToAnotherEphemerisIsAnError) {
    // A day before the installed files begin.
    EXPECT_THROW(ReferenceMoon(-2.0), std::runtime_error);
}

} // namespace
} // namespace toravel::lunarfit

#else

TEST(LunarTheoryReference, NeedsSwissEphemerisAndEigen) {
    GTEST_SKIP() << "Swiss Ephemeris (libswe-dev, swe-basic-data) or Eigen (libeigen3-dev) is not "
                    "installed, or the tools are not built: the lunar series' reference tests skip";
}

#endif
