// The reference for the month calendar's beginnings: Swiss Ephemeris's Moon
// and Sun (files semo_18.se1, sepl_18.se1), in universal time with Swiss
// Ephemeris's own ΔT.
//
// Moonrise: the program's horizon convention, the geocentric apparent centre
// of the Moon (right ascension and declination of date) at +8′ of altitude,
// with Greenwich mean sidereal time of the IAU 1982 expression.
// New moon: the moment at which the apparent geocentric ecliptic longitudes
// of the Moon and the Sun are equal.
//
// Times are Julian Dates in universal time. Should Swiss Ephemeris fall back
// to its analytic theory (its files missing), every method throws
// std::runtime_error: the comparison would be weaker than it claims.
//
// Shared by the month calendar's accuracy tool and the moonrise reference
// test; never linked into the program.
#pragma once

#include <optional>
#include <vector>

namespace toravel::tools {

class ReferenceMoon {
public:
    explicit ReferenceMoon(const char* ephemerisDirectory);
    ~ReferenceMoon();
    ReferenceMoon(const ReferenceMoon&) = delete;
    ReferenceMoon& operator=(const ReferenceMoon&) = delete;

    // The moonrise nearest to jdUt within ±window days, or nothing when the
    // Moon does not rise there then. Latitude and longitude in degrees,
    // positive north and east.
    std::optional<double> MoonriseNear(double jdUt, double latitudeDeg, double longitudeDeg,
                                       double window) const;

    // Every rise in [jdBegin, jdEnd] at the place: the crossings from below
    // of +8′ on a two-minute grid from jdBegin (its last step ending at
    // jdEnd), refined by bisection to 0.1 ms.
    std::vector<double> MoonrisesBetween(double jdBegin, double jdEnd, double latitudeDeg,
                                         double longitudeDeg) const;

    // Whether the Moon rises in [jdBegin, jdEnd) at the place.
    bool RisesBetween(double jdBegin, double jdEnd, double latitudeDeg, double longitudeDeg) const;

    // The new moon nearest to jdUt (within a day of it).
    double NewMoonNear(double jdUt) const;

    // The full moon nearest to jdUt (within a day of it).
    double FullMoonNear(double jdUt) const;

private:
    double AltitudeAboveStandard(double jdUt, double latitudeDeg, double longitudeDeg) const;
    double Elongation(double jdUt, double from) const;
    double PhaseNear(double jdUt, double from) const;
};

} // namespace toravel::tools
