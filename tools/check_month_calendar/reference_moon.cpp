#include "tools/check_month_calendar/reference_moon.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <swephexp.h>

namespace toravel::tools {
namespace {

constexpr double DegreesPerRadian = 57.29577951308232;
constexpr double MoonriseAltitudeDeg = 8.0 / 60.0;
constexpr double TwoMinutes = 2.0 / 1440.0;

// Greenwich mean sidereal time in degrees: the IAU 1982 polynomial,
// 67310.54841 s + (876600 h + 8640184.812866 s)·T + 0.093104 s·T² − 6.2e-6 s·T³.
double MeanSiderealTimeDeg(double jdUt) {
    const double t = (jdUt - 2451545.0) / 36525.0;
    const double seconds = 67310.54841 + (876600.0 * 3600.0 + 8640184.812866) * t +
                           0.093104 * t * t - 6.2e-6 * t * t * t;
    double reduced = std::fmod(seconds, 86400.0);
    if (reduced < 0)
        reduced += 86400.0;
    return reduced / 240.0;
}

// Stops the tool when Swiss Ephemeris falls back to its analytic theory: the
// comparison would then be weaker than it claims.
void Calculate(double jdUt, int body, int flags, double (&xx)[6]) {
    char error[AS_MAXCH] = "";
    const int returned = swe_calc_ut(jdUt, body, SEFLG_SWIEPH | flags, xx, error);
    if (returned < 0 || (returned & SEFLG_SWIEPH) == 0) {
        std::fprintf(stderr, "Swiss Ephemeris fell back or failed at JD %.5f: %s\n", jdUt, error);
        std::exit(1);
    }
}

} // namespace

ReferenceMoon::ReferenceMoon(const char* ephemerisDirectory) {
    swe_set_ephe_path(const_cast<char*>(ephemerisDirectory));
}

ReferenceMoon::~ReferenceMoon() {
    swe_close();
}

double ReferenceMoon::AltitudeAboveStandard(double jdUt, double latitudeDeg,
                                            double longitudeDeg) const {
    double xx[6];
    Calculate(jdUt, SE_MOON, SEFLG_EQUATORIAL, xx);
    const double ra = xx[0] / DegreesPerRadian;
    const double dec = xx[1] / DegreesPerRadian;
    const double latitude = latitudeDeg / DegreesPerRadian;
    const double hourAngle = (MeanSiderealTimeDeg(jdUt) + longitudeDeg) / DegreesPerRadian - ra;
    const double sinAltitude = std::sin(latitude) * std::sin(dec) +
                               std::cos(latitude) * std::cos(dec) * std::cos(hourAngle);
    return std::asin(sinAltitude) * DegreesPerRadian - MoonriseAltitudeDeg;
}

std::optional<double> ReferenceMoon::MoonriseNear(double jdUt, double latitudeDeg,
                                                  double longitudeDeg, double window) const {
    std::optional<double> nearest;
    double before = AltitudeAboveStandard(jdUt - window, latitudeDeg, longitudeDeg);
    for (double at = jdUt - window + TwoMinutes; at <= jdUt + window; at += TwoMinutes) {
        const double now = AltitudeAboveStandard(at, latitudeDeg, longitudeDeg);
        if (before <= 0 && now > 0) {
            double low = at - TwoMinutes;
            double high = at;
            for (int k = 0; k < 30; ++k) { // to 0.1 ms
                const double mid = (low + high) / 2;
                (AltitudeAboveStandard(mid, latitudeDeg, longitudeDeg) > 0 ? high : low) = mid;
            }
            const double rise = (low + high) / 2;
            if (!nearest || std::fabs(rise - jdUt) < std::fabs(*nearest - jdUt))
                nearest = rise;
        }
        before = now;
    }
    return nearest;
}

bool ReferenceMoon::RisesBetween(double jdBegin, double jdEnd, double latitudeDeg,
                                 double longitudeDeg) const {
    double before = AltitudeAboveStandard(jdBegin, latitudeDeg, longitudeDeg);
    for (double at = jdBegin + TwoMinutes; at < jdEnd; at += TwoMinutes) {
        const double now = AltitudeAboveStandard(at, latitudeDeg, longitudeDeg);
        if (before <= 0 && now > 0)
            return true;
        before = now;
    }
    return false;
}

// The Moon's apparent longitude less the Sun's, less `from` degrees, reduced
// to [−180, 180).
double ReferenceMoon::Elongation(double jdUt, double from) const {
    double moon[6];
    double sun[6];
    Calculate(jdUt, SE_MOON, 0, moon);
    Calculate(jdUt, SE_SUN, 0, sun);
    return std::fmod(moon[0] - sun[0] - from + 540.0, 360.0) - 180.0;
}

double ReferenceMoon::PhaseNear(double jdUt, double from) const {
    double x0 = jdUt - 0.1;
    double x1 = jdUt + 0.1;
    double f0 = Elongation(x0, from);
    double f1 = Elongation(x1, from);
    for (int i = 0; i < 50 && std::fabs(x1 - x0) > 1e-9; ++i) { // secant method
        const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
        x0 = x1;
        f0 = f1;
        x1 = x2;
        f1 = Elongation(x1, from);
    }
    return x1;
}

double ReferenceMoon::NewMoonNear(double jdUt) const {
    return PhaseNear(jdUt, 0.0);
}

double ReferenceMoon::FullMoonNear(double jdUt) const {
    return PhaseNear(jdUt, 180.0);
}

} // namespace toravel::tools
