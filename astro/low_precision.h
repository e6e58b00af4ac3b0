// Low-precision geocentric Sun and Moon.
//
// T: Julian centuries since J2000.0. The rise and set search passes universal
// time unchanged (no ΔT). Short analytic series give the ecliptic longitude
// and latitude of the mean equinox of date; a fixed obliquity of
// 23.43929111° (its J2000.0 value) turns them into right ascension in [0, 2π)
// and declination in [−π/2, π/2], radians. No nutation, aberration or
// parallax. The Moon is good to a few arcminutes, the Sun to about one, which
// suits rise and set times to the minute.
#pragma once

namespace toravel {

void LowPrecisionMoon(double T, double& ra, double& dec);
void LowPrecisionSun(double T, double& ra, double& dec);

} // namespace toravel
