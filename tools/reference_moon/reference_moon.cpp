#include "tools/reference_moon/reference_moon.h"

#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

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

// Throws when Swiss Ephemeris did not use its files.
void Calculate(double jdUt, int body, int flags, double (&xx)[6]) {
    char error[AS_MAXCH] = "";
    const int returned = swe_calc_ut(jdUt, body, SEFLG_SWIEPH | flags, xx, error);
    if (returned < 0 || (returned & SEFLG_SWIEPH) == 0 || (returned & SEFLG_MOSEPH) != 0)
        throw std::runtime_error("Swiss Ephemeris fell back or failed at JD " +
                                 std::to_string(jdUt) + " (flags " + std::to_string(returned) +
                                 "): " + error);
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

std::vector<double> ReferenceMoon::MoonrisesBetween(double jdBegin, double jdEnd,
                                                    double latitudeDeg, double longitudeDeg) const {
    std::vector<double> rises;
    double before = AltitudeAboveStandard(jdBegin, latitudeDeg, longitudeDeg);
    // The last step ends at jdEnd itself, so that a rise in the last two
    // minutes is found too.
    for (int step = 1; jdBegin + (step - 1) * TwoMinutes < jdEnd; ++step) {
        const double at = std::min(jdBegin + step * TwoMinutes, jdEnd);
        const double now = AltitudeAboveStandard(at, latitudeDeg, longitudeDeg);
        if (before <= 0 && now > 0) {
            double low = at - TwoMinutes;
            double high = at;
            for (int k = 0; k < 30; ++k) { // to 0.1 ms
                const double mid = (low + high) / 2;
                (AltitudeAboveStandard(mid, latitudeDeg, longitudeDeg) > 0 ? high : low) = mid;
            }
            rises.push_back((low + high) / 2);
        }
        before = now;
    }
    return rises;
}

std::optional<double> ReferenceMoon::MoonriseNear(double jdUt, double latitudeDeg,
                                                  double longitudeDeg, double window) const {
    std::optional<double> nearest;
    for (const double rise :
         MoonrisesBetween(jdUt - window, jdUt + window, latitudeDeg, longitudeDeg))
        if (!nearest || std::fabs(rise - jdUt) < std::fabs(*nearest - jdUt))
            nearest = rise;
    return nearest;
}

bool ReferenceMoon::RisesBetween(double jdBegin, double jdEnd, double latitudeDeg,
                                 double longitudeDeg) const {
    for (const double rise : MoonrisesBetween(jdBegin, jdEnd, latitudeDeg, longitudeDeg))
        if (rise < jdEnd)
            return true;
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
