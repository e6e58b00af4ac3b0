#include "astro/low_precision.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/matrix3.h"
#include "astro/vector3.h"

namespace toravel {
namespace {

constexpr double ObliquityDegrees = 23.43929111;

// The rotation from the ecliptic to the equator, built once: its cosine and
// sine of the fixed obliquity are the same at every call.
const Matrix3& EclipticToEquator() {
    static const Matrix3 rotation = RotationAboutX(-(ObliquityDegrees * RadiansPerDegree));
    return rotation;
}

void EquatorialFromEcliptic(double longitude, double latitude, double& ra, double& dec) {
    const Vector3 ecliptic(SphericalCoord(longitude, latitude, 1.0));
    const Vector3 equatorial = MatrixTimesVector(EclipticToEquator(), ecliptic);
    ra = equatorial.Spherical(SphericalComponent::Azimuth);
    dec = equatorial.Spherical(SphericalComponent::Elevation);
}

} // namespace

void LowPrecisionMoon(double T, double& ra, double& dec) {
    // Mean arguments; L0 stays in revolutions.
    const double L0 = FracPart(0.606433 + 1336.855225 * T);
    const double l = TwoPi * FracPart(0.374897 + 1325.552410 * T);
    const double ls = TwoPi * FracPart(0.993133 + 99.997361 * T);
    const double D = TwoPi * FracPart(0.827361 + 1236.853086 * T);
    const double F = TwoPi * FracPart(0.259086 + 1342.227825 * T);

    // Two sines serve twice, in the longitude and in the argument of latitude.
    const double sinLs = std::sin(ls);
    const double sin2F = std::sin(2.0 * F);

    // Perturbation in longitude, arcseconds, summed in this order.
    double dL = 0.0;
    dL += 22640.0 * std::sin(l);
    dL += -4586.0 * std::sin(l - 2.0 * D);
    dL += 2370.0 * std::sin(2.0 * D);
    dL += 769.0 * std::sin(2.0 * l);
    dL += -668.0 * sinLs;
    dL += -412.0 * sin2F;
    dL += -212.0 * std::sin(2.0 * l - 2.0 * D);
    dL += -206.0 * std::sin(l + ls - 2.0 * D);
    dL += 192.0 * std::sin(l + 2.0 * D);
    dL += -165.0 * std::sin(ls - 2.0 * D);
    dL += -125.0 * std::sin(D);
    dL += -110.0 * std::sin(l + ls);
    dL += 148.0 * std::sin(l - ls);
    dL += -55.0 * std::sin(2.0 * F - 2.0 * D);

    // Argument of latitude; the two extra terms enter S only.
    const double S = F + (dL + 412.0 * sin2F + 541.0 * sinLs) / ArcsecondsPerRadian;
    const double h = F - 2.0 * D;

    double N = 0.0;
    N += -526.0 * std::sin(h);
    N += 44.0 * std::sin(l + h);
    N += -31.0 * std::sin(-l + h);
    N += -23.0 * std::sin(ls + h);
    N += 11.0 * std::sin(-ls + h);
    N += -25.0 * std::sin(-2.0 * l + F);
    N += 21.0 * std::sin(-l + F);

    const double longitude = TwoPi * FracPart(L0 + dL / ArcsecondsPerRevolution);
    const double latitude = (18520.0 * std::sin(S) + N) / ArcsecondsPerRadian;
    EquatorialFromEcliptic(longitude, latitude, ra, dec);
}

void LowPrecisionSun(double T, double& ra, double& dec) {
    const double M = TwoPi * FracPart(0.993133 + 99.997361 * T);
    const double L =
        TwoPi * FracPart(0.7859453 + M / TwoPi +
                         (6893.0 * std::sin(M) + 72.0 * std::sin(2.0 * M) + 6191.2 * T) /
                             ArcsecondsPerRevolution);
    EquatorialFromEcliptic(L, 0.0, ra, dec);
}

} // namespace toravel
