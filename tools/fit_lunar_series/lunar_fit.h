// Fitting the solar terms of the lunar series to a numerical ephemeris.
//
// Reference: Swiss Ephemeris (its installed files cover 1800–2400), the
// geometric Moon on the ecliptic and mean equinox of date, Julian date in TT:
// SEFLG_SWIEPH | SEFLG_TRUEPOS | SEFLG_NONUT | SEFLG_NOABERR | SEFLG_NOGDEFL.
// A call that falls back to another ephemeris is an error, never a sample.
//
// Sixteen rows of the solar table, the latitude table, the planetary terms
// and the mean arguments are the theory's own and stay fixed; the other 88
// rows' coefficients are fitted, each channel by least squares:
//   cλ linearly on the longitude residual (arcseconds),
//   cP linearly on the parallax P = EarthRadiusKm·ArcsecondsPerRadian/(0.999953253·R),
//   cS and cγ together by Gauss–Newton on the latitude (S sits inside a
//   sine); cγ only on rows without F, every row with F has cγ = 0.
// The committed table holds the series' check values as equality
// constraints; the free fit is the honest test of the fixed parts.
// Used by the fit_lunar_series program and by the reference test.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "astro/lunar_theory.h"

namespace toravel::lunarfit {

using SolarTable = std::array<LunarSolarCoefficients, LunarSolarRowCount>;

// The committed table's sampling: from 1800 January 1, 12h TT (the
// installed ephemeris files begin 12 hours earlier; T = −2 itself lies a day
// and a half before them) to 2200; fit points at the middle of equal steps,
// measuring points between them.
inline constexpr double FirstSampleT = (2378497.0 - 2451545.0) / 36525.0;
inline constexpr double LastSampleT = 2.0;
inline constexpr int FitPoints = 100000;
inline constexpr double FitPhase = 0.5;
inline constexpr int MeasurePoints = 50000;
inline constexpr double MeasurePhase = 0.3;

// One reference position: T in Julian centuries of TT since J2000.0,
// longitude and latitude in radians, distance in km.
struct EphemerisSample {
    double T = 0.0;
    double longitude = 0.0;
    double latitude = 0.0;
    double distanceKm = 0.0;
};

// The reference Moon at T; throws std::runtime_error when the ephemeris
// fails or answers from anything but its files.
EphemerisSample ReferenceMoon(double T);

// count samples at T = tBegin + (tEnd − tBegin)·(j + phase)/count, j = 0 … count − 1.
std::vector<EphemerisSample> SampleEphemeris(double tBegin, double tEnd, int count, double phase);

// Rows printed in full with the theory (place 0 … 103) and their values.
bool IsGivenRow(int row);
SolarTable GivenRowsOnly();

// Which free coefficients are held at zero besides the theory's own zeros.
struct TableStructure {
    std::array<bool, LunarSolarRowCount> parallaxZero{};
    std::array<bool, LunarSolarRowCount> argumentZero{};
};

// The sums and results of one evaluation of the series with a given table.
struct SeriesResult {
    double longitudeSum = 0.0, argumentSum = 0.0, amplitudeSum = 0.0, parallaxSum = 0.0;
    double longitude = 0.0, latitude = 0.0, distance = 0.0;
};
SeriesResult EvaluateSeries(const SolarTable& table, double T);

enum class Quantity {
    LongitudeSum,
    ArgumentSum,
    AmplitudeSum,
    ParallaxSum,
    Longitude,
    Latitude,
    Distance
};

// A printed check value of the series; `constraint` marks the ones the
// committed table is held to (the others follow from them: λ, β and R at
// T = 0 are functions of the sums there).
struct CheckValue {
    const char* name;
    double T;
    Quantity quantity;
    double value;
    bool constraint;
};
const std::vector<CheckValue>& CheckValues();

// The table's value minus the check value, in arcseconds for angles and
// sums, in km for the distance.
double CheckDistance(const SolarTable& table, const CheckValue& check);

struct FitOutcome {
    TableStructure structure;
    SolarTable free;           // least squares alone
    SolarTable constrained;    // with the check values held
    std::string structureNote; // which rows were held at zero, and why
};

// The whole fit: a first free fit with every free coefficient open, the
// least significant cP and cS rows held at zero, then the free and the
// constrained fit with that structure.
FitOutcome FitSolarTable(const std::vector<EphemerisSample>& samples);

struct ChannelResiduals {
    double rms = 0.0;
    double max = 0.0;
};
// Longitude and latitude in arcseconds, distance in km, over samples with
// tMin <= T <= tMax.
struct Residuals {
    ChannelResiduals longitude, latitude, distance;
    int count = 0;
};
Residuals MeasureResiduals(const SolarTable& table, const std::vector<EphemerisSample>& samples,
                           double tMin, double tMax);

// The table as printed (six fixed decimals) and read back.
SolarTable RoundedForPrinting(const SolarTable& table);
std::string FormatFixed(double value, int decimals);

// The generated source file; its first line names the command.
std::string GeneratedSource(const SolarTable& table, const TableStructure& structure,
                            const std::string& command);

} // namespace toravel::lunarfit
