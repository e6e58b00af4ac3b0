#include "lunar/new_moon_search.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

constexpr double WeekStep = 7.0 / 36525.0;                 // centuries
constexpr double HalfMinute = 0.5 / (1440.0 * 36525.0);    // centuries
constexpr double SunLightTime = 8.32 / (1440.0 * 36525.0); // centuries
constexpr int PegasusPassLimit = 30;
constexpr int BisectionPassLimit = 200;
constexpr int LunationCount = 14;

// A phase is always bracketed within one or two week steps from the previous
// root; a search that needs more has met a fault, not a slow Moon.
constexpr int BracketStepLimit = 10;

std::string JoinDateTimeFields(const CapturedTextFields& captured) {
    const auto& f = captured.dateTime;
    return IntToStr(f.day) + "." + IntToStr(f.month) + "." + IntToStr(f.year) + " " +
           IntToStr(f.hour) + ":" + IntToStr(f.minute);
}

} // namespace

namespace {

// The Moon's longitude less the Sun's at the moment its light left it; the
// phase function takes the quarter off this.
double LongitudeDifference(double T) {
    return MoonEclipticLongitude(T) - SunEclipticLongitude(T - SunLightTime);
}

double PhaseFromDifference(double d) {
    return FloatModulo(d - PhaseQuarter * Pi / 2.0 + Pi, TwoPi) - Pi;
}

// The search meets the same moments more than once: the root finder starts
// by evaluating the two ends of the bracket that the search has just
// evaluated, and each phase starts from the previous phase's root, which the
// root finder evaluated last. The difference of the longitudes depends on T
// alone, so the values of the last moments are kept and used again; the
// quarter is taken off afresh. A moment is the same when its bits are.
class RecentDifferences {
public:
    double At(double T) {
        std::uint64_t key = 0;
        std::memcpy(&key, &T, sizeof key); // the bits of T

        // Newest first: the moments met again are nearly always the last two.
        for (std::size_t n = 0; n < count_; ++n) {
            const Entry& e = entries_[(newest_ + Capacity - n) % Capacity];
            if (e.key == key)
                return e.difference;
        }
        newest_ = (newest_ + 1) % Capacity;
        entries_[newest_] = {key, LongitudeDifference(T)};
        if (count_ < Capacity)
            ++count_;
        return entries_[newest_].difference;
    }
    void Clear() { count_ = 0; }

private:
    // The root finder keeps one end of its interval for a few passes.
    static constexpr std::size_t Capacity = 8;
    struct Entry {
        std::uint64_t key;
        double difference;
    };
    std::array<Entry, Capacity> entries_{};
    std::size_t newest_ = 0;
    std::size_t count_ = 0;
};

RecentDifferences recentDifferences;

// The phase function as the search evaluates it.
double SearchElongation(double T) {
    return PhaseFromDifference(recentDifferences.At(T));
}

} // namespace

double MoonSunElongation(double T) {
    return PhaseFromDifference(LongitudeDifference(T));
}

void PegasusRoot(double (*function)(double), double x1, double x2, double accuracy, double& root,
                 bool& success) {
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
        if (f3 * f2 <= 0.0) { // the root lies between x2 and x3
            x1 = x2;
            f1 = f2;
            x2 = x3;
            f2 = f3;
        } else { // between x1 and x3: scale down the retained end's value
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

double BracketedRoot(double (*function)(double), double x1, double x2, double accuracy) {
    double root = x1;
    bool success = false;
    PegasusRoot(function, x1, x2, accuracy, root, success);
    if (success)
        return root;

    // Bisection keeps the sign change inside the bracket whatever the
    // function's shape; each pass halves the bracket, so a week comes down to
    // half a minute in 15 passes. The pass limit only stops an accuracy
    // below what doubles can halve to.
    double f1 = function(x1);
    double f2 = function(x2);
    for (int pass = 0; pass < BisectionPassLimit; ++pass) {
        if (!(f1 * f2 <= 0.0))
            throw NewMoonSearchError("lunar phase not bracketed");
        if (f1 == 0.0 || f2 == 0.0 || std::fabs(x2 - x1) <= accuracy)
            break;
        const double middle = x1 + 0.5 * (x2 - x1);
        const double f = function(middle);
        if (f1 * f <= 0.0) {
            x2 = middle;
            f2 = f;
        } else {
            x1 = middle;
            f1 = f;
        }
    }
    return std::fabs(f1) < std::fabs(f2) ? x1 : x2;
}

LunarPhasesOfYear FindLunarPhasesOfYear(int year) {
    LunarPhasesOfYear phases{};
    recentDifferences.Clear();
    double T0 = (ModifiedJulianDate(year - 1, 12, 1, 0, 0, 0) - MjdJ2000) / 36525.0;
    double T1 = T0 + WeekStep;
    for (int lunation = 0; lunation < LunationCount; ++lunation) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            PhaseQuarter = static_cast<std::uint8_t>(quarter);
            double D0 = SearchElongation(T0);
            double D1 = SearchElongation(T1);
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
                D1 = SearchElongation(T1);
            }
            const double T = BracketedRoot(SearchElongation, T0, T1, HalfMinute);

            // The compact ΔT table ends at 1825 and 2005; beyond, the
            // polynomials, the observations and the prediction take over.
            const double seconds = SearchDeltaT(T);
            phases[static_cast<std::size_t>(4 * lunation + quarter)] = {
                quarter, T * 36525.0 + MjdJ2000 - seconds / 86400.0};
            T0 = T;
            T1 = T + WeekStep;
        }
    }
    return phases;
}

TDateTime ClockMinuteOfPhase(double clockMjd, std::ostream& out) {
    // Rounds to the minute, carrying the date, and captures the fields.
    WriteDateTimeText(out, DateTimeText(clockMjd, TimeTextFormat::HoursMinutes));
    return StrToDateTime(JoinDateTimeFields(SharedCapturedTextFields()));
}

void ComputeNewMoonsOfYear(int year) {
    FillNewMoonTable(FindLunarPhasesOfYear(year));
}

void FillNewMoonTable(const LunarPhasesOfYear& phases) {
    CalculationState& state = SharedCalculationState();
    std::ostream& out = LunarWorkingStream();
    for (std::size_t i = 0; i < phases.size(); ++i) {
        const double clockMjd =
            phases[i].universalMjd + state.ComputerZoneOffset + state.ZoneOffsetDays;
        if (phases[i].quarter == 0) {
            state.NewMoonTable[i / 4] = ClockMinuteOfPhase(clockMjd, out);
        } else {
            WriteDateTimeText(out, DateTimeText(clockMjd, TimeTextFormat::HoursMinutes));
        }
    }
}

} // namespace toravel
