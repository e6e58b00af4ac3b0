#include "tools/fit_lunar_series/lunar_fit.h"

#include <swephexp.h>

#include <Eigen/Dense>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "astro/angles.h"
#include "astro/constants.h"

namespace toravel::lunarfit {
namespace {

constexpr double KmPerAu = 149597870.7;
constexpr double LatitudeAmplitude = 18519.699999999997;
constexpr double ParallaxStart = 3422.7;

// The theory's own rows: place (1-based, as listed) and coefficients.
struct GivenRow {
    int place;
    LunarSolarCoefficients c;
    LunarArgumentKey key; // checked against LunarSolarKeys
};
constexpr GivenRow GivenRows[] = {
    {1, {13.902, 14.06, -0.001, 0.2607}, {0, 0, 0, 4}},
    {3, {2369.912, 2373.36, 0.601, 28.2333}, {0, 0, 0, 2}},
    {4, {-125.154, -112.79, -0.725, -0.9781}, {0, 0, 0, 1}},
    {6, {191.953, 192.72, 0.029, 3.0861}, {1, 0, 0, 2}},
    {8, {22639.5, 22609.07, 0.079, 186.5398}, {1, 0, 0, 0}},
    {10, {-4586.465, -4578.13, -0.077, 34.3117}, {1, 0, 0, -2}},
    {17, {-668.146, -126.98, -1.302, -0.3997}, {0, 1, 0, 0}},
    {19, {-165.145, -165.06, 0.054, 1.9178}, {0, 1, 0, -2}},
    {24, {769.016, 767.96, 0.107, 10.1657}, {2, 0, 0, 0}},
    {26, {-211.656, -152.53, 5.679, -0.3039}, {2, 0, 0, -2}},
    {32, {-109.673, -115.18, 0.461, -0.949}, {1, 1, 0, 0}},
    {33, {-205.962, -182.36, 2.056, 1.4437}, {1, 1, 0, -2}},
    {38, {147.687, 138.76, 0.679, 1.1528}, {1, -1, 0, 0}},
    {48, {-411.608, -0.2, 0, -0.0124}, {0, 0, 2, 0}},
    {50, {-55.173, -52.14, 0, -0.1052}, {0, 0, 2, -2}},
    {104, {-0.33, -0.04, 0, 0}, {3, 0, 2, 0}},
};

// The theory states that nine rows have cP = 0 and three have cS = 0; the
// given rows account for one cP zero (row 104) and no cS zero.
constexpr int ParallaxZeroRows = 9;
constexpr int ArgumentZeroRows = 3;

// Gauss–Newton on the latitude: iterations and the step that ends them.
constexpr int LatitudeIterations = 10;
constexpr double LatitudeStepTolerance = 1e-10; // arcseconds

bool HasNode(int row) {
    return LunarSolarKeys[row].r != 0;
}

double WrappedRadians(double a) {
    const double w = std::remainder(a, TwoPi);
    return w;
}

// The cosines (x) and sines (y) of every solar term at one T, with the
// series prepared for it.
struct TermBasis {
    double x[LunarSolarRowCount];
    double y[LunarSolarRowCount];
};

void PrepareBasis(LunarSeries& series, double T, TermBasis& basis) {
    series.Prepare(T);
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        const LunarArgumentKey& k = LunarSolarKeys[i];
        series.TermCosSin(k.p, k.q, k.r, k.s, basis.x[i], basis.y[i]);
    }
}

// Further latitude terms and planetary terms on a freshly prepared series.
void AddFixedTables(LunarSeries& series, double T) {
    for (const LunarLatitudeRow& row : LunarLatitudeTable) {
        series.AddLatitudeTerm(row.coefficient, row.key.p, row.key.q, row.key.r, row.key.s);
    }
    series.AddPlanetaryTerms(T);
}

double ParallaxFromDistance(double km) {
    return EarthRadiusKm * ArcsecondsPerRadian / (0.999953253 * km);
}

// Least squares min |A u − b|² with optional equality constraints C u = d,
// accumulated as normal equations (scaled by the number of rows, so that the
// constraint rows are of the same size in the bordered system).
class LeastSquares {
public:
    explicit LeastSquares(int unknowns)
        : normal_(Eigen::MatrixXd::Zero(unknowns, unknowns)), rhs_(Eigen::VectorXd::Zero(unknowns)),
          block_(BlockRows, unknowns), blockRhs_(BlockRows) {}

    void AddRow(const double* a, double b) {
        for (Eigen::Index j = 0; j < block_.cols(); ++j)
            block_(fill_, j) = a[j];
        blockRhs_(fill_) = b;
        if (++fill_ == BlockRows)
            Flush();
        ++rows_;
    }

    void AddConstraint(const double* a, double d) {
        constraints_.emplace_back(a, a + normal_.cols());
        targets_.push_back(d);
    }

    Eigen::VectorXd Solve() {
        Flush();
        const Eigen::Index n = normal_.cols();
        const double scale = rows_ > 0 ? 1.0 / static_cast<double>(rows_) : 1.0;
        Eigen::MatrixXd N = normal_.selfadjointView<Eigen::Lower>();
        N *= scale;
        const Eigen::VectorXd r = rhs_ * scale;
        if (constraints_.empty())
            return N.ldlt().solve(r);
        const Eigen::Index m = static_cast<Eigen::Index>(constraints_.size());
        Eigen::MatrixXd K = Eigen::MatrixXd::Zero(n + m, n + m);
        Eigen::VectorXd k = Eigen::VectorXd::Zero(n + m);
        K.topLeftCorner(n, n) = N;
        k.head(n) = r;
        for (Eigen::Index c = 0; c < m; ++c) {
            for (Eigen::Index j = 0; j < n; ++j) {
                K(n + c, j) = constraints_[static_cast<size_t>(c)][static_cast<size_t>(j)];
                K(j, n + c) = K(n + c, j);
            }
            k(n + c) = targets_[static_cast<size_t>(c)];
        }
        return K.fullPivLu().solve(k).head(n);
    }

private:
    static constexpr Eigen::Index BlockRows = 512;

    void Flush() {
        if (fill_ == 0)
            return;
        const auto a = block_.topRows(fill_);
        normal_.selfadjointView<Eigen::Lower>().rankUpdate(a.transpose());
        rhs_.noalias() += a.transpose() * blockRhs_.head(fill_);
        fill_ = 0;
    }

    Eigen::MatrixXd normal_;
    Eigen::VectorXd rhs_;
    Eigen::MatrixXd block_;
    Eigen::VectorXd blockRhs_;
    Eigen::Index fill_ = 0;
    long rows_ = 0;
    std::vector<std::vector<double>> constraints_;
    std::vector<double> targets_;
};

// The table with every free coefficient of one channel cleared.
SolarTable FixedPart(const SolarTable& table) {
    SolarTable fixed = table;
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        if (!IsGivenRow(i))
            fixed[static_cast<size_t>(i)] = {0.0, 0.0, 0.0, 0.0};
    }
    return fixed;
}

std::vector<int> Rows(bool (*keep)(int, const TableStructure&), const TableStructure& s) {
    std::vector<int> rows;
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        if (!IsGivenRow(i) && keep(i, s))
            rows.push_back(i);
    }
    return rows;
}

// Longitude: dλ − (given rows + planetary) = Σ free cλ·y.
void FitLongitude(const std::vector<EphemerisSample>& samples, bool constrained,
                  SolarTable& table) {
    const std::vector<int> rows = Rows([](int, const TableStructure&) { return true; }, {});
    const SolarTable fixed = FixedPart(table);
    LeastSquares ls(static_cast<int>(rows.size()));
    std::vector<double> a(rows.size());
    auto rowAt = [&](double T, double targetSum, bool isConstraint) {
        LunarSeries series;
        TermBasis basis;
        PrepareBasis(series, T, basis);
        series.AddPlanetaryTerms(T);
        double known = series.longitudeSum;
        for (int i = 0; i < LunarSolarRowCount; ++i)
            known += fixed[static_cast<size_t>(i)].longitude * basis.y[i];
        for (size_t j = 0; j < rows.size(); ++j)
            a[j] = basis.y[rows[j]];
        if (isConstraint) {
            ls.AddConstraint(a.data(), targetSum - known);
        } else {
            ls.AddRow(a.data(), targetSum - known);
        }
    };
    auto sumFromLongitude = [](double T, double longitude) {
        LunarSeries series;
        series.Prepare(T);
        return WrappedRadians(longitude - series.meanLongitude) * ArcsecondsPerRadian;
    };
    for (const EphemerisSample& s : samples)
        rowAt(s.T, sumFromLongitude(s.T, s.longitude), false);
    if (constrained) {
        for (const CheckValue& c : CheckValues()) {
            if (!c.constraint)
                continue;
            if (c.quantity == Quantity::LongitudeSum)
                rowAt(c.T, c.value, true);
            if (c.quantity == Quantity::Longitude)
                rowAt(c.T, sumFromLongitude(c.T, c.value), true);
        }
    }
    const Eigen::VectorXd u = ls.Solve();
    for (size_t j = 0; j < rows.size(); ++j)
        table[static_cast<size_t>(rows[j])].longitude = u(static_cast<Eigen::Index>(j));
}

// Parallax: P − 3422.7 − given rows = Σ free cP·x.
void FitParallax(const std::vector<EphemerisSample>& samples, const TableStructure& structure,
                 bool constrained, SolarTable& table) {
    const std::vector<int> rows =
        Rows([](int i, const TableStructure& s) { return !s.parallaxZero[static_cast<size_t>(i)]; },
             structure);
    const SolarTable fixed = FixedPart(table);
    LeastSquares ls(static_cast<int>(rows.size()));
    std::vector<double> a(rows.size());
    auto rowAt = [&](double T, double parallax, bool isConstraint) {
        LunarSeries series;
        TermBasis basis;
        PrepareBasis(series, T, basis);
        double known = ParallaxStart;
        for (int i = 0; i < LunarSolarRowCount; ++i)
            known += fixed[static_cast<size_t>(i)].parallax * basis.x[i];
        for (size_t j = 0; j < rows.size(); ++j)
            a[j] = basis.x[rows[j]];
        if (isConstraint) {
            ls.AddConstraint(a.data(), parallax - known);
        } else {
            ls.AddRow(a.data(), parallax - known);
        }
    };
    for (const EphemerisSample& s : samples)
        rowAt(s.T, ParallaxFromDistance(s.distanceKm), false);
    if (constrained) {
        for (const CheckValue& c : CheckValues()) {
            if (!c.constraint)
                continue;
            if (c.quantity == Quantity::ParallaxSum)
                rowAt(c.T, c.value, true);
            if (c.quantity == Quantity::Distance)
                rowAt(c.T, ParallaxFromDistance(c.value), true);
        }
    }
    const Eigen::VectorXd u = ls.Solve();
    for (size_t i = 0; i < LunarSolarRowCount; ++i) {
        if (!IsGivenRow(static_cast<int>(i)))
            table[i].parallax = 0.0;
    }
    for (size_t j = 0; j < rows.size(); ++j)
        table[static_cast<size_t>(rows[j])].parallax = u(static_cast<Eigen::Index>(j));
}

// Latitude: cS (rows not held at zero) and cγ (rows without F) together by
// Gauss–Newton on β in arcseconds, linearised about the current table.
void FitLatitude(const std::vector<EphemerisSample>& samples, const TableStructure& structure,
                 bool constrained, SolarTable& table) {
    const std::vector<int> argRows =
        Rows([](int i, const TableStructure& s) { return !s.argumentZero[static_cast<size_t>(i)]; },
             structure);
    const std::vector<int> ampRows =
        Rows([](int i, const TableStructure&) { return !HasNode(i); }, {});
    const size_t n = argRows.size() + ampRows.size();
    for (size_t i = 0; i < LunarSolarRowCount; ++i) {
        if (!IsGivenRow(static_cast<int>(i))) {
            table[i].latitudeArgument = 0.0;
            table[i].latitudeAmplitude = 0.0;
        }
    }
    std::vector<double> a(n);
    for (int iteration = 0; iteration < LatitudeIterations; ++iteration) {
        LeastSquares ls(static_cast<int>(n));
        // Fills a with ∂β″/∂u at T and returns β″ − a·u for the current table,
        // so that a·u_new ≈ β″_target − that value.
        auto linearise = [&](double T, double& offset) {
            LunarSeries series;
            TermBasis basis;
            PrepareBasis(series, T, basis);
            AddFixedTables(series, T);
            double dS = 0.0, dGamma = 0.0;
            for (int i = 0; i < LunarSolarRowCount; ++i) {
                dS += table[static_cast<size_t>(i)].latitudeArgument * basis.y[i];
                dGamma += table[static_cast<size_t>(i)].latitudeAmplitude * basis.x[i];
            }
            series.latitudeArgumentSum = dS;
            series.latitudeAmplitudeSum = dGamma;
            const double beta = series.Latitude() * ArcsecondsPerRadian;
            const double S = series.nodeDistance + dS / ArcsecondsPerRadian;
            const double f = 1.000002708 + 139.978 * series.inclinationPerturbation;
            const double dBetaDdS =
                (f * (LatitudeAmplitude + dGamma) * std::cos(S) - 3.0 * 6.24 * std::cos(3.0 * S)) /
                ArcsecondsPerRadian;
            const double dBetaDdGamma = f * std::sin(S);
            double au = 0.0;
            size_t j = 0;
            for (int row : argRows) {
                a[j] = dBetaDdS * basis.y[row];
                au += a[j] * table[static_cast<size_t>(row)].latitudeArgument;
                ++j;
            }
            for (int row : ampRows) {
                a[j] = dBetaDdGamma * basis.x[row];
                au += a[j] * table[static_cast<size_t>(row)].latitudeAmplitude;
                ++j;
            }
            offset = beta - au;
        };
        for (const EphemerisSample& s : samples) {
            double offset = 0.0;
            linearise(s.T, offset);
            ls.AddRow(a.data(), s.latitude * ArcsecondsPerRadian - offset);
        }
        if (constrained) {
            for (const CheckValue& c : CheckValues()) {
                if (!c.constraint)
                    continue;
                if (c.quantity == Quantity::Latitude) {
                    double offset = 0.0;
                    linearise(c.T, offset);
                    ls.AddConstraint(a.data(), c.value * ArcsecondsPerRadian - offset);
                } else if (c.quantity == Quantity::ArgumentSum ||
                           c.quantity == Quantity::AmplitudeSum) {
                    // Linear in the coefficients: the sum's own basis row.
                    const bool argument = c.quantity == Quantity::ArgumentSum;
                    LunarSeries series;
                    TermBasis basis;
                    PrepareBasis(series, c.T, basis);
                    double known = 0.0;
                    for (int i = 0; i < LunarSolarRowCount; ++i) {
                        if (!IsGivenRow(i))
                            continue;
                        known += argument
                                     ? table[static_cast<size_t>(i)].latitudeArgument * basis.y[i]
                                     : table[static_cast<size_t>(i)].latitudeAmplitude * basis.x[i];
                    }
                    size_t j = 0;
                    for (int row : argRows)
                        a[j++] = argument ? basis.y[row] : 0.0;
                    for (int row : ampRows)
                        a[j++] = argument ? 0.0 : basis.x[row];
                    ls.AddConstraint(a.data(), c.value - known);
                }
            }
        }
        const Eigen::VectorXd u = ls.Solve();
        double step = 0.0;
        size_t j = 0;
        for (int row : argRows) {
            double& c = table[static_cast<size_t>(row)].latitudeArgument;
            step = std::max(step, std::abs(u(static_cast<Eigen::Index>(j)) - c));
            c = u(static_cast<Eigen::Index>(j++));
        }
        for (int row : ampRows) {
            double& c = table[static_cast<size_t>(row)].latitudeAmplitude;
            step = std::max(step, std::abs(u(static_cast<Eigen::Index>(j)) - c));
            c = u(static_cast<Eigen::Index>(j++));
        }
        if (step < LatitudeStepTolerance)
            break;
    }
}

SolarTable Fit(const std::vector<EphemerisSample>& samples, const TableStructure& structure,
               bool constrained) {
    SolarTable table = GivenRowsOnly();
    FitLongitude(samples, constrained, table);
    FitParallax(samples, structure, constrained, table);
    FitLatitude(samples, structure, constrained, table);
    return table;
}

// The `count` free rows whose coefficient has the smallest magnitude: a
// term of amplitude |c| moves its channel by at most about |c|.
std::vector<int> SmallestRows(const SolarTable& table, double LunarSolarCoefficients::*member,
                              int count) {
    std::vector<int> rows;
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        if (!IsGivenRow(i))
            rows.push_back(i);
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        return std::abs(table[static_cast<size_t>(a)].*member) <
               std::abs(table[static_cast<size_t>(b)].*member);
    });
    rows.resize(static_cast<size_t>(count));
    return rows;
}

int GivenZeros(double LunarSolarCoefficients::*member) {
    int zeros = 0;
    for (const GivenRow& g : GivenRows)
        zeros += (g.c.*member == 0.0) ? 1 : 0;
    return zeros;
}

std::string KeyText(int row) {
    const LunarArgumentKey& k = LunarSolarKeys[row];
    std::ostringstream out;
    out << '(' << k.p << ", " << k.q << ", " << k.r << ", " << k.s << ')';
    return out.str();
}

} // namespace

EphemerisSample ReferenceMoon(double T) {
    static const bool pathSet = [] {
        swe_set_ephe_path(TORAVEL_SWE_DATA_DIR);
        return true;
    }();
    (void)pathSet;
    const int32 flags = SEFLG_SWIEPH | SEFLG_TRUEPOS | SEFLG_NONUT | SEFLG_NOABERR | SEFLG_NOGDEFL;
    double xx[6] = {};
    char error[AS_MAXCH] = {};
    const double jdTT = 2451545.0 + 36525.0 * T;
    const int32 returned = swe_calc(jdTT, SE_MOON, flags, xx, error);
    if (returned < 0 || (returned & SEFLG_SWIEPH) == 0 || (returned & SEFLG_MOSEPH) != 0) {
        std::ostringstream out;
        out.imbue(std::locale::classic());
        out.precision(17);
        out << "Swiss Ephemeris did not answer from its files at JD(TT) " << jdTT << " (flags "
            << returned << "): " << error;
        throw std::runtime_error(out.str());
    }
    return {T, xx[0] * RadiansPerDegree, xx[1] * RadiansPerDegree, xx[2] * KmPerAu};
}

std::vector<EphemerisSample> SampleEphemeris(double tBegin, double tEnd, int count, double phase) {
    std::vector<EphemerisSample> samples;
    samples.reserve(static_cast<size_t>(count));
    for (int j = 0; j < count; ++j) {
        samples.push_back(ReferenceMoon(tBegin + (tEnd - tBegin) * (j + phase) / count));
    }
    return samples;
}

bool IsGivenRow(int row) {
    for (const GivenRow& g : GivenRows) {
        if (g.place - 1 == row)
            return true;
    }
    return false;
}

SolarTable GivenRowsOnly() {
    SolarTable table{};
    for (const GivenRow& g : GivenRows) {
        const LunarArgumentKey& k = LunarSolarKeys[g.place - 1];
        if (k.p != g.key.p || k.q != g.key.q || k.r != g.key.r || k.s != g.key.s) {
            throw std::logic_error("given row " + std::to_string(g.place) +
                                   " does not match its key");
        }
        table[static_cast<size_t>(g.place - 1)] = g.c;
    }
    return table;
}

SeriesResult EvaluateSeries(const SolarTable& table, double T) {
    LunarSeries series;
    series.Prepare(T);
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        const LunarSolarCoefficients& c = table[static_cast<size_t>(i)];
        const LunarArgumentKey& k = LunarSolarKeys[i];
        series.AddSolarTerm(c.longitude, c.latitudeArgument, c.latitudeAmplitude, c.parallax, k.p,
                            k.q, k.r, k.s);
    }
    AddFixedTables(series, T);
    SeriesResult r;
    r.longitudeSum = series.longitudeSum;
    r.argumentSum = series.latitudeArgumentSum;
    r.amplitudeSum = series.latitudeAmplitudeSum;
    r.parallaxSum = series.parallaxSum;
    r.distance = series.Distance();
    r.latitude = series.Latitude();
    r.longitude = series.Longitude();
    return r;
}

const std::vector<CheckValue>& CheckValues() {
    static const std::vector<CheckValue> values = {
        {"dλ(0)", 0.0, Quantity::LongitudeSum, 17990.0829, true},
        {"dS(0)", 0.0, Quantity::ArgumentSum, 17805.4213, true},
        {"dγ(0)", 0.0, Quantity::AmplitudeSum, 0.1325, true},
        {"P(0)", 0.0, Quantity::ParallaxSum, 3269.1913, true},
        {"λ(0)", 0.0, Quantity::Longitude, 3.89765021, false},
        {"β(0)", 0.0, Quantity::Latitude, 0.09024960, false},
        {"R(0)", 0.0, Quantity::Distance, 402437.96, false},
        {"λ(+0.1)", 0.1, Quantity::Longitude, 1.80166782, true},
        {"β(+0.1)", 0.1, Quantity::Latitude, 0.01263909, true},
        {"R(+0.1)", 0.1, Quantity::Distance, 359358.96, true},
        {"λ(−0.1)", -0.1, Quantity::Longitude, 5.69928767, true},
        {"β(−0.1)", -0.1, Quantity::Latitude, 0.01529615, true},
        {"R(−0.1)", -0.1, Quantity::Distance, 380714.60, true},
    };
    return values;
}

double CheckDistance(const SolarTable& table, const CheckValue& check) {
    const SeriesResult r = EvaluateSeries(table, check.T);
    switch (check.quantity) {
    case Quantity::LongitudeSum:
        return r.longitudeSum - check.value;
    case Quantity::ArgumentSum:
        return r.argumentSum - check.value;
    case Quantity::AmplitudeSum:
        return r.amplitudeSum - check.value;
    case Quantity::ParallaxSum:
        return r.parallaxSum - check.value;
    case Quantity::Longitude:
        return WrappedRadians(r.longitude - check.value) * ArcsecondsPerRadian;
    case Quantity::Latitude:
        return (r.latitude - check.value) * ArcsecondsPerRadian;
    case Quantity::Distance:
        return r.distance - check.value;
    }
    return 0.0;
}

FitOutcome FitSolarTable(const std::vector<EphemerisSample>& samples) {
    FitOutcome outcome;
    const SolarTable open = Fit(samples, outcome.structure, false);
    std::ostringstream note;
    note.imbue(std::locale::classic());
    const int parallaxCount = ParallaxZeroRows - GivenZeros(&LunarSolarCoefficients::parallax);
    const int argumentCount =
        ArgumentZeroRows - GivenZeros(&LunarSolarCoefficients::latitudeArgument);
    note
        << "held at 0, the free rows with the smallest coefficient in a first fit with all open:\n";
    note << "  cP:";
    for (int row : SmallestRows(open, &LunarSolarCoefficients::parallax, parallaxCount)) {
        outcome.structure.parallaxZero[static_cast<size_t>(row)] = true;
        note << ' ' << row + 1 << ' ' << KeyText(row) << " ("
             << FormatFixed(open[static_cast<size_t>(row)].parallax, 4) << "″)";
    }
    note << "\n  cS:";
    for (int row : SmallestRows(open, &LunarSolarCoefficients::latitudeArgument, argumentCount)) {
        outcome.structure.argumentZero[static_cast<size_t>(row)] = true;
        note << ' ' << row + 1 << ' ' << KeyText(row) << " ("
             << FormatFixed(open[static_cast<size_t>(row)].latitudeArgument, 4) << "″)";
    }
    note << '\n';
    outcome.structureNote = note.str();
    outcome.free = Fit(samples, outcome.structure, false);
    outcome.constrained = Fit(samples, outcome.structure, true);
    return outcome;
}

Residuals MeasureResiduals(const SolarTable& table, const std::vector<EphemerisSample>& samples,
                           double tMin, double tMax) {
    Residuals r;
    double sl = 0.0, sb = 0.0, sr = 0.0;
    for (const EphemerisSample& s : samples) {
        if (s.T < tMin || s.T > tMax)
            continue;
        const SeriesResult m = EvaluateSeries(table, s.T);
        const double dl = WrappedRadians(m.longitude - s.longitude) * ArcsecondsPerRadian;
        const double db = (m.latitude - s.latitude) * ArcsecondsPerRadian;
        const double dr = m.distance - s.distanceKm;
        sl += dl * dl;
        sb += db * db;
        sr += dr * dr;
        r.longitude.max = std::max(r.longitude.max, std::abs(dl));
        r.latitude.max = std::max(r.latitude.max, std::abs(db));
        r.distance.max = std::max(r.distance.max, std::abs(dr));
        ++r.count;
    }
    if (r.count > 0) {
        r.longitude.rms = std::sqrt(sl / r.count);
        r.latitude.rms = std::sqrt(sb / r.count);
        r.distance.rms = std::sqrt(sr / r.count);
    }
    return r;
}

std::string FormatFixed(double value, int decimals) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        throw std::runtime_error("number too long to print");
    std::string text(buffer, result.ptr);
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-')
        text.erase(0, 1); // no "-0.000000"
    return text;
}

SolarTable RoundedForPrinting(const SolarTable& table) {
    SolarTable rounded = table;
    for (LunarSolarCoefficients& c : rounded) {
        for (double* v : {&c.longitude, &c.latitudeArgument, &c.latitudeAmplitude, &c.parallax}) {
            const std::string text = FormatFixed(*v, 6);
            double back = 0.0;
            std::from_chars(text.data(), text.data() + text.size(), back);
            *v = back;
        }
    }
    return rounded;
}

std::string GeneratedSource(const SolarTable& table, const TableStructure& structure,
                            const std::string& command) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << "// Generated by tools/fit_lunar_series, do not edit; regenerate from the repository "
           "root with: "
        << command << "\n"
        << "//\n"
        << "// The Moon's solar perturbation terms: cλ, cS (times the term's sine), cγ, cP\n"
        << "// (times its cosine), arcseconds, row for row in the order of LunarSolarKeys\n"
        << "// (astro/lunar_theory.h). Rows marked \"given\" are the theory's own, copied\n"
        << "// unchanged. The others are a least-squares fit to the geometric Moon of the\n"
        << "// Swiss Ephemeris files (ecliptic and mean equinox of date, TT) over\n"
        << "// 1800-2200, holding the series' check values at T = 0 and T = +-0.1\n"
        << "// exactly; cγ is 0 on every row with F, and rows marked \"cP 0\" / \"cS 0\"\n"
        << "// hold that coefficient at 0 (the smallest ones of a first, open fit).\n"
        << "#pragma once\n\n"
        << "#include \"astro/lunar_theory.h\"\n\n"
        << "namespace toravel {\n\n"
        << "inline constexpr LunarSolarCoefficients LunarSolarCoefficientTable[LunarSolarRowCount] "
           "= {\n"
        << "    //        cλ            cS           cγ           cP      place (p, q, r, s)\n";
    auto column = [](double v, size_t width) {
        std::string t = FormatFixed(v, 6);
        if (t.size() < width)
            t.insert(0, width - t.size(), ' ');
        return t;
    };
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        const LunarSolarCoefficients& c = table[static_cast<size_t>(i)];
        std::string place = std::to_string(i + 1);
        place.insert(0, 3 - place.size(), ' ');
        out << "    {" << column(c.longitude, 13) << ", " << column(c.latitudeArgument, 12) << ", "
            << column(c.latitudeAmplitude, 10) << ", " << column(c.parallax, 11) << "},  // "
            << place << ' ' << KeyText(i);
        if (IsGivenRow(i))
            out << " given";
        if (structure.parallaxZero[static_cast<size_t>(i)])
            out << " cP 0";
        if (structure.argumentZero[static_cast<size_t>(i)])
            out << " cS 0";
        out << '\n';
    }
    out << "};\n\n}  // namespace toravel\n";
    return out.str();
}

} // namespace toravel::lunarfit
