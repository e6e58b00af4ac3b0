// Accuracy of the new-moon table against Swiss Ephemeris.
//
// For every birth year in the range (default 1900–2100) the 14 new moons of
// ComputeNewMoonsOfYear, with both clock offsets 0, are compared with the
// moment at which the apparent geocentric ecliptic longitudes of the Moon and
// the Sun of Swiss Ephemeris are equal, in universal time. Prints the largest
// and the rms difference in seconds and the share of entries that equal the
// reference rounded to the minute; also the same for the unrounded roots,
// which tell the theory's error from the rounding's.
//
// First it prints the ΔT both sides apply: this program's at a few years of
// the prediction, and how far the compact quarter-century table of 1825–2005
// lies from Swiss Ephemeris's ΔT (the almanacs' observed values) there.
//
//   toravel-check-new-moons [first-year last-year]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <swephexp.h>

#include "astro/constants.h"
#include "lunar/calculation_state.h"
#include "lunar/delta_t.h"
#include "lunar/new_moon_search.h"
#include "lunar/working_stream.h"

#ifndef TORAVEL_SWE_DATA_DIR
#error "TORAVEL_SWE_DATA_DIR must name the Swiss Ephemeris data directory"
#endif

namespace {

using namespace toravel;

constexpr double TDateTimeToJd = 2415018.5; // Julian date of 30.12.1899 0h

double ApparentLongitude(double jdUt, int body) {
    double xx[6];
    char error[AS_MAXCH];
    const int flags = SEFLG_SWIEPH;
    const int got = swe_calc_ut(jdUt, body, flags, xx, error);
    if (got < 0 || (got & SEFLG_SWIEPH) == 0) {
        std::fprintf(stderr, "Swiss Ephemeris fell back or failed at JD %.5f: %s\n", jdUt, error);
        std::exit(1);
    }
    return xx[0];
}

// Elongation of the Moon from the Sun in degrees, reduced to [−180, 180).
double Elongation(double jdUt) {
    double d = ApparentLongitude(jdUt, SE_MOON) - ApparentLongitude(jdUt, SE_SUN);
    d = std::fmod(d + 540.0, 360.0) - 180.0;
    return d;
}

// The reference new moon nearest to jdUt, by the secant method.
double ReferenceNewMoon(double jdUt) {
    double x0 = jdUt - 0.1, x1 = jdUt + 0.1;
    double f0 = Elongation(x0), f1 = Elongation(x1);
    for (int i = 0; i < 50 && std::fabs(x1 - x0) > 1e-9; ++i) {
        const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
        x0 = x1;
        f0 = f1;
        x1 = x2;
        f1 = Elongation(x1);
    }
    return x1;
}

// Our unrounded new moon in universal time near jdUt; with the reference's
// own ΔT when referenceDeltaT is set, so that only the theories differ.
double OwnNewMoon(double jdUt, bool referenceDeltaT) {
    PhaseQuarter = 0;
    const double T = (jdUt - 2400000.5 - MjdJ2000) / 36525.0;
    const double halfDay = 0.5 / 36525.0;
    double root = T;
    bool success = false;
    PegasusRoot(MoonSunElongation, T - halfDay, T + halfDay, 1e-12, root, success);
    const double jdTt = root * 36525.0 + MjdJ2000 + 2400000.5;
    if (referenceDeltaT) {
        return jdTt - swe_deltat(jdTt); // ΔT varies by far less than a second a day
    }
    return jdTt - SearchDeltaT(root) / 86400.0;
}

// Swiss Ephemeris's ΔT in seconds at a decimal year of universal time.
double ReferenceDeltaT(double year) {
    const double jdUt = 2451545.0 + (year - 2000.0) * 365.25;
    return swe_deltat(jdUt) * 86400.0;
}

double CenturiesOfYear(double year) {
    return (year - 2000.0) / 100.0;
}

// The largest |compact table − reference| over [from, to), sampled monthly.
double LargestTableDifference(double from, double to, double& where) {
    double largest = 0.0;
    for (double year = from; year < to; year += 1.0 / 12.0) {
        double seconds = 0.0;
        bool valid = false;
        DeltaT(CenturiesOfYear(year), seconds, valid);
        const double difference = std::fabs(seconds - ReferenceDeltaT(year));
        if (valid && difference > largest) {
            largest = difference;
            where = year;
        }
    }
    return largest;
}

void PrintDeltaT() {
    std::printf("ΔT, s:");
    for (double year : {2025.0, 2030.0, 2050.0, 2100.0}) {
        std::printf("  %.0f: %.2f (Swiss Ephemeris %.2f)", year,
                    SearchDeltaT(CenturiesOfYear(year)), ReferenceDeltaT(year));
    }
    std::printf("\n");
    double where = 0.0;
    const double early = LargestTableDifference(1825.0, 1990.0, where);
    std::printf("compact table − Swiss Ephemeris: 1825–1990 max |diff| %.2f s (at %.1f)", early,
                where);
    const double late = LargestTableDifference(1990.0, 2005.0, where);
    std::printf(", 1990–2005 max |diff| %.2f s (at %.1f)\n", late, where);
}

struct Stats {
    double maxAbs = 0.0, sumSquares = 0.0;
    long count = 0, sameMinute = 0;
    void Add(double seconds, bool same) {
        maxAbs = std::fmax(maxAbs, std::fabs(seconds));
        sumSquares += seconds * seconds;
        ++count;
        sameMinute += same ? 1 : 0;
    }
    double Rms() const { return std::sqrt(sumSquares / count); }
};

} // namespace

int main(int argc, char** argv) {
    const int firstYear = argc > 2 ? std::atoi(argv[1]) : 1900;
    const int lastYear = argc > 2 ? std::atoi(argv[2]) : 2100;
    swe_set_ephe_path(const_cast<char*>(TORAVEL_SWE_DATA_DIR));

    PrintDeltaT();

    SetLunarWorkingStream(&DiscardingStream());
    CalculationState& state = SharedCalculationState();
    state.ComputerZoneOffset = 0.0;
    state.ZoneOffsetDays = 0.0;

    Stats table, raw, theory;
    double worstJd = 0.0;
    for (int year = firstYear; year <= lastYear; ++year) {
        ComputeNewMoonsOfYear(year);
        for (const TDateTime entry : state.NewMoonTable) {
            const double entryJd = entry + TDateTimeToJd;
            const double reference = ReferenceNewMoon(entryJd);
            const double referenceMinute = std::round(reference * 1440.0) / 1440.0;
            const double difference = (entryJd - reference) * 86400.0;
            const bool same = std::fabs(entryJd - referenceMinute) * 86400.0 < 1.0;
            if (std::fabs(difference) > table.maxAbs) {
                worstJd = reference;
            }
            table.Add(difference, same);
            raw.Add((OwnNewMoon(reference, false) - reference) * 86400.0, false);
            theory.Add((OwnNewMoon(reference, true) - reference) * 86400.0, false);
        }
    }
    std::printf("new moons %d-%d: %ld entries\n", firstYear, lastYear, table.count);
    std::printf("table (rounded to the minute): max |diff| %.1f s (at JD %.5f), rms %.1f s, "
                "same minute as the reference %.2f %%\n",
                table.maxAbs, worstJd, table.Rms(), 100.0 * table.sameMinute / table.count);
    std::printf("unrounded roots: max |diff| %.1f s, rms %.1f s\n", raw.maxAbs, raw.Rms());
    std::printf("unrounded roots with the reference's own ΔT: max |diff| %.1f s, rms %.1f s\n",
                theory.maxAbs, theory.Rms());
    swe_close();
    return 0;
}
