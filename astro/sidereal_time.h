// Greenwich mean sidereal time.
//
// The IAU 1982 expression for mean sidereal time, without the equation of the
// equinoxes. Argument: MJD in universal time. Result: radians in [0, 2π).
#pragma once

namespace toravel {

double GreenwichSiderealTime(double mjd);

} // namespace toravel
