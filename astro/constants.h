// Constants shared by the astronomical library.
//
// Angles are radians inside the library; series coefficients are arcseconds
// or revolutions. The derived values are the double-precision results of the
// formulas shown, so writing them as expressions changes nothing.
#pragma once

namespace toravel {

inline constexpr double Pi = 3.141592653589793;
inline constexpr double TwoPi = 2.0 * Pi;                    // 6.283185307179586
inline constexpr double RadiansPerDegree = Pi / 180.0;       // 0.017453292519943295
inline constexpr double ArcsecondsPerRadian = 648000.0 / Pi; // 206264.80624709636
inline constexpr double EarthRadiusKm = 6378.137;            // equatorial radius
inline constexpr double MjdJ2000 = 51544.5;                  // 2000-01-01 12h

// Arcseconds in a full circle: divides arcseconds into revolutions.
inline constexpr double ArcsecondsPerRevolution = 1296000.0;

} // namespace toravel
