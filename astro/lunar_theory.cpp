#include "astro/lunar_theory.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/lunar_solar_table.generated.h"

namespace toravel {
namespace {

// Planetary perturbations of the longitude: c·sin 2π(a + b·T), c in
// arcseconds, a in revolutions, b in revolutions per century.
struct PlanetaryTerm {
    double c, a, b;
};

constexpr PlanetaryTerm PlanetaryTerms[] = {
    {0.82, 0.7736, -62.5512},  {0.31, 0.0466, -125.1025}, {0.35, 0.5785, -25.1042},
    {0.66, 0.4591, 1335.8075}, {0.64, 0.3130, -91.5680},  {1.14, 0.1480, 1331.2898},
    {0.21, 0.5918, 1056.5859}, {0.44, 0.5784, 1322.8595}, {0.24, 0.2275, -5.7374},
    {0.28, 0.2965, 2.6929},    {0.33, 0.3132, 6.3368},
};

// The mean amplitude of the latitude, arcseconds. Held one unit in the last
// place below the double nearest to 18519.7, as the theory's tables have it.
constexpr double LatitudeAmplitude = 18519.699999999997;

constexpr bool KeysWithinTables() {
    for (const LunarArgumentKey& k : LunarSolarKeys) {
        if (k.p < -4 || k.p > 4 || k.q < -3 || k.q > 3 || k.r < -4 || k.r > 4 || k.s < -6 ||
            k.s > 6 || (k.p == 0 && k.q == 0 && k.r == 0 && k.s == 0)) {
            return false;
        }
    }
    return true;
}
static_assert(KeysWithinTables(),
              "every solar key must be non-zero and within the tabulated multiples");

// The factor of column F, shared by the table and the latitude.
double NodeFactor(double g) {
    return 1.000002708 + 139.978 * g;
}

// Fills rows −m … +m of one column with f^|k|·cos(k·argument) and
// f^|k|·sin(k·argument), the higher multiples by the addition theorem.
void FillColumn(double (&cosMultiple)[LunarSeries::MultipleRows][4],
                double (&sinMultiple)[LunarSeries::MultipleRows][4], int column, double argument,
                double factor, int highest) {
    constexpr int o = LunarSeries::MultipleOffset;
    cosMultiple[o][column] = 1.0;
    sinMultiple[o][column] = 0.0;
    cosMultiple[o + 1][column] = factor * std::cos(argument);
    sinMultiple[o + 1][column] = factor * std::sin(argument);
    cosMultiple[o - 1][column] = cosMultiple[o + 1][column];
    sinMultiple[o - 1][column] = -sinMultiple[o + 1][column];
    for (int k = 2; k <= highest; ++k) {
        SinCosSum(cosMultiple[o + k - 1][column], sinMultiple[o + k - 1][column],
                  cosMultiple[o + 1][column], sinMultiple[o + 1][column],
                  cosMultiple[o + k][column], sinMultiple[o + k][column]);
        cosMultiple[o - k][column] = cosMultiple[o + k][column];
        sinMultiple[o - k][column] = -sinMultiple[o + k][column];
    }
}

// g and the five mean arguments for T, in radians.
struct MeanArguments {
    double g, L0, l, ls, F, D;
};

MeanArguments ComputeMeanArguments(double T) {
    // Long-period arguments.
    const double S1 = SineOfRevolutions(0.19833 + 0.05611 * T);
    const double S2 = SineOfRevolutions(0.27869 + 0.04508 * T);
    const double S3 = SineOfRevolutions(0.16827 - 0.36903 * T);
    const double S4 = SineOfRevolutions(0.34734 - 5.37261 * T);
    const double S5 = SineOfRevolutions(0.10498 - 5.37899 * T);
    const double S6 = SineOfRevolutions(0.42681 - 0.41855 * T);
    const double S7 = SineOfRevolutions(0.14943 - 5.37511 * T);

    // Long-period corrections of the mean arguments, arcseconds.
    const double dL0 = 0.84 * S1 + 0.31 * S2 + 14.27 * S3 + 7.26 * S4 + 0.28 * S5 + 0.24 * S6;
    const double dl = 2.94 * S1 + 0.31 * S2 + 14.27 * S3 + 9.34 * S4 + 1.12 * S5 + 0.83 * S6;
    const double dls = -6.40 * S1 - 1.89 * S6;
    const double dF =
        0.21 * S1 + 0.31 * S2 + 14.27 * S3 - 88.70 * S4 - 15.30 * S5 + 0.24 * S6 - 1.86 * S7;
    const double dD = dL0 - dls;

    MeanArguments a;
    a.g = -3.332e-6 * SineOfRevolutions(0.59734 - 5.37261 * T) -
          5.39e-7 * SineOfRevolutions(0.35498 - 5.37899 * T) -
          6.4e-8 * SineOfRevolutions(0.39943 - 5.37511 * T);

    // Mean arguments: the polynomial reduced to one revolution, then the
    // correction added without reducing again.
    const double T2 = T * T;
    a.L0 = TwoPi * FracPart(0.60643382 + 1336.85522467 * T - 0.00000313 * T2) +
           dL0 / ArcsecondsPerRadian;
    a.l = TwoPi * FracPart(0.37489701 + 1325.55240982 * T + 0.00002565 * T2) +
          dl / ArcsecondsPerRadian;
    a.ls = TwoPi * FracPart(0.99312619 + 99.99735956 * T - 0.00000044 * T2) +
           dls / ArcsecondsPerRadian;
    a.F = TwoPi * FracPart(0.25909118 + 1342.22782980 * T - 0.00000892 * T2) +
          dF / ArcsecondsPerRadian;
    a.D = TwoPi * FracPart(0.82736186 + 1236.85308708 * T - 0.00000397 * T2) +
          dD / ArcsecondsPerRadian;
    return a;
}

void FillTables(const MeanArguments& a, double T,
                double (&cosMultiple)[LunarSeries::MultipleRows][4],
                double (&sinMultiple)[LunarSeries::MultipleRows][4]) {
    FillColumn(cosMultiple, sinMultiple, 0, a.l, 1.000002208, 4);
    FillColumn(cosMultiple, sinMultiple, 1, a.ls, 0.997504612 - 0.002495388 * T, 3);
    FillColumn(cosMultiple, sinMultiple, 2, a.F, NodeFactor(a.g), 4);
    FillColumn(cosMultiple, sinMultiple, 3, a.D, 1.0, 6);
}

using MultipleTable = double[LunarSeries::MultipleRows][4];

// The term loop of the whole series is one long unrolled run; the small
// steps below are shared with the step-by-step calls and are always inlined
// into it, or the sums would leave the registers at every term.

// One step of a term's product: the running (x, y) times the column's
// multiple k; a multiplier 0 contributes nothing, not even its factor.
[[gnu::always_inline]] inline void MultiplyStep(const MultipleTable& c, const MultipleTable& s,
                                                int column, int k, double& x, double& y) {
    if (k != 0) {
        SinCosSum(x, y, c[k + LunarSeries::MultipleOffset][column],
                  s[k + LunarSeries::MultipleOffset][column], x, y);
    }
}

// The additions of one solar term, given its argument's cosine x and sine y:
// sine terms to the longitude and the argument of latitude, cosine terms to
// the amplitude of the latitude and the parallax. With Whole false only the
// longitude, for callers that need nothing else.
template <bool Whole>
[[gnu::always_inline]] inline void
AddSolarProduct(LunarSeries& series, const LunarSolarCoefficients& c, double x, double y) {
    series.longitudeSum += c.longitude * y;
    if constexpr (Whole) {
        series.latitudeArgumentSum += c.latitudeArgument * y;
        series.latitudeAmplitudeSum += c.latitudeAmplitude * x;
        series.parallaxSum += c.parallax * x;
    }
}

// x, y: cosine and sine of p·l + q·l′ + r·F + s·D, each scaled by the
// factors of the multiples used.
[[gnu::always_inline]] inline void TermProduct(const LunarSeries& series, int p, int q, int r,
                                               int s, double& x, double& y) {
    x = 1.0;
    y = 0.0;
    MultiplyStep(series.cosMultiple, series.sinMultiple, 0, p, x, y);
    MultiplyStep(series.cosMultiple, series.sinMultiple, 1, q, x, y);
    MultiplyStep(series.cosMultiple, series.sinMultiple, 2, r, x, y);
    MultiplyStep(series.cosMultiple, series.sinMultiple, 3, s, x, y);
}

// The series summed straight through, term after term in table order, each
// term's multipliers a constant, so that its steps through the multiple
// tables are fixed at compile time: the same operations, in the same order,
// as the step-by-step calls.
template <bool Whole, std::size_t Row>
[[gnu::always_inline]] inline void AddSolarRow(LunarSeries& series) {
    constexpr LunarArgumentKey k = LunarSolarKeys[Row];
    double x, y;
    TermProduct(series, k.p, k.q, k.r, k.s, x, y);
    AddSolarProduct<Whole>(series, LunarSolarCoefficientTable[Row], x, y);
}

template <std::size_t Row> [[gnu::always_inline]] inline void AddLatitudeRow(LunarSeries& series) {
    constexpr LunarLatitudeRow row = LunarLatitudeTable[Row];
    double x, y;
    TermProduct(series, row.key.p, row.key.q, row.key.r, row.key.s, x, y);
    series.latitudeSum += row.coefficient * y;
}

template <bool Whole, std::size_t... Rows>
void AddSolarRows(LunarSeries& series, std::index_sequence<Rows...>) {
    (AddSolarRow<Whole, Rows>(series), ...); // in table order
}

template <std::size_t... Rows>
void AddLatitudeRows(LunarSeries& series, std::index_sequence<Rows...>) {
    (AddLatitudeRow<Rows>(series), ...);
}

// Prepare, the 104 solar terms, with Whole the 10 latitude terms, and the
// planetary terms: everything that MoonEclipticPosition reads, or with Whole
// false everything that the longitude reads.
template <bool Whole> void SumSeries(LunarSeries& series, double T) {
    series.Prepare(T);
    AddSolarRows<Whole>(series, std::make_index_sequence<LunarSolarRowCount>{});
    if constexpr (Whole)
        AddLatitudeRows(series, std::make_index_sequence<LunarLatitudeRowCount>{});
    series.AddPlanetaryTerms(T);
}

} // namespace

void LunarSeries::Prepare(double T) {
    longitudeSum = 0.0;
    latitudeArgumentSum = 0.0;
    latitudeAmplitudeSum = 0.0;
    latitudeSum = 0.0;
    parallaxSum = 3422.7;

    const MeanArguments a = ComputeMeanArguments(T);
    inclinationPerturbation = a.g;
    meanLongitude = a.L0;
    moonAnomaly = a.l;
    sunAnomaly = a.ls;
    nodeDistance = a.F;
    elongation = a.D;
    FillTables(a, T, cosMultiple, sinMultiple);
}

void LunarSeries::TermCosSin(int p, int q, int r, int s, double& x, double& y) const {
    TermProduct(*this, p, q, r, s, x, y);
}

void LunarSeries::AddSolarTerm(double cLongitude, double cLatitudeArgument,
                               double cLatitudeAmplitude, double cParallax, int p, int q, int r,
                               int s) {
    double x = 0.0;
    double y = 0.0;
    TermCosSin(p, q, r, s, x, y);
    AddSolarProduct<true>(*this, {cLongitude, cLatitudeArgument, cLatitudeAmplitude, cParallax}, x,
                          y);
}

void LunarSeries::AddLatitudeTerm(double cN, int p, int q, int r, int s) {
    double x = 0.0;
    double y = 0.0;
    TermCosSin(p, q, r, s, x, y);
    latitudeSum += cN * y;
}

void LunarSeries::AddPlanetaryTerms(double T) {
    for (const PlanetaryTerm& term : PlanetaryTerms) {
        longitudeSum += term.c * SineOfRevolutions(term.a + term.b * T);
    }
}

double LunarSeries::Longitude() const {
    const double longitude = FloatModulo(meanLongitude + longitudeSum / ArcsecondsPerRadian, TwoPi);
    // A sum a hair below zero rounds up to a full turn in the reduction;
    // that is the direction 0.
    return longitude < TwoPi ? longitude : 0.0;
}

double LunarSeries::Latitude() const {
    const double S = nodeDistance + latitudeArgumentSum / ArcsecondsPerRadian;
    const double factor = NodeFactor(inclinationPerturbation);
    return (factor * (LatitudeAmplitude + latitudeAmplitudeSum) * std::sin(S) -
            6.24 * std::sin(3.0 * S) + latitudeSum) /
           ArcsecondsPerRadian;
}

double LunarSeries::Distance() const {
    return EarthRadiusKm * ArcsecondsPerRadian / (0.999953253 * parallaxSum);
}

// Prepare, the 104 solar and 10 latitude terms, the planetary terms, then
// distance, latitude and longitude, which only read the series.
Vector3 MoonEclipticPosition(double T) {
    LunarSeries series;
    SumSeries<true>(series, T);
    const double distance = series.Distance();
    const double latitude = series.Latitude();
    const double longitude = series.Longitude();
    return Vector3(SphericalCoord(longitude, latitude, distance));
}

double MoonEclipticLongitude(double T) {
    LunarSeries series;
    SumSeries<false>(series, T);
    return series.Longitude();
}

} // namespace toravel
