#include "astro/solar_theory.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <utility>

#include "astro/angles.h"
#include "astro/constants.h"

namespace toravel {

namespace {

// cos(k·angle), sin(k·angle) for k = lowest … highest into tables indexed
// −MaxMultiple … +MaxMultiple around their middle.
void FillMultipleTables(double angle, int lowest, int highest, double* cosTable, double* sinTable) {
    // cosK[k] = cos(k·angle), k = −10 … +10
    double* cosK = cosTable + PerturbationSeries::MaxMultiple;
    double* sinK = sinTable + PerturbationSeries::MaxMultiple;
    cosK[0] = 1.0;
    cosK[1] = std::cos(angle);
    cosK[-1] = cosK[1];
    sinK[0] = 0.0;
    sinK[1] = std::sin(angle);
    sinK[-1] = -sinK[1];
    // Each multiple from its neighbour by the addition theorem; the bounds
    // are held to the tables so that no bound can write past them.
    const int top = std::min(highest, PerturbationSeries::MaxMultiple);
    for (int k = 1; k < top; ++k) {
        SinCosSum(cosK[k], sinK[k], cosK[1], sinK[1], cosK[k + 1], sinK[k + 1]);
    }
    const int bottom = std::max(lowest, -PerturbationSeries::MaxMultiple);
    for (int k = -1; k > bottom; --k) {
        SinCosSum(cosK[k], sinK[k], cosK[-1], sinK[-1], cosK[k - 1], sinK[k - 1]);
    }
}

} // namespace

void PerturbationSeries::FillMultiples(double angle, int lowest, int highest, double* cosTable,
                                       double* sinTable) {
    FillMultipleTables(angle, lowest, highest, cosTable, sinTable);
}

void PerturbationSeries::Prepare(double T_, double M, int primaryMin, int primaryMax, double m,
                                 int planetMin, int planetMax) {
    longitudeSum = 0.0;
    latitudeSum = 0.0;
    radiusSum = 0.0;
    T = T_;
    FillMultiples(M, primaryMin, primaryMax, cosPrimary, sinPrimary);
    FillMultiples(m, planetMin, planetMax, cosPlanet, sinPlanet);
}

void PerturbationSeries::Accumulate(int I, int i, int extension, double dlc, double dls, double drc,
                                    double drs, double dbc, double dbs) {
    if (extension == 0) {
        assert(-MaxMultiple <= I && I <= MaxMultiple && -MaxMultiple <= i && i <= MaxMultiple);
        SinCosSum(cosPrimary[Offset + I], sinPrimary[Offset + I], cosPlanet[Offset + i],
                  sinPlanet[Offset + i], termCos, termSin);
    } else {
        // The next power of T of the same argument: a row with extension 2
        // follows the one with extension 1, which follows the one with 0.
        termCos *= T;
        termSin *= T;
    }
    longitudeSum += dlc * termCos + dls * termSin;
    radiusSum += drc * termCos + drs * termSin;
    latitudeSum += dbc * termCos + dbs * termSin;
}

namespace {

// The perturbing bodies' series, by the anomaly they pair with the Sun's.
enum class Planet { Venus, Mars, Jupiter, Saturn };

// One term, or one T-power extension of the term before it: the multipliers
// of the Sun's and the planet's mean anomalies, the extension count, then the
// cosine and sine coefficients of longitude (arcseconds), distance (10⁻⁶ AU)
// and latitude (arcseconds).
struct PerturbationRow {
    int I, i, extension;
    double dlc, dls, drc, drs, dbc, dbs;
};

// Rows with i = 0 are the Earth's own elliptic motion (equation of centre and
// radius vector); they ride with Venus. The rows of each group are added in
// this order.
constexpr PerturbationRow SolarRows[] = {
    // Keplerian terms and Venus
    {1, 0, 0, -0.22, 6892.76, -16707.37, -0.54, 0, 0},
    {1, 0, 1, -0.06, -17.35, 42.04, -0.15, 0, 0},
    {1, 0, 2, -0.01, -0.05, 0.13, -0.02, 0, 0},
    {2, 0, 0, 0, 71.98, -139.57, 0, 0, 0},
    {2, 0, 1, 0, -0.36, 0.7, 0, 0, 0},
    {3, 0, 0, 0, 1.04, -1.75, 0, 0, 0},
    {0, -1, 0, 0.03, -0.07, -0.16, -0.07, 0.02, -0.02},
    {1, -1, 0, 2.35, -4.23, -4.75, -2.64, 0, 0},
    {1, -2, 0, -0.1, 0.06, 0.12, 0.2, 0.02, 0},
    {2, -1, 0, -0.06, -0.03, 0.2, -0.01, 0.01, -0.09},
    {2, -2, 0, -4.7, 2.9, 8.28, 13.42, 0.01, -0.01},
    {3, -2, 0, 1.8, -1.74, -1.44, -1.57, 0.04, -0.06},
    {3, -3, 0, -0.67, 0.03, 0.11, 2.43, 0.01, 0},
    {4, -2, 0, 0.03, -0.03, 0.1, 0.09, 0.01, -0.01},
    {4, -3, 0, 1.51, -0.4, -0.88, -3.36, 0.18, -0.1},
    {4, -4, 0, -0.19, -0.09, -0.38, 0.77, 0, 0},
    {5, -3, 0, 0.76, -0.68, 0.3, 0.37, 0.01, 0},
    {5, -4, 0, -0.14, -0.04, -0.11, 0.43, -0.03, 0},
    {5, -5, 0, -0.05, -0.07, -0.31, 0.21, 0, 0},
    {6, -4, 0, 0.15, -0.04, -0.06, -0.21, 0.01, 0},
    {6, -5, 0, -0.03, -0.03, -0.09, 0.09, -0.01, 0},
    {6, -6, 0, 0, -0.04, -0.18, 0.02, 0, 0},
    {7, -5, 0, -0.12, -0.03, -0.08, 0.31, -0.02, -0.01},
    // Mars
    {1, -1, 0, -0.22, 0.17, -0.21, -0.27, 0, 0},
    {1, -2, 0, -1.66, 0.62, 0.16, 0.28, 0, 0},
    {2, -2, 0, 1.96, 0.57, -1.32, 4.55, 0, 0.01},
    {2, -3, 0, 0.4, 0.15, -0.17, 0.46, 0, 0},
    {2, -4, 0, 0.53, 0.26, 0.09, -0.22, 0, 0},
    {3, -3, 0, 0.05, 0.12, -0.35, 0.15, 0, 0},
    {3, -4, 0, -0.13, -0.48, 1.06, -0.29, 0.01, 0},
    {3, -5, 0, -0.04, -0.2, 0.2, -0.04, 0, 0},
    {4, -4, 0, 0, -0.03, 0.1, 0.04, 0, 0},
    {4, -5, 0, 0.05, -0.07, 0.2, 0.14, 0, 0},
    {4, -6, 0, -0.1, 0.11, -0.23, -0.22, 0, 0},
    {5, -7, 0, -0.05, 0, 0.01, -0.14, 0, 0},
    {5, -8, 0, 0.05, 0.01, -0.02, 0.1, 0, 0},
    // Jupiter
    {-1, -1, 0, 0.01, 0.07, 0.18, -0.02, 0, -0.02},
    {0, -1, 0, -0.31, 2.58, 0.52, 0.34, 0.02, 0},
    {1, -1, 0, -7.21, -0.06, 0.13, -16.27, 0, -0.02},
    {1, -2, 0, -0.54, -1.52, 3.09, -1.12, 0.01, -0.17},
    {1, -3, 0, -0.03, -0.21, 0.38, -0.06, 0, -0.02},
    {2, -1, 0, -0.16, 0.05, -0.18, -0.31, 0.01, 0},
    {2, -2, 0, 0.14, -2.73, 9.23, 0.48, 0, 0},
    {2, -3, 0, 0.07, -0.55, 1.83, 0.25, 0.01, 0},
    {2, -4, 0, 0.02, -0.08, 0.25, 0.06, 0, 0},
    {3, -2, 0, 0.01, -0.07, 0.16, 0.04, 0, 0},
    {3, -3, 0, -0.16, -0.03, 0.08, -0.64, 0, 0},
    {3, -4, 0, -0.04, -0.01, 0.03, -0.17, 0, 0},
    // Saturn
    {0, -1, 0, 0, 0.32, 0.01, 0, 0, 0},
    {1, -1, 0, -0.08, -0.41, 0.97, -0.18, 0, -0.01},
    {1, -2, 0, 0.04, 0.1, -0.23, 0.1, 0, 0},
    {2, -2, 0, 0.04, 0.1, -0.35, 0.13, 0, 0},
};

// Each group: its planet, the ranges of multiples its rows use, and its
// consecutive share of SolarRows.
struct PerturbationGroup {
    Planet planet;
    int primaryMin, primaryMax, planetMin, planetMax;
    int rowCount;
};

constexpr PerturbationGroup SolarGroups[] = {
    {Planet::Venus, 0, 7, -6, 0, 23},
    {Planet::Mars, 1, 5, -8, -1, 13},
    {Planet::Jupiter, -1, 3, -4, -1, 12},
    {Planet::Saturn, 0, 2, -2, -1, 4},
};

// The rows and the groups agree: every multiplier lies in its group's
// prepared range, and an extension row continues the argument before it.
constexpr bool GroupsCoverRows() {
    int row = 0;
    for (const PerturbationGroup& g : SolarGroups) {
        for (int n = 0; n < g.rowCount; ++n, ++row) {
            if (row >= static_cast<int>(std::size(SolarRows))) {
                return false;
            }
            const PerturbationRow& r = SolarRows[row];
            const bool inRange = g.primaryMin <= r.I && r.I <= g.primaryMax && g.planetMin <= r.i &&
                                 r.i <= g.planetMax;
            const bool continues =
                r.extension == 0 ||
                (n > 0 && SolarRows[row - 1].I == r.I && SolarRows[row - 1].i == r.i &&
                 SolarRows[row - 1].extension == r.extension - 1);
            if (!inRange || !continues) {
                return false;
            }
        }
    }
    return row == static_cast<int>(std::size(SolarRows));
}
static_assert(std::size(SolarRows) == 52);
static_assert(GroupsCoverRows());

// Mean argument c₀ + c₁·T in revolutions, reduced to one, in radians.
double MeanArgument(double c0, double c1, double T) {
    const double motion = c1 * T;
    return TwoPi * FracPart(c0 + motion);
}

// The mean arguments of the theory at T, radians.
struct SolarMeanArguments {
    double M2; // mean anomaly of Venus
    double M3; // mean anomaly of the Sun (the Earth)
    double M4; // mean anomaly of Mars
    double M5; // mean anomaly of Jupiter
    double M6; // mean anomaly of Saturn
    double D;  // mean elongation of the Moon from the Sun
    double A;  // mean anomaly of the Moon
};

inline SolarMeanArguments MeanArgumentsAt(double T) {
    return {
        MeanArgument(0.1387306, 162.5485917, T), MeanArgument(0.9931266, 99.9973604, T),
        MeanArgument(0.0543250, 53.1666028, T),  MeanArgument(0.0551750, 8.4293972, T),
        MeanArgument(0.8816500, 3.3938722, T),   MeanArgument(0.8274, 1236.8531, T),
        MeanArgument(0.3749, 1325.5524, T),
    };
}

// The mean anomaly that a group pairs with the Sun's.
double PlanetAnomaly(const SolarMeanArguments& a, Planet planet) {
    switch (planet) {
    case Planet::Venus:
        return a.M2;
    case Planet::Mars:
        return a.M4;
    case Planet::Jupiter:
        return a.M5;
    case Planet::Saturn:
        return a.M6;
    }
    return 0.0;
}

// The displacement of the Earth's centre about the Earth–Moon barycentre:
// longitude in arcseconds, distance in 10⁻⁶ AU, latitude in arcseconds.
// Inline, so that the sine and cosine of the same argument in Perturbations
// stay one call.
inline double BarycentreLongitude(const SolarMeanArguments& a) {
    return 6.45 * std::sin(a.D) - 0.42 * std::sin(a.D - a.A) + 0.18 * std::sin(a.D + a.A) +
           0.17 * std::sin(a.D - a.M3) - 0.06 * std::sin(a.D + a.M3);
}

double BarycentreDistance(const SolarMeanArguments& a) {
    return 30.76 * std::cos(a.D) - 3.06 * std::cos(a.D - a.A) + 0.85 * std::cos(a.D + a.A) -
           0.58 * std::cos(a.D + a.M3) + 0.57 * std::cos(a.D - a.M3);
}

// U, the Moon's mean argument of latitude, enters the latitude alone.
double BarycentreLatitude(double T) {
    const double U = MeanArgument(0.2591, 1342.2278, T);
    return 0.576 * std::sin(U);
}

// Long-period terms of the longitude, arcseconds; their arguments are not
// reduced to one revolution.
inline double LongPeriodLongitude(double T) {
    return 6.40 * std::sin(TwoPi * (0.6983 + 0.0561 * T)) +
           1.87 * std::sin(TwoPi * (0.5764 + 0.4174 * T)) +
           0.27 * std::sin(TwoPi * (0.4189 + 0.3306 * T)) +
           0.20 * std::sin(TwoPi * (0.3581 + 2.4814 * T));
}

// The perturbations, and the Sun's mean anomaly M₃ that the longitude needs.
void Perturbations(double T, double& M3, double& dl, double& dr, double& db) {
    const SolarMeanArguments a = MeanArgumentsAt(T);
    M3 = a.M3;

    // One series per planet, each prepared once and filled in table order.
    PerturbationSeries series[std::size(SolarGroups)];
    const PerturbationRow* row = SolarRows;
    for (std::size_t g = 0; g < std::size(SolarGroups); ++g) {
        const PerturbationGroup& group = SolarGroups[g];
        series[g].Prepare(T, a.M3, group.primaryMin, group.primaryMax,
                          PlanetAnomaly(a, group.planet), group.planetMin, group.planetMax);
        for (int n = 0; n < group.rowCount; ++n, ++row) {
            series[g].Accumulate(row->I, row->i, row->extension, row->dlc, row->dls, row->drc,
                                 row->drs, row->dbc, row->dbs);
        }
    }

    // Venus first, then Mars, Jupiter and Saturn.
    dl = series[0].LongitudeSum();
    dr = series[0].RadiusSum();
    db = series[0].LatitudeSum();
    for (std::size_t g = 1; g < std::size(SolarGroups); ++g) {
        dl += series[g].LongitudeSum();
        dr += series[g].RadiusSum();
        db += series[g].LatitudeSum();
    }

    dl += BarycentreLongitude(a);
    dr += BarycentreDistance(a);
    db += BarycentreLatitude(T);
    dl += LongPeriodLongitude(T);
}

// The longitude's share of the perturbations alone, for callers that read
// nothing else: the same operations as Perturbations in the same order, the
// distance and latitude sums left out, the rows unrolled at compile time and
// the tables left unzeroed (only the filled entries are read). The Sun's
// anomaly has one table for all four groups: each multiple comes from the one
// below it, whatever range is asked for, so every group reads the same bits.
constexpr int MultipleTableSize = 2 * PerturbationSeries::MaxMultiple + 1;
constexpr int MultipleOffset = PerturbationSeries::MaxMultiple;

struct MultipleTable {
    double cosK[MultipleTableSize];
    double sinK[MultipleTableSize];
};

template <std::size_t Row>
inline void AddLongitudeRow(const MultipleTable& primary, const MultipleTable& planet, double T,
                            double& termCos, double& termSin, double& sum) {
    constexpr PerturbationRow r = SolarRows[Row];
    if constexpr (r.extension == 0) {
        SinCosSum(primary.cosK[MultipleOffset + r.I], primary.sinK[MultipleOffset + r.I],
                  planet.cosK[MultipleOffset + r.i], planet.sinK[MultipleOffset + r.i], termCos,
                  termSin);
    } else {
        termCos *= T;
        termSin *= T;
    }
    sum += r.dlc * termCos + r.dls * termSin;
}

template <std::size_t First, std::size_t... N>
double GroupLongitudeSum(const MultipleTable& primary, const MultipleTable& planet, double T,
                         std::index_sequence<N...>) {
    double sum = 0.0;
    double termCos = 0.0;
    double termSin = 0.0;
    (AddLongitudeRow<First + N>(primary, planet, T, termCos, termSin, sum), ...);
    return sum;
}

// The first row of group g within SolarRows.
constexpr std::size_t FirstRowOf(std::size_t g) {
    std::size_t first = 0;
    for (std::size_t n = 0; n < g; ++n)
        first += static_cast<std::size_t>(SolarGroups[n].rowCount);
    return first;
}

template <std::size_t G>
double GroupLongitudeSum(const MultipleTable& primary, const SolarMeanArguments& a, double T) {
    constexpr PerturbationGroup group = SolarGroups[G];
    MultipleTable planet;
    FillMultipleTables(PlanetAnomaly(a, group.planet), group.planetMin, group.planetMax,
                       planet.cosK, planet.sinK);
    return GroupLongitudeSum<FirstRowOf(G)>(
        primary, planet, T, std::make_index_sequence<static_cast<std::size_t>(group.rowCount)>{});
}

// The multiples of the Sun's anomaly that the groups use, lowest and highest.
struct MultipleRange {
    int lowest, highest;
};

constexpr MultipleRange PrimaryRange() {
    MultipleRange range{SolarGroups[0].primaryMin, SolarGroups[0].primaryMax};
    for (const PerturbationGroup& g : SolarGroups) {
        range.lowest = std::min(range.lowest, g.primaryMin);
        range.highest = std::max(range.highest, g.primaryMax);
    }
    return range;
}

double LongitudePerturbation(double T, double& M3) {
    const SolarMeanArguments a = MeanArgumentsAt(T);
    M3 = a.M3;

    MultipleTable primary;
    constexpr MultipleRange range = PrimaryRange();
    FillMultipleTables(a.M3, range.lowest, range.highest, primary.cosK, primary.sinK);
    // Venus first, then Mars, Jupiter and Saturn, as the groups stand.
    double dl = GroupLongitudeSum<0>(primary, a, T);
    dl += GroupLongitudeSum<1>(primary, a, T);
    dl += GroupLongitudeSum<2>(primary, a, T);
    dl += GroupLongitudeSum<3>(primary, a, T);

    dl += BarycentreLongitude(a);
    dl += LongPeriodLongitude(T);
    return dl;
}

double LongitudeOf(double T, double M3, double dl) {
    constexpr double RevolutionsPerArcsecond = 1.0 / ArcsecondsPerRevolution;
    return TwoPi * FracPart(0.7859453 + M3 / TwoPi +
                            ((6191.2 + 1.1 * T) * T + dl) * RevolutionsPerArcsecond);
}

} // namespace

void SunPerturbations(double T, double& dl, double& dr, double& db) {
    double M3;
    Perturbations(T, M3, dl, dr, db);
}

Vector3 SunEclipticPosition(double T) {
    double M3, dl, dr, db;
    Perturbations(T, M3, dl, dr, db);
    const double l = LongitudeOf(T, M3, dl);
    const double r = 1.0001398 - 0.0000007 * T + dr * 1e-6;
    const double b = db / ArcsecondsPerRadian;
    return Vector3(SphericalCoord(l, b, r));
}

double SunEclipticLongitude(double T) {
    double M3;
    const double dl = LongitudePerturbation(T, M3);
    return LongitudeOf(T, M3, dl);
}

} // namespace toravel
