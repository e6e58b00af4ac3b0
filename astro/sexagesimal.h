// Decimal degrees (or hours) and their sexagesimal parts.
//
// A value is held as whole degrees D and minutes M (ints) and seconds S
// (double). The sign of a negative value sits on the first of D, M, S that is
// not zero: −1.5 is (−1, 30, 0) and −0.5 is (0, −30, 0).
#pragma once

namespace toravel {

// Decimal degrees from D, M, S. A negative value in any field negates the
// whole: (1, −30, 0) gives −1.5, as (−1, 30, 0) does.
double DegreesFromDms(double degrees, double minutes, double seconds);

// The sexagesimal triple of x. Seconds are not rounded and may come
// arbitrarily close to 60; rounding for display is the caller's business.
void DmsFromDegrees(double x, int& degrees, int& minutes, double& seconds);

} // namespace toravel
