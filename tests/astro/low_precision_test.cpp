#include "astro/low_precision.h"

#include <cmath>

#include <gtest/gtest.h>

#include "astro/constants.h"
#include "astro/matrix3.h"
#include "astro/vector3.h"

namespace toravel {
namespace {

// 2011-01-01 0h from its MJD; the printed T, 0.1099931554, is rounded.
constexpr double T2011 = (55562.0 - 51544.5) / 36525.0;

constexpr double Obliquity = 23.43929111 * RadiansPerDegree;

using Theory = void (*)(double, double&, double&);

TEST(LowPrecision, MoonAndSunAtTwoEpochs) {
    struct Row {
        const char* name;
        Theory theory;
        double T, ra, dec;
    } rows[] = {
        {"Moon J2000", LowPrecisionMoon, 0.0, 3.882474546, -0.190302121},
        {"Sun J2000", LowPrecisionSun, 0.0, 4.909519432, -0.402003010},
        {"Moon 2011", LowPrecisionMoon, T2011, 4.123979910, -0.398577951},
        {"Sun 2011", LowPrecisionSun, T2011, 4.906234884, -0.402237252},
    };
    for (const Row& r : rows) {
        double ra = 0, dec = 0;
        r.theory(r.T, ra, dec);
        EXPECT_NEAR(ra, r.ra, 5e-10) << r.name;
        EXPECT_NEAR(dec, r.dec, 5e-10) << r.name;
    }
}

TEST(LowPrecision, EclipticAndEquatorialFormsAtJ2000) {
    struct Row {
        const char* name;
        Theory theory;
        double longitudeDegrees, latitudeDegrees, raHours, decDegrees;
    } rows[] = {
        {"Moon", LowPrecisionMoon, 223.321891, 5.168306, 14.829960, -10.903508},
        {"Sun", LowPrecisionSun, 280.383876, 0.0, 18.752983, -23.033076},
    };
    for (const Row& r : rows) {
        double ra, dec;
        r.theory(0.0, ra, dec);
        EXPECT_NEAR(ra * 12.0 / Pi, r.raHours, 5e-7) << r.name;
        EXPECT_NEAR(dec / RadiansPerDegree, r.decDegrees, 5e-7) << r.name;
        // Back to the ecliptic by the opposite turn of the frame.
        const Vector3 ecliptic =
            MatrixTimesVector(RotationAboutX(Obliquity), Vector3(SphericalCoord(ra, dec, 1.0)));
        EXPECT_NEAR(ecliptic.Spherical(SphericalComponent::Azimuth) / RadiansPerDegree,
                    r.longitudeDegrees, 5e-7)
            << r.name;
        EXPECT_NEAR(ecliptic.Spherical(SphericalComponent::Elevation) / RadiansPerDegree,
                    r.latitudeDegrees, 5e-7)
            << r.name;
    }
}

TEST(LowPrecision, CoordinatesStayInRangeOverTwoCenturies) {
    // Daily over 1900–2100: the Sun never beyond ε from the equator, the Moon
    // never beyond ε plus the inclination of its orbit and its perturbations.
    const double moonLimit = Obliquity + 5.4 * RadiansPerDegree;
    double sunExtreme = 0.0;
    for (double T = -1.0; T <= 1.0; T += 1.0 / 36525.0) {
        double ra, dec;
        LowPrecisionSun(T, ra, dec);
        ASSERT_GE(ra, 0.0) << "Sun, T " << T;
        ASSERT_LT(ra, TwoPi) << "Sun, T " << T;
        ASSERT_LE(std::fabs(dec), Obliquity) << "Sun, T " << T;
        sunExtreme = std::fmax(sunExtreme, std::fabs(dec));
        LowPrecisionMoon(T, ra, dec);
        ASSERT_GE(ra, 0.0) << "Moon, T " << T;
        ASSERT_LT(ra, TwoPi) << "Moon, T " << T;
        ASSERT_LE(std::fabs(dec), moonLimit) << "Moon, T " << T;
    }
    // The solstices come within a day's motion of ε.
    EXPECT_GT(sunExtreme, Obliquity - 1e-5);
}

} // namespace
} // namespace toravel
