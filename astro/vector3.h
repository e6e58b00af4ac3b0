// Cartesian vectors that answer their spherical parts.
//
// A Vector3 computes azimuth, elevation and radius on first demand and keeps
// them; one built from spherical coordinates starts with those values cached,
// unnormalised. Nothing changes x, y, z of an existing vector, so the cache
// never goes stale. Small value types, copied member by member; no heap.
#pragma once

namespace toravel {

// Longitude-like angle, latitude-like angle (radians) and distance, stored as
// given and never normalised.
struct SphericalCoord {
    double Azimuth = 0.0;
    double Elevation = 0.0;
    double Radius = 0.0;

    constexpr SphericalCoord() = default;
    constexpr SphericalCoord(double azimuth, double elevation, double radius)
        : Azimuth(azimuth), Elevation(elevation), Radius(radius) {}
};

// Selects one spherical part. Any value other than Elevation and Radius reads
// the azimuth.
enum class SphericalComponent : int { Azimuth = 0, Elevation = 1, Radius = 2 };

class Vector3 {
public:
    Vector3() = default;
    Vector3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
    explicit Vector3(const SphericalCoord& s);

    // The requested spherical part; computed once, on the first request.
    double Spherical(SphericalComponent component) const;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

private:
    void UpdateSpherical() const;

    mutable double azimuth = 0.0;
    mutable double elevation = 0.0;
    mutable double radius = 0.0;
    mutable bool sphericalValid = false;
};

} // namespace toravel
