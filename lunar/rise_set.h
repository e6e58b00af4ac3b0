// Rise and set search for the Moon and the Sun over one local day.
//
// The day is sampled every hour; a parabola through three neighbouring
// samples of the altitude's sine locates each crossing of the standard
// altitude inside a two-hour interval, so a day costs at most 25 positions.
// The parabola's extremum and zeros are those of interpolation from three
// tabular values (J. Meeus, Astronomical Algorithms, 2nd ed. 1998, ch. 3).
// Positions are the low-precision geocentric Moon and Sun (astro/
// low_precision.h) with Greenwich mean sidereal time (astro/sidereal_time.h);
// universal time is their time argument, without ΔT. The standard altitude
// h0 stands in for refraction, semidiameter and (for the Moon) parallax, as
// in Meeus ch. 15: −50′ for the Sun's upper limb, +8′ for the Moon's
// (0.7275 of a mean horizontal parallax of 57′ less 34′ of refraction).
// Any date and any place; beyond the polar circles, and near them for the
// Moon, a day may hold no event. The moonrises keep within a minute of those of Swiss Ephemeris's
// apparent Moon (tests/lunar/moonrise_reference_test.cpp).
//
// Time and place:
//   dayStartMjd  MJD in universal time of the local midnight that begins the
//                day: the local date's MJD at 0h minus the zone offset, days.
//   hour         local hours counted from that midnight, 0 to 24.
//   longitude    radians, positive east of Greenwich.
//   latitude     radians, positive north.
#pragma once

#include <array>
#include <cstdint>

namespace toravel {

// The body and the altitude whose crossing counts as the event.
enum class RiseSetKind : std::int8_t {
    Moonrise = 0,             // Moon, h0 = +8′
    Sunrise = 1,              // Sun, h0 = −50′
    CivilTwilight = 2,        // Sun, h0 = −6°
    NauticalTwilight = 3,     // Sun, h0 = −12°
    AstronomicalTwilight = 4, // Sun, h0 = −18°
};

inline constexpr int RiseSetKindCount = 5;

// sin h0 of each kind, indexed by the kind's value. Filled by the first call
// of FindRiseSetEvents, which then sets the flag; read-only afterwards.
// Single-threaded use only: the lazy filling takes no lock.
extern double StandardAltitudeSine[RiseSetKindCount];
extern bool StandardAltitudeSineFilled;

// The sine of the body's geocentric altitude at a local hour of the day, not
// reduced by h0. The Moon for Moonrise, the Sun for every other kind.
double SineOfAltitude(RiseSetKind kind, double dayStartMjd, double hour, double longitude,
                      double cosLatitude, double sinLatitude);

// Fits the parabola through samples at x = −1, 0, +1 and gives its vertex and
// the roots that fall in [−1, 1] (an end point counts). extremumX and
// extremumY are written on every call. Without real roots rootCount is 0 and
// the roots are not written. Otherwise firstRoot ≤ secondRoot, except that a
// firstRoot below −1 is replaced by secondRoot, so that a single root in
// [−1, 1] is always firstRoot.
// Three collinear samples have no vertex: then extremumX is 0, extremumY the
// centre sample, rootCount 0 and the roots are not written (no root in that
// interval), rather than infinities and NaNs.
void ParabolaRoots(double yMinus, double y0, double yPlus, double& extremumX, double& extremumY,
                   double& firstRoot, double& secondRoot, int& rootCount);

// The local hours of the rise and of the set in the day, each in [0, 24] and
// written only when found; upAtStart tells whether the body stood above h0
// at hour 0 (exactly at h0 counts as below), which distinguishes a body that
// stays up all day from one that stays down when neither event is found.
// A later rise replaces an earlier rise, and a later set an earlier set; the
// search stops after the interval in which both have been found. A kind outside
// the table finds nothing: both flags and upAtStart false, hours untouched.
void FindRiseSetEvents(RiseSetKind kind, double dayStartMjd, double longitude, double latitude,
                       double& riseHour, double& setHour, bool& riseFound, bool& setFound,
                       bool& upAtStart);

// Every rise of the day, as FindRiseSetEvents finds each in its interval:
// the same samples and parabolas, but over all twelve intervals, nothing
// replaced and no stop. Local hours in the order of time, at most one per
// interval. The rise FindRiseSetEvents keeps is among them, to the bit; at
// 64° to 78° of latitude a day may hold a second one (the Moon rises, sets
// and rises again before midnight), which the count of lunar days leaves
// out. A kind outside the table finds none.
struct RisesOfDay {
    std::array<double, 12> hours{};
    int count = 0;
};
RisesOfDay FindAllRises(RiseSetKind kind, double dayStartMjd, double longitude, double latitude);

} // namespace toravel
