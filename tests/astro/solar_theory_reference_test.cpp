// The solar theory against Swiss Ephemeris's numerically integrated Sun:
// geometric position (no light time, no aberration), mean equinox of date,
// ephemeris time. Runs where Swiss Ephemeris is installed and skips, saying
// so, where it is not.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "astro/constants.h"
#include "astro/solar_theory.h"

#if TORAVEL_HAVE_SWE
#include <swephexp.h>
#endif

namespace toravel {
namespace {

#if TORAVEL_HAVE_SWE

class SwissEphemerisSession {
public:
    SwissEphemerisSession() { swe_set_ephe_path(const_cast<char*>(TORAVEL_SWE_DATA_DIR)); }
    ~SwissEphemerisSession() { swe_close(); }
    SwissEphemerisSession(const SwissEphemerisSession&) = delete;
    SwissEphemerisSession& operator=(const SwissEphemerisSession&) = delete;
};

TEST(SolarTheoryReference, WithinFourArcsecondsOfSwissEphemerisFrom1800To2200) {
    SwissEphemerisSession session;
    const int flags = SEFLG_SWIEPH | SEFLG_NONUT | SEFLG_TRUEPOS;
    double worstLongitude = 0.0;
    for (double T = -2.0; T <= 2.0; T += 13.0 / 36525.0) {
        double reference[6];
        char error[AS_MAXCH] = "";
        ASSERT_GE(swe_calc(2451545.0 + 36525.0 * T, SE_SUN, flags, reference, error), 0)
            << "T " << T << ": " << error;
        const Vector3 sun = SunEclipticPosition(T);
        const double dl = std::remainder(sun.Spherical(SphericalComponent::Azimuth) -
                                             reference[0] * RadiansPerDegree,
                                         TwoPi) *
                          ArcsecondsPerRadian;
        const double db = sun.Spherical(SphericalComponent::Elevation) * ArcsecondsPerRadian -
                          reference[1] * 3600.0;
        const double dr = sun.Spherical(SphericalComponent::Radius) - reference[2];
        ASSERT_LT(std::fabs(dl), 4.0) << "longitude, T " << T << ", reference " << reference[0];
        ASSERT_LT(std::fabs(db), 0.5) << "latitude, T " << T << ", reference " << reference[1];
        ASSERT_LT(std::fabs(dr), 5e-6) << "distance, T " << T << ", reference " << reference[2];
        worstLongitude = std::fmax(worstLongitude, std::fabs(dl));
    }
    RecordProperty("worst_longitude_arcseconds", std::to_string(worstLongitude));
}

#else

TEST(SolarTheoryReference, WithinFourArcsecondsOfSwissEphemerisFrom1800To2200) {
    GTEST_SKIP() << "Swiss Ephemeris is not installed (libswe-dev, swe-basic-data); "
                    "the solar theory is not compared with it";
}

#endif

} // namespace
} // namespace toravel
