#include "astro/matrix3.h"

#include <cmath>

#include <gtest/gtest.h>

#include "astro/constants.h"

namespace toravel {
namespace {

constexpr double Obliquity = 23.43929111 * RadiansPerDegree;

TEST(Matrix3, NewMatrixIsZeroAndRotationByZeroIsTheIdentity) {
    const Matrix3 zero;
    const Matrix3 identity = RotationAboutX(0.0);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(zero(i, j), 0.0) << "(" << i << ", " << j << ")";
            EXPECT_EQ(identity(i, j), i == j ? 1.0 : 0.0) << "(" << i << ", " << j << ")";
        }
    }
}

TEST(Matrix3, RotationTurnsTheFrameNotTheVector) {
    // Ecliptic to equatorial with −ε: the ecliptic's y axis rises to +ε.
    const Vector3 w = MatrixTimesVector(RotationAboutX(-Obliquity), Vector3(0.0, 1.0, 0.0));
    EXPECT_EQ(w.x, 0.0);
    EXPECT_NEAR(w.y, std::cos(Obliquity), 1e-16);
    EXPECT_NEAR(w.z, std::sin(Obliquity), 1e-16);

    // The same frame turned by +a sends the vector's z part to y: y′ = sin a·z.
    const Vector3 u = MatrixTimesVector(RotationAboutX(0.3), Vector3(0.0, 0.0, 1.0));
    EXPECT_NEAR(u.y, std::sin(0.3), 1e-16);
    EXPECT_NEAR(u.z, std::cos(0.3), 1e-16);
}

TEST(Matrix3, SolsticePointHasDeclinationEpsilonAndRightAscensionSixHours) {
    const Vector3 ecliptic(SphericalCoord(Pi / 2, 0.0, 1.0));
    const Vector3 q = MatrixTimesVector(RotationAboutX(-Obliquity), ecliptic);
    EXPECT_NEAR(q.Spherical(SphericalComponent::Azimuth), Pi / 2, 1e-15);
    EXPECT_NEAR(q.Spherical(SphericalComponent::Elevation), Obliquity, 1e-15);
}

TEST(Matrix3, ProductHasAFreshCacheComputedFromItsComponents) {
    const Vector3 v(SphericalCoord(-0.5, 0.1, 2.0));
    const Vector3 w = MatrixTimesVector(RotationAboutX(0.0), v);
    // The given azimuth −0.5 is not copied: the product's is computed and normalised.
    EXPECT_NEAR(w.Spherical(SphericalComponent::Azimuth), TwoPi - 0.5, 1e-15);
    EXPECT_NEAR(w.Spherical(SphericalComponent::Elevation), 0.1, 1e-15);
    EXPECT_NEAR(w.Spherical(SphericalComponent::Radius), 2.0, 1e-15);
}

} // namespace
} // namespace toravel
