// Reduction of values to one period, and the addition theorem for cosine and
// sine on which the trigonometric series are built.
//
// Pure inline functions: no state, no validation, no failure.
#pragma once

#include <cmath>

#include "astro/constants.h"

namespace toravel {

// x − floor(x), in [0, 1). FracPart(−0.25) is 0.75.
inline double FracPart(double x) {
    return x - std::floor(x);
}

// The remainder of x modulo y (y > 0), taken in [0, y) also for negative x.
inline double FloatModulo(double x, double y) {
    return y * FracPart(x / y);
}

// sin(2π·x) for an angle x in revolutions, reduced to one revolution first.
inline double SineOfRevolutions(double x) {
    return std::sin(TwoPi * FracPart(x));
}

// c = cos(a + b), s = sin(a + b) from the cosines and sines of a and b.
// The inputs are taken by value: callers pass their running pair both as the
// first inputs and as the outputs.
inline void SinCosSum(double c1, double s1, double c2, double s2, double& c, double& s) {
    c = c1 * c2 - s1 * s2;
    s = s1 * c2 + c1 * s2;
}

} // namespace toravel
