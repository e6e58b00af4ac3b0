// ΔT = TT − UT, the difference between ephemeris (terrestrial) time and
// universal time, in seconds, for T in Julian centuries since J2000.0.
//
// DeltaT is the compact table of the new-moon search: one cubic in T per
// quarter century, valid from 1825.0 to 2005.0 (T from −1.75 to +0.05), the
// last quarter century extended by five years: a compact fit to the yearly
// ΔT observed from 1825 to 2000 and tabulated in the astronomical almanacs.
// It keeps within 4 s of those values up to 1990 and runs ahead of them
// after, by up to 9.4 s at 2005 (docs/accuracy.md). Outside its span it
// reports not valid and gives 0.
//
// ExtendedDeltaT covers every other year: the observed yearly values from
// 2005 to the last observed year (IERS, as tabulated by the USNO); before
// them the polynomial expressions of Espenak and Meeus (NASA, "Polynomial
// Expressions for Delta T", −1999 … +2005, with −20 + 32·u² before −500);
// after them the prediction of Morrison, Stephenson, Hohenkerk and Zawilski
// (2021, "Addendum 2020 to 'Measurement of the Earth's rotation: 720 BC to
// AD 2015'", Proc. R. Soc. A), joined to the last observation by a cubic
// that keeps the observed value and rate there and meets the prediction
// ten years on. The polynomials meet the first observation within 0.05 s.
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
