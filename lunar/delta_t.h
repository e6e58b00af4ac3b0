// ΔT = TT − UT, the difference between ephemeris (terrestrial) time and
// universal time, in seconds.
//
// DeltaT is the compact table of the new-moon search: cubic polynomials per
// quarter century, valid from 1825.0 to 2005.0 (T from −1.75 to +0.05,
// Julian centuries since J2000.0). Outside that span it reports not valid and
// gives 0.
//
// ExtendedDeltaT covers every other year: the observed yearly values from
// 2005 on (IERS / USNO), and before and after them the polynomial
// expressions of Espenak and Meeus (NASA, "Polynomial Expressions for Delta
// T", −1999 … +3000, with −20 + 32·u² beyond). The two sources are joined
// without a jump: after the last observed year the polynomial is shifted by
// its difference from the observed value there, the shift fading linearly to
// nothing over the following 50 years.
#pragma once

namespace toravel {

// seconds and valid for T in Julian centuries since J2000.0.
void DeltaT(double T, double& seconds, bool& valid);

// ΔT in seconds for any T; meant for the years where DeltaT is not valid.
double ExtendedDeltaT(double T);

// The ΔT the new-moon search applies: DeltaT where it is valid, otherwise
// ExtendedDeltaT. The compact table runs about 9 s above the observed ΔT at
// 2005, so the switch there is a step.
double SearchDeltaT(double T);

} // namespace toravel
