// Geocentric ecliptic position of the Moon from a truncated lunar theory.
//
// T: Julian centuries of ephemeris time since J2000.0 (the caller treats it
// as ephemeris time; nothing is corrected here). Result: ecliptic longitude
// in [0, 2π) and latitude, radians, on the ecliptic and mean equinox of date,
// and the distance between the centres of the Earth and the Moon, km.
//
// The series: 104 solar perturbation terms of Brown's lunar theory, each
// adding to the longitude, the argument of latitude, the amplitude of the
// latitude and the sine of the horizontal parallax; 10 further latitude
// terms; 11 planetary terms of the longitude; long-period corrections of the
// mean arguments. Every term's argument is p·l + q·l′ + r·F + s·D; the
// cosines and sines of the small multiples of each mean argument are
// tabulated once per evaluation by the addition theorem, each multiple k
// carrying its column's factor raised to |k|, so the term loop calls no
// trigonometric function.
//
// Of the solar terms' coefficients, sixteen rows and the two other tables
// are the theory's own; the other rows were fitted to a numerical ephemeris
// over 1800–2200 (tools/fit_lunar_series; the table is generated, see
// astro/lunar_solar_table.generated.h). Accuracy over 1900–2100 is about 1″
// rms in longitude: docs/accuracy.md. Any T is accepted; nothing fails.
#pragma once

#include "astro/vector3.h"

namespace toravel {

// The multipliers (p, q, r, s) of l, l′, F and D in one term's argument.
struct LunarArgumentKey {
    int p, q, r, s;
};

// One solar term's coefficients, arcseconds: longitude (sine), argument of
// latitude (sine), amplitude of the latitude (cosine), parallax (cosine).
struct LunarSolarCoefficients {
    double longitude, latitudeArgument, latitudeAmplitude, parallax;
};

// One further latitude term: coefficient (arcseconds, sine) and its key.
struct LunarLatitudeRow {
    double coefficient;
    LunarArgumentKey key;
};

inline constexpr int LunarSolarRowCount = 104;
inline constexpr int LunarLatitudeRowCount = 10;

// The solar terms' arguments, in the order in which they are added. Their
// coefficients, row for row, are LunarSolarCoefficientTable.
inline constexpr LunarArgumentKey LunarSolarKeys[LunarSolarRowCount] = {
    {0, 0, 0, 4},   {0, 0, 0, 3},   {0, 0, 0, 2},   {0, 0, 0, 1},   {1, 0, 0, 4},   {1, 0, 0, 2},
    {1, 0, 0, 1},   {1, 0, 0, 0},   {1, 0, 0, -1},  {1, 0, 0, -2},  {1, 0, 0, -3},  {1, 0, 0, -4},
    {1, 0, 0, -6},  {0, 1, 0, 4},   {0, 1, 0, 2},   {0, 1, 0, 1},   {0, 1, 0, 0},   {0, 1, 0, -1},
    {0, 1, 0, -2},  {0, 1, 0, -4},  {2, 0, 0, 4},   {2, 0, 0, 2},   {2, 0, 0, 1},   {2, 0, 0, 0},
    {2, 0, 0, -1},  {2, 0, 0, -2},  {2, 0, 0, -3},  {2, 0, 0, -4},  {2, 0, 0, -6},  {1, 1, 0, 2},
    {1, 1, 0, 1},   {1, 1, 0, 0},   {1, 1, 0, -2},  {1, 1, 0, -3},  {1, 1, 0, -4},  {1, -1, 0, 4},
    {1, -1, 0, 2},  {1, -1, 0, 0},  {1, -1, 0, -1}, {1, -1, 0, -2}, {1, -1, 0, -3}, {1, -1, 0, -4},
    {0, 2, 0, 2},   {0, 2, 0, 0},   {0, 2, 0, -2},  {0, 0, 2, 2},   {0, 0, 2, 1},   {0, 0, 2, 0},
    {0, 0, 2, -1},  {0, 0, 2, -2},  {0, 0, 2, -3},  {0, 0, 2, -4},  {3, 0, 0, 2},   {3, 0, 0, 0},
    {3, 0, 0, -2},  {3, 0, 0, -4},  {3, 0, 0, -6},  {2, 1, 0, 2},   {2, 1, 0, 0},   {2, 1, 0, -2},
    {2, 1, 0, -4},  {2, -1, 0, 2},  {2, -1, 0, 0},  {2, -1, 0, -1}, {2, -1, 0, -2}, {2, -1, 0, -4},
    {1, 2, 0, 0},   {1, 2, 0, -2},  {1, 2, 0, -4},  {1, -2, 0, 2},  {1, -2, 0, 0},  {1, -2, 0, -2},
    {0, 3, 0, -2},  {1, 0, 2, 2},   {1, 0, 2, 0},   {1, 0, 2, -2},  {1, 0, 2, -4},  {1, 0, -2, 2},
    {1, 0, -2, 0},  {1, 0, -2, -2}, {1, 0, -2, -4}, {0, 1, 2, 0},   {0, 1, 2, -2},  {0, 1, -2, 2},
    {0, 1, -2, -2}, {4, 0, 0, 0},   {4, 0, 0, -2},  {3, 1, 0, 0},   {3, 1, 0, -2},  {3, -1, 0, 0},
    {2, 2, 0, -2},  {2, -2, 0, -2}, {1, 3, 0, -2},  {2, 0, 2, 0},   {2, 0, 2, -2},  {2, 0, -2, 2},
    {2, 0, -2, 0},  {2, 0, -2, -2}, {1, 1, 2, 0},   {1, 1, -2, -2}, {1, -1, 2, 0},  {1, -1, -2, 2},
    {0, 0, 4, 0},   {3, 0, 2, 0},
};

// The further latitude terms, in the order in which they are added to N.
inline constexpr LunarLatitudeRow LunarLatitudeTable[LunarLatitudeRowCount] = {
    {-526.069, {0, 0, 1, -2}}, {-3.352, {0, 0, 1, -4}},  {44.297, {1, 0, 1, -2}},
    {-6.000, {1, 0, 1, -4}},   {20.599, {-1, 0, 1, 0}},  {-30.598, {-1, 0, 1, -2}},
    {-24.649, {-2, 0, 1, 0}},  {-2.000, {-2, 0, 1, -2}}, {-22.571, {0, 1, 1, -2}},
    {10.985, {0, -1, 1, -2}},
};

// The state of one evaluation of the series. It lives on the stack of one
// MoonEclipticPosition call: Prepare first (it alone initialises the sums),
// then the additions, then the three readers, which change nothing.
struct LunarSeries {
    // Row k of the multiple tables is at index k + MultipleOffset.
    static constexpr int MultipleOffset = 6;
    static constexpr int MultipleRows = 2 * MultipleOffset + 1;

    LunarSeries() = default;
    LunarSeries(const LunarSeries&) = delete;
    LunarSeries& operator=(const LunarSeries&) = delete;

    // Clears the sums (P starts at 3422.7″), computes g and the mean
    // arguments for T, fills the multiple tables.
    void Prepare(double T);

    // x, y: cosine and sine of p·l + q·l′ + r·F + s·D, scaled by the factor
    // of each multiple used (a zero multiplier contributes nothing).
    void TermCosSin(int p, int q, int r, int s, double& x, double& y) const;

    void AddSolarTerm(double cLongitude, double cLatitudeArgument, double cLatitudeAmplitude,
                      double cParallax, int p, int q, int r, int s);
    void AddLatitudeTerm(double cN, int p, int q, int r, int s);
    void AddPlanetaryTerms(double T);

    double Longitude() const; // λ, radians in [0, 2π)
    double Latitude() const;  // β, radians
    double Distance() const;  // R, km

    double inclinationPerturbation = 0.0; // g, enters the factor of F
    double longitudeSum = 0.0;            // dλ, arcseconds
    double latitudeArgumentSum = 0.0;     // dS, arcseconds
    double latitudeAmplitudeSum = 0.0;    // dγ, arcseconds
    double parallaxSum = 0.0;             // P, arcseconds
    double latitudeSum = 0.0;             // N, arcseconds
    double meanLongitude = 0.0;           // L₀, radians
    double moonAnomaly = 0.0;             // l, radians
    double sunAnomaly = 0.0;              // l′, radians
    double nodeDistance = 0.0;            // F, radians
    double elongation = 0.0;              // D, radians
    // Entry [k + MultipleOffset][i] holds fᵢ^|k|·cos(k·argᵢ) (sine in the
    // other table); columns 0 = l, 1 = l′, 2 = F, 3 = D. Prepare fills the
    // rows −m … +m of each column, m its highest multiple (4, 3, 4, 6), which
    // are all that any term reads; the rest is left unset, as zeroing it at
    // every evaluation costs time for nothing.
    double cosMultiple[MultipleRows][4];
    double sinMultiple[MultipleRows][4];
};

// The Moon's geocentric ecliptic position for T (centuries of ephemeris time
// since J2000.0), built from SphericalCoord(λ, β, R): its spherical parts are
// cached, x, y, z are km (x toward the mean equinox of date, z toward the
// north pole of the ecliptic).
Vector3 MoonEclipticPosition(double T);

// The longitude alone, the same bits as MoonEclipticPosition(T)'s azimuth,
// for the new-moon search, which reads nothing else.
double MoonEclipticLongitude(double T);

} // namespace toravel
