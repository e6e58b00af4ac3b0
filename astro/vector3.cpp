#include "astro/vector3.h"

#include <cmath>

#include "astro/constants.h"

namespace toravel {

Vector3::Vector3(const SphericalCoord& s)
    : azimuth(s.Azimuth), elevation(s.Elevation), radius(s.Radius), sphericalValid(true) {
    const double cosElevation = std::cos(s.Elevation);
    x = (std::cos(s.Azimuth) * s.Radius) * cosElevation;
    y = (std::sin(s.Azimuth) * s.Radius) * cosElevation;
    z = std::sin(s.Elevation) * s.Radius;
}

double Vector3::Spherical(SphericalComponent component) const {
    if (!sphericalValid) {
        UpdateSpherical();
        sphericalValid = true;
    }
    switch (component) {
    case SphericalComponent::Elevation:
        return elevation;
    case SphericalComponent::Radius:
        return radius;
    default:
        return azimuth;
    }
}

void Vector3::UpdateSpherical() const {
    const double rhoSquared = x * x + y * y;
    radius = std::sqrt(z * z + rhoSquared);
    if (x == 0.0 && y == 0.0) {
        azimuth = 0.0;
    } else {
        azimuth = std::atan2(y, x);
    }
    if (azimuth < 0.0) {
        azimuth += 2.0 * Pi;
    }
    const double rho = std::sqrt(rhoSquared);
    if (z == 0.0 && rho == 0.0) {
        elevation = 0.0;
    } else {
        elevation = std::atan2(z, rho);
    }
}

} // namespace toravel
