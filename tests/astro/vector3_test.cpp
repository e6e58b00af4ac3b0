#include "astro/vector3.h"

#include <cmath>

#include <gtest/gtest.h>

#include "astro/constants.h"

namespace toravel {
namespace {

constexpr auto Azimuth = SphericalComponent::Azimuth;
constexpr auto Elevation = SphericalComponent::Elevation;
constexpr auto Radius = SphericalComponent::Radius;

TEST(Vector3, SphericalPartsComputedFromCartesianComponents) {
    struct Row {
        const char* name;
        double x, y, z;
        double azimuth, elevation, radius;
    } rows[] = {
        {"zero vector", 0, 0, 0, 0.0, 0.0, 0.0},
        {"north on the z axis", 0, 0, 2.5, 0.0, Pi / 2, 2.5},
        {"south on the z axis", 0, 0, -3, 0.0, -Pi / 2, 3.0},
        {"fourth quadrant, azimuth normalised", 1, -1, 0, 7 * Pi / 4, 0.0, std::sqrt(2.0)},
        {"negative x axis", -1, 0, 0, Pi, 0.0, 1.0},
        {"second quadrant, below the plane", -1, 1, -std::sqrt(2.0), 3 * Pi / 4, -Pi / 4, 2.0},
    };
    for (const Row& r : rows) {
        const Vector3 v(r.x, r.y, r.z);
        EXPECT_NEAR(v.Spherical(Azimuth), r.azimuth, 1e-15) << r.name;
        EXPECT_NEAR(v.Spherical(Elevation), r.elevation, 1e-15) << r.name;
        EXPECT_NEAR(v.Spherical(Radius), r.radius, 1e-15) << r.name;
    }
}

TEST(Vector3, AzimuthJustBelowZeroComesBackNearTwoPi) {
    const Vector3 v(1.0, -1e-12, 0.0);
    const double azimuth = v.Spherical(Azimuth);
    EXPECT_GE(azimuth, 0.0);
    EXPECT_NEAR(azimuth, TwoPi - 1e-12, 1e-15);
}

TEST(Vector3, BuiltFromSphericalCoordKeepsTheGivenValuesUnnormalised) {
    const Vector3 v(SphericalCoord(-0.5, 0.1, 2.0));
    EXPECT_EQ(v.Spherical(Azimuth), -0.5);
    EXPECT_EQ(v.Spherical(Elevation), 0.1);
    EXPECT_EQ(v.Spherical(Radius), 2.0);
    // Cartesian parts: (cos az·r)·cos el, (sin az·r)·cos el, sin el·r.
    EXPECT_NEAR(v.x, std::cos(-0.5) * 2.0 * std::cos(0.1), 1e-15);
    EXPECT_NEAR(v.y, std::sin(-0.5) * 2.0 * std::cos(0.1), 1e-15);
    EXPECT_NEAR(v.z, std::sin(0.1) * 2.0, 1e-15);

    // A copy carries the cache with it: still no normalisation.
    const Vector3 copy = v;
    EXPECT_EQ(copy.Spherical(Azimuth), -0.5);

    // A negative radius is kept as given, too.
    EXPECT_EQ(Vector3(SphericalCoord(1.0, 0.0, -1.0)).Spherical(Radius), -1.0);
}

TEST(Vector3, AnyOtherSelectorReadsTheAzimuth) {
    const Vector3 v(SphericalCoord(0.25, 0.5, 3.0));
    EXPECT_EQ(v.Spherical(static_cast<SphericalComponent>(3)), 0.25);
    EXPECT_EQ(v.Spherical(static_cast<SphericalComponent>(-1)), 0.25);
}

} // namespace
} // namespace toravel
