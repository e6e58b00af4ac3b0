#include "astro/sidereal_time.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"

namespace toravel {

double GreenwichSiderealTime(double mjd) {
    const double mjd0 = std::floor(mjd);
    const double ut = 86400.0 * (mjd - mjd0); // seconds of universal time since 0h
    const double t0 = (mjd0 - MjdJ2000) / 36525.0;
    const double t = (mjd - MjdJ2000) / 36525.0;
    // The linear term takes T0 of the day's 0h, the higher terms T of the moment.
    const double gmst =
        24110.54841 + 8640184.812866 * t0 + 1.0027379093 * ut + (0.093104 - 6.2e-6 * t) * t * t;
    return FloatModulo(gmst, 86400.0) * (TwoPi / 86400.0);
}

} // namespace toravel
