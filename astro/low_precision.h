// Low-precision geocentric Sun and Moon.
//
// T: Julian centuries since J2000.0. The rise and set search passes universal
// time unchanged (no ΔT). Short analytic series give the ecliptic longitude
// and latitude of the mean equinox of date; a fixed obliquity of
// 23.43929111° (its J2000.0 value) turns them into right ascension in [0, 2π)
// and declination in [−π/2, π/2], radians. No nutation, aberration or
// parallax. Every T is accepted and nothing fails.
//
// The Moon: the largest periodic terms of Brown's lunar theory (E. W. Brown,
// Tables of the Motion of the Moon, 1919), fourteen in longitude and the main
// term and seven more in latitude, rounded to the arcsecond, on mean
// arguments linear in T. The Sun: a Keplerian orbit, the mean anomaly and
// the longitude of perigee of J2000.0 with their motions (the perigee's,
// precession included, 6191.2″ a century) and the equation of the centre to
// its 2M term.
//
// Taken at universal time as the search takes them, they keep within 5.7′ of
// the apparent positions of Swiss Ephemeris for the Moon (1.4′ rms) and
// within 1.2′ for the Sun over 1900–2100 (toravel-check-low-precision,
// docs/accuracy.md), which puts moonrises within a minute.
#pragma once

namespace toravel {

void LowPrecisionMoon(double T, double& ra, double& dec);
void LowPrecisionSun(double T, double& ra, double& dec);

} // namespace toravel
