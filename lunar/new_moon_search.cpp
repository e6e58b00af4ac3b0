#include "lunar/new_moon_search.h"

#include <cmath>
#include <string>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/lunar_theory.h"
#include "astro/solar_theory.h"
#include "lunar/calculation_state.h"
#include "lunar/delta_t.h"
#include "lunar/text_output.h"
#include "lunar/working_stream.h"
#include "platform/conversions.h"

namespace toravel {

std::uint8_t PhaseQuarter = 0;

namespace {

constexpr double WeekStep = 7.0 / 36525.0;                      // centuries
constexpr double HalfMinute = 0.5 / (1440.0 * 36525.0);         // centuries
constexpr double SunLightTime = 8.32 / (1440.0 * 36525.0);      // centuries
constexpr int PegasusPassLimit = 30;
constexpr int LunationCount = 14;

// A phase is always bracketed within one or two week steps from the previous
// root; a search that needs more has met a fault, not a slow Moon.
constexpr int BracketStepLimit = 10;

std::string JoinDateTimeFields(const CapturedTextFields& captured) {
    const auto& f = captured.dateTime;
    return std::to_string(f.day) + "." + std::to_string(f.month) + "." + std::to_string(f.year) +
           " " + std::to_string(f.hour) + ":" + std::to_string(f.minute);
}

}  // namespace

double MoonSunElongation(double T) {
    const double moonLongitude = MoonEclipticPosition(T).Spherical(SphericalComponent::Azimuth);
    const double sunLongitude =
        SunEclipticPosition(T - SunLightTime).Spherical(SphericalComponent::Azimuth);
    const double d = moonLongitude - sunLongitude;
    return FloatModulo(d - PhaseQuarter * Pi / 2.0 + Pi, TwoPi) - Pi;
}

void PegasusRoot(double (*function)(double), double x1, double x2, double accuracy,
                 double& root, bool& success) {
    double f1 = function(x1);
    double f2 = function(x2);
    success = false;
    root = x1;
    if (f1 * f2 >= 0.0) {
        return;
    }
    for (int pass = 0; pass < PegasusPassLimit; ++pass) {
        const double x3 = x2 - f2 / ((f2 - f1) / (x2 - x1));
        const double f3 = function(x3);
        if (f3 * f2 <= 0.0) {  // the root lies between x2 and x3
            x1 = x2;
            f1 = f2;
            x2 = x3;
            f2 = f3;
        } else {  // between x1 and x3: scale down the retained end's value
            f1 = f1 * f2 / (f2 + f3);
            x2 = x3;
            f2 = f3;
        }
        root = (std::fabs(f1) < std::fabs(f2)) ? x1 : x2;
        success = std::fabs(x2 - x1) <= accuracy;
        if (success) {
            break;
        }
    }
}

void ComputeNewMoonsOfYear(int year) {
    CalculationState& state = SharedCalculationState();
    std::ostream& out = LunarWorkingStream();
    double T0 = (ModifiedJulianDate(year - 1, 12, 1, 0, 0, 0) - MjdJ2000) / 36525.0;
    double T1 = T0 + WeekStep;
    for (int lunation = 0; lunation < LunationCount; ++lunation) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            PhaseQuarter = static_cast<std::uint8_t>(quarter);
            double D0 = MoonSunElongation(T0);
            double D1 = MoonSunElongation(T1);
            // The second condition skips the jump from +π to −π half a
            // lunation away, which is a change of sign but no phase.
            int steps = 0;
            while (D0 * D1 > 0.0 || D1 < D0) {
                if (++steps > BracketStepLimit) {
                    throw NewMoonSearchError("lunar phase not found within " +
                                             std::to_string(BracketStepLimit) + " weeks");
                }
                T0 = T1;
                D0 = D1;
                T1 = T1 + WeekStep;
                D1 = MoonSunElongation(T1);
            }
            double T = T0;
            bool success = false;
            PegasusRoot(MoonSunElongation, T0, T1, HalfMinute, T, success);

            // The compact ΔT table ends at 1825 and 2005; beyond, the
            // observed values and their extrapolation take over.
            const double seconds = SearchDeltaT(T);
            const double universalMjd = T * 36525.0 + MjdJ2000 - seconds / 86400.0;
            const double clockMjd =
                universalMjd + state.ComputerZoneOffset + state.ZoneOffsetDays;

            // Rounds to the minute, carrying the date, and captures the fields.
            WriteDateTimeText(out, DateTimeText(clockMjd, TimeTextFormat::HoursMinutes));
            if (quarter == 0) {
                state.NewMoonTable[lunation] =
                    StrToDateTime(JoinDateTimeFields(SharedCapturedTextFields()));
            }
            T0 = T;
            T1 = T + WeekStep;
        }
    }
}

}  // namespace toravel
