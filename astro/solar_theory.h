// Geocentric ecliptic position of the Sun by an analytic solar theory.
//
// T: Julian centuries of ephemeris time since J2000.0 (MJD 51544.5), the same
// time scale as the lunar theory. Longitude is referred to the mean equinox of
// date; latitude and longitude in radians, distance in AU. The theory holds
// the Earth's elliptic motion, the periodic perturbations by Venus, Mars,
// Jupiter and Saturn, the displacement of the Earth's centre from the
// Earth–Moon barycentre and four long-period terms of the longitude.
//
// The theory is Newcomb's (S. Newcomb, Tables of the Sun, Astronomical Papers
// of the American Ephemeris 6, 1895) in a truncated form: the equation of the
// centre and the radius vector with their secular terms, the largest
// perturbations by each planet as series in multiples of the two mean
// anomalies, coefficients to 0.01″ and 10⁻⁸ AU, on mean elements of J2000.0.
// The position is geometric (no light time, no aberration); from 1800 to 2200
// it keeps within 4″ in longitude, 0.5″ in latitude and 5·10⁻⁶ AU in distance
// of a numerically integrated ephemeris (Swiss Ephemeris; the reference test
// in tests/astro). Every T is accepted and nothing fails; far from J2000.0
// the result loses accuracy but stays a well-formed position.
//
// Each planet's perturbations are a trigonometric series with arguments
// I·M + i·m of the Sun's mean anomaly M and the planet's m. PerturbationSeries
// builds the cosines and sines of the needed multiples of both anomalies once,
// by the addition theorem, and sums the terms from them.
#pragma once

#include "astro/vector3.h"

namespace toravel {

class PerturbationSeries {
public:
    // Multiples of each anomaly that the tables can hold: −MaxMultiple … +MaxMultiple.
    static constexpr int MaxMultiple = 10;

    // Clears the three sums, keeps T and fills the tables of cos(k·M), sin(k·M)
    // for k = primaryMin … primaryMax and of cos(k·m), sin(k·m) for
    // k = planetMin … planetMax (M, m in radians). The entries −1, 0, +1 are
    // always filled; bounds beyond ±MaxMultiple are held to the tables.
    void Prepare(double T, double M, int primaryMin, int primaryMax, double m, int planetMin,
                 int planetMax);

    // Adds one term with argument I·M + i·m (extension 0), or one power of T
    // of the previous term (extension 1 for its T¹ coefficients, 2 for T²):
    // longitude += dlc·cos + dls·sin, radius += drc·cos + drs·sin,
    // latitude += dbc·cos + dbs·sin. I and i must lie in the prepared ranges.
    void Accumulate(int I, int i, int extension, double dlc, double dls, double drc, double drs,
                    double dbc, double dbs);

    double LongitudeSum() const { return longitudeSum; } // arcseconds
    double RadiusSum() const { return radiusSum; }       // 10⁻⁶ AU
    double LatitudeSum() const { return latitudeSum; }   // arcseconds

private:
    static constexpr int TableSize = 2 * MaxMultiple + 1;
    static constexpr int Offset = MaxMultiple; // table index of the multiple 0

    // Fills the table of cos(k·angle), sin(k·angle) for k = lowest … highest.
    static void FillMultiples(double angle, int lowest, int highest, double* cosTable,
                              double* sinTable);

    double T = 0.0;
    double cosPrimary[TableSize] = {};
    double sinPrimary[TableSize] = {};
    double cosPlanet[TableSize] = {};
    double sinPlanet[TableSize] = {};
    double longitudeSum = 0.0;
    double latitudeSum = 0.0;
    double radiusSum = 0.0;
    // Cosine and sine of the last term's argument, times T once for every
    // extension row since.
    double termCos = 0.0;
    double termSin = 0.0;
};

// The summed perturbations of the Sun's elliptic motion at T: longitude dl
// and latitude db in arcseconds, distance dr in 10⁻⁶ AU. These are the
// planetary series, the barycentre terms and the long-period terms of the
// longitude; SunEclipticPosition adds the mean motion.
void SunPerturbations(double T, double& dl, double& dr, double& db);

// Geocentric ecliptic longitude l in [0, 2π), latitude b (radians) and
// distance r (AU) of the Sun, as a vector built from SphericalCoord(l, b, r):
// its spherical parts are valid without further computation.
Vector3 SunEclipticPosition(double T);

// The longitude alone, the same bits as SunEclipticPosition(T)'s azimuth,
// for the new-moon search, which reads nothing else.
double SunEclipticLongitude(double T);

} // namespace toravel
