#include "astro/sexagesimal.h"

#include <cmath>

namespace toravel {

double DegreesFromDms(double degrees, double minutes, double seconds) {
    const double sign = (degrees < 0.0 || minutes < 0.0 || seconds < 0.0) ? -1.0 : 1.0;
    return sign * (std::fabs(degrees) + std::fabs(minutes) / 60.0 + std::fabs(seconds) / 3600.0);
}

void DmsFromDegrees(double x, int& degrees, int& minutes, double& seconds) {
    double a = std::fabs(x);
    degrees = static_cast<int>(a);
    a = (a - degrees) * 60.0;
    minutes = static_cast<int>(a);
    seconds = (a - minutes) * 60.0;
    if (x < 0.0) { // −0.0 counts as not negative
        if (degrees != 0) {
            degrees = -degrees;
        } else if (minutes != 0) {
            minutes = -minutes;
        } else {
            seconds = -seconds;
        }
    }
}

} // namespace toravel
