#include "lunar/delta_t.h"

#include <array>
#include <cmath>

#include "astro/constants.h"

namespace toravel {

void DeltaT(double T, double& seconds, bool& valid) {
    // One cubic in t (centuries from the start of its quarter century) per
    // quarter century, rows i = −7 … −1 (1825 … 2000): a compact fit to the
    // yearly ΔT observed over those years, as the astronomical almanacs
    // tabulate it. Against those values (Swiss Ephemeris's ΔT) it keeps
    // within 3.9 s up to 1990 and runs 9.4 s ahead at 2005, the end of the
    // extended last row; toravel-check-new-moons prints both figures.
    static constexpr double Rows[7][4] = {
        {10.4, -80.8, 413.9, -572.3},  // 1825–1850
        {6.6, 46.3, -358.4, 18.8},     // 1850–1875
        {-3.9, -10.8, -166.2, 867.4},  // 1875–1900
        {-2.6, 114.1, 327.5, -1467.4}, // 1900–1925
        {24.2, -6.3, -8.2, 483.4},     // 1925–1950
        {29.3, 32.5, -3.8, 550.7},     // 1950–1975
        {45.3, 130.5, -570.5, 1516.7}, // 1975–2000
    };
    if (T < -1.75 || T > 0.05) {
        valid = false;
        seconds = 0.0;
        return;
    }
    valid = true;
    int i = static_cast<int>(std::floor(4.0 * T));
    double t = T - i / 4.0;
    if (i == 0) { // the last quarter century is extended to 2005
        t += 0.25;
        i = -1;
    }
    const double* c = Rows[i + 7];
    seconds = ((c[3] * t + c[2]) * t + c[1]) * t + c[0];
}

namespace {

// Observed ΔT at the start of each year, seconds: ΔT = 32.184 s + (TAI − UTC)
// − (UT1 − UTC), from the IERS Earth orientation series as tabulated by the
// USNO. To update: append the value for 1 January of each new year (IERS
// Bulletin A or B gives UT1 − UTC; TAI − UTC is 37 s since 2017) and move
// LastObservedYear on; the join to the prediction follows by itself.
constexpr int FirstObservedYear = 2005;
constexpr std::array<double, 21> ObservedDeltaT = {
    64.69, 64.85, 65.15, 65.46, 65.78, // 2005–2009
    66.07, 66.32, 66.60, 66.91, 67.28, // 2010–2014
    67.64, 68.10, 68.59, 68.97, 69.22, // 2015–2019
    69.36, 69.36, 69.29, 69.20, 69.18, // 2020–2024
    69.14,                             // 2025
};
constexpr int LastObservedYear = FirstObservedYear + static_cast<int>(ObservedDeltaT.size()) - 1;
// The observations' slope into the last year, seconds per year.
constexpr double LastObservedRate =
    ObservedDeltaT[ObservedDeltaT.size() - 1] - ObservedDeltaT[ObservedDeltaT.size() - 2];

// The prediction after the observations: Morrison, Stephenson, Hohenkerk and
// Zawilski (2021), "Addendum 2020 to 'Measurement of the Earth's rotation:
// 720 BC to AD 2015'", Proc. R. Soc. A, doi:10.1098/rspa.2020.0776, with
// its tables at HM Nautical Almanac Office. Their long-term excess length of
// day, a steady braking (the tides less the rebound since the ice ages) and
// a fluctuation of 14 centuries,
//     lod = 1.72·t − 3.5·sin(2π(t + 0.75)/14) ms, t = (y − 1825)/100,
// integrated from the last epoch of their spline fit, 2019.0, where ΔT =
// 69.240 s. It predicts 69.77 s at 2030, 72.14 s at 2050 and 87.29 s at
// 2100; nobody knows the Earth's rotation of 2100 to the second, and their
// tables give it about 10 s of uncertainty.
constexpr double PredictionEpoch = 2019.0;
constexpr double PredictionEpochDeltaT = 69.240;
constexpr double LodFluctuationCenturies = 14.0;

// lod in milliseconds for the decimal year y.
double PredictedLod(double y) {
    const double t = (y - 1825.0) / 100.0;
    return 1.72 * t - 3.5 * std::sin(TwoPi * (t + 0.75) / LodFluctuationCenturies);
}

// The integral of lod over the years, seconds, up to a constant: 1 ms a
// day is 0.36525 s a Julian year, 36.525 s a century.
double IntegratedLod(double y) {
    const double t = (y - 1825.0) / 100.0;
    const double omega = TwoPi / LodFluctuationCenturies;
    return 36.525 * (1.72 / 2.0 * t * t + 3.5 / omega * std::cos(omega * (t + 0.75)));
}

double PredictedDeltaT(double y) {
    return PredictionEpochDeltaT + IntegratedLod(y) - IntegratedLod(PredictionEpoch);
}

// The prediction runs 0.32 s above the last observation and rises while
// the observations fall: a cubic takes the observed value and slope over
// into the prediction's value and slope within these years.
constexpr double JoinYears = 10.0;

double JoinedPrediction(double y) {
    const double s = y - LastObservedYear;
    double seconds = PredictedDeltaT(y);
    if (s < JoinYears) {
        const double u = s / JoinYears;
        const double valueGap = ObservedDeltaT.back() - PredictedDeltaT(LastObservedYear);
        const double rateGap = LastObservedRate - 0.36525 * PredictedLod(LastObservedYear);
        seconds += valueGap * (1.0 - u * u * (3.0 - 2.0 * u)) +
                   rateGap * JoinYears * u * (1.0 - u) * (1.0 - u);
    }
    return seconds;
}

// Espenak–Meeus polynomial expressions, y the decimal year before 2005.
double PolynomialDeltaT(double y) {
    if (y < -500.0) {
        const double u = (y - 1820.0) / 100.0;
        return -20.0 + 32.0 * u * u;
    }
    if (y < 500.0) {
        const double u = y / 100.0;
        return 10583.6 +
               u * (-1014.41 +
                    u * (33.78311 + u * (-5.952053 +
                                         u * (-0.1798452 + u * (0.022174192 + u * 0.0090316521)))));
    }
    if (y < 1600.0) {
        const double u = (y - 1000.0) / 100.0;
        return 1574.2 +
               u * (-556.01 +
                    u * (71.23472 + u * (0.319781 + u * (-0.8503463 +
                                                         u * (-0.005050998 + u * 0.0083572073)))));
    }
    if (y < 1700.0) {
        const double t = y - 1600.0;
        return 120.0 + t * (-0.9808 + t * (-0.01532 + t / 7129.0));
    }
    if (y < 1800.0) {
        const double t = y - 1700.0;
        return 8.83 + t * (0.1603 + t * (-0.0059285 + t * (0.00013336 - t / 1174000.0)));
    }
    if (y < 1860.0) {
        const double t = y - 1800.0;
        return 13.72 +
               t * (-0.332447 +
                    t * (0.0068612 +
                         t * (0.0041116 +
                              t * (-0.00037436 + t * (0.0000121272 +
                                                      t * (-0.0000001699 + t * 0.000000000875))))));
    }
    if (y < 1900.0) {
        const double t = y - 1860.0;
        return 7.62 + t * (0.5737 +
                           t * (-0.251754 + t * (0.01680668 + t * (-0.0004473624 + t / 233174.0))));
    }
    if (y < 1920.0) {
        const double t = y - 1900.0;
        return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
    }
    if (y < 1941.0) {
        const double t = y - 1920.0;
        return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
    }
    if (y < 1961.0) {
        const double t = y - 1950.0;
        return 29.07 + t * (0.407 + t * (-1.0 / 233.0 + t / 2547.0));
    }
    if (y < 1986.0) {
        const double t = y - 1975.0;
        return 45.45 + t * (1.067 + t * (-1.0 / 260.0 - t / 718.0));
    }
    const double t = y - 2000.0;
    return 63.86 +
           t * (0.3345 + t * (-0.060374 + t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
}

} // namespace

double ExtendedDeltaT(double T) {
    const double y = 2000.0 + 100.0 * T;
    if (y < FirstObservedYear) {
        return PolynomialDeltaT(y);
    }
    if (y < LastObservedYear) {
        const double position = y - FirstObservedYear;
        const int i = static_cast<int>(position);
        const double f = position - i;
        return ObservedDeltaT[i] + f * (ObservedDeltaT[i + 1] - ObservedDeltaT[i]);
    }
    return JoinedPrediction(y);
}

double SearchDeltaT(double T) {
    double seconds = 0.0;
    bool valid = false;
    DeltaT(T, seconds, valid);
    return valid ? seconds : ExtendedDeltaT(T);
}

} // namespace toravel
