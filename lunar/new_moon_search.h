// New moons around a birth year.
//
// A lunar phase is the moment at which the ecliptic longitude of the Moon
// (astro/lunar_theory.h) less that of the Sun 8.32 light minutes earlier
// (astro/solar_theory.h) reaches a multiple of 90°. The search walks forward
// from 0h of 1 December of the year before in steps of one week until the
// phase function changes sign, refines the root to half a minute with the
// Pegasus method (M. Dowell and P. Jarratt, "The 'Pegasus' method for
// computing the root of an equation", BIT 12, 503–508, 1972), brings it from
// ephemeris time to universal time with ΔT (lunar/delta_t.h), adds the
// calculation's clock offset and rounds it to the minute through the
// date-time text output. All four phases are found in turn, each from the
// previous root; only the new moons are kept.
//
// T: Julian centuries of ephemeris time since J2000.0, as the lunar and solar
// theories take it. Every birth year from 2 to 9998 is searched; from 1900
// to 2100 the new moons keep within 38 s of Swiss Ephemeris's, 95 % on the
// same minute, and after 2025 they rest on a prediction of ΔT
// (docs/accuracy.md).
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <stdexcept>

#include "platform/tdatetime.h"

namespace toravel {

// The phase that MoonSunElongation measures from: 0 new moon, 1 first
// quarter, 2 full moon, 3 last quarter. Process-wide, set by the search
// before each phase because the root finder evaluates a function of one
// argument.
extern std::uint8_t PhaseQuarter;

// The Moon's elongation from the Sun (the Sun taken 8.32 light minutes
// earlier) less PhaseQuarter·90°, radians in [−π, π).
double MoonSunElongation(double T);

// Pegasus method (a modified regula falsi) for a root of function between x1
// and x2. success is false, and root = x1 with no further evaluation, when
// the interval brackets no sign change; after 30 passes without reaching the
// accuracy, root is the better end point and success stays false.
void PegasusRoot(double (*function)(double), double x1, double x2, double accuracy, double& root,
                 bool& success);

// Raised when the search cannot find a phase: the week-step search fails to
// bracket it, or the phase function gives no number in the bracket.
class NewMoonSearchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The root of function in a bracket [x1, x2] where its values have opposite
// signs or one of them is 0, to within accuracy: PegasusRoot's root when it
// converges, and otherwise (its 30 passes run out, or an end is exactly a
// root, where it gives up and returns x1) the better end of the bracket
// halved until it is no wider than the accuracy. Throws NewMoonSearchError
// when the values at the ends or a midpoint do not bracket a root (a NaN).
double BracketedRoot(double (*function)(double), double x1, double x2, double accuracy);

// One lunar phase as the search finds it: the quarter (0 new moon, 1 first
// quarter, 2 full moon, 3 last quarter) and its moment, MJD in universal time
// (ΔT applied), unrounded.
struct LunarPhaseMoment {
    int quarter;
    double universalMjd;
};

// The 56 phases of the 14 lunations that follow 0h of 1 December of
// year − 1, in order: entry 4·lunation + quarter. They depend on the year
// alone; nothing of the calculation state is read or written. Sets
// PhaseQuarter as it goes; throws NewMoonSearchError as the search does.
using LunarPhasesOfYear = std::array<LunarPhaseMoment, 56>;
LunarPhasesOfYear FindLunarPhasesOfYear(int year);

// A phase on a clock (clockMjd: its universal MJD plus the clock's offset,
// days) to the whole minute, as the new-moon table holds it: written to out
// as the search's working text, its printed numbers read back with zero
// seconds. The last half minute of a day rounds to 00:00 of the next.
TDateTime ClockMinuteOfPhase(double clockMjd, std::ostream& out);

// Fills NewMoonTable of the shared calculation state with the 14 new moons
// that follow 0h of 1 December of year − 1, on the clock that runs ahead of
// universal time by ComputerZoneOffset + ZoneOffsetDays, rounded to the
// minute. Writes its 56 phase texts to the lunar working stream.
void ComputeNewMoonsOfYear(int year);

// The same from the year's phases already found: what ComputeNewMoonsOfYear
// does once the search is done, for a caller that keeps a year's phases
// between calculations.
void FillNewMoonTable(const LunarPhasesOfYear& phases);

} // namespace toravel
