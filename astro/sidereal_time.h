// Greenwich mean sidereal time.
//
// The IAU 1982 expression for mean sidereal time (Aoki, Guinot, Kaplan,
// Kinoshita, McCarthy and Seidelmann, "The new definition of Universal Time",
// Astron. Astrophys. 105, 359, 1982), without the equation of the equinoxes.
// Argument: MJD in universal time (UT1). Result: radians in [0, 2π). Every
// MJD is accepted; the expression is meant for centuries around J2000.0.
#pragma once

namespace toravel {

double GreenwichSiderealTime(double mjd);

} // namespace toravel
