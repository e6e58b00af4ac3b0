// The astronomy gives the same bits, not just close values, wherever it is
// made faster: every speed change must leave the order of the floating-point
// operations alone.
//
// Two kinds of check. Digests: a 64-bit FNV-1a hash over the bit patterns of
// many outputs (the series, the rise and set search, the new-moon and
// moonrise tables and the working texts), recorded from the straightforward
// implementation before any speed work. The new-moon and moonrise digests
// are split at the last observed ΔT, so that a new prediction of the
// Earth's rotation changes only the digests of the years after it; the
// split digests were recorded from the tree whose whole digests still
// matched. They hold for this platform's libm
// (Debian 12, glibc 2.36, x86-64); on another libm a sine may differ in its
// last bit, and the digests must then be made afresh from an unchanged tree
// (the failure message prints the new value). Cross-checks: the shortcuts the
// search takes (a longitude without the rest of the position, an elongation
// reused from an earlier evaluation) against the full public computations,
// which hold on any platform.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/low_precision.h"
#include "astro/lunar_solar_table.generated.h"
#include "astro/lunar_theory.h"
#include "astro/sidereal_time.h"
#include "astro/solar_theory.h"
#include "astro/vector3.h"
#include "lunar/calculation_state.h"
#include "lunar/delta_t.h"
#include "lunar/moonrise_count.h"
#include "lunar/new_moon_search.h"
#include "lunar/rise_set.h"
#include "lunar/text_output.h"
#include "lunar/working_stream.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

class Digest {
public:
    void Add(double value) { Add(std::bit_cast<std::uint64_t>(value)); }
    void Add(bool value) { Add(std::uint64_t{value}); }
    void Add(int value) { Add(static_cast<std::uint64_t>(static_cast<std::int64_t>(value))); }
    void Add(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ = (hash_ ^ ((value >> (8 * i)) & 0xFF)) * 0x100000001B3ULL;
        }
    }
    void Add(const std::string& text) {
        for (unsigned char c : text)
            hash_ = (hash_ ^ c) * 0x100000001B3ULL;
        Add(static_cast<std::uint64_t>(text.size()));
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ULL;
};

// Reproducible moments: centuries since J2000.0 spread over [−span, span]
// by a fixed pseudo-random sequence, after a few telling values.
std::vector<double> Centuries(int count, double span) {
    std::vector<double> values = {0.0, 0.1, -0.1, 1e-9, -1e-9, 0.05, -1.75, 0.25, -0.25, 1.0};
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < count; ++i) {
        state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        const double unit = static_cast<double>(z >> 11) * 0x1.0p-53; // [0, 1)
        values.push_back(span * (2.0 * unit - 1.0));
    }
    return values;
}

void AddVector(Digest& digest, const Vector3& v) {
    digest.Add(v.x);
    digest.Add(v.y);
    digest.Add(v.z);
    digest.Add(v.Spherical(SphericalComponent::Azimuth));
    digest.Add(v.Spherical(SphericalComponent::Elevation));
    digest.Add(v.Spherical(SphericalComponent::Radius));
}

class Window : public LunarCalendarView {
public:
    std::string latitude, longitude;
    std::vector<std::string> lines;
    std::string LatitudeText() const override { return latitude; }
    std::string LongitudeText() const override { return longitude; }
    bool ListingWanted() const override { return true; }
    void AppendLine(const std::string& line) override { lines.push_back(line); }
};

// The working texts are part of what must not change: they go to a stream
// of our own here, and into the digest.
class WorkingText {
public:
    WorkingText() { SetLunarWorkingStream(&stream_); }
    ~WorkingText() { SetLunarWorkingStream(nullptr); }
    std::string Take() {
        std::string text = stream_.str();
        stream_.str({});
        return text;
    }

private:
    std::ostringstream stream_;
};

struct DigestCase {
    const char* what;
    std::uint64_t (*compute)();
    std::uint64_t expected;
};

std::uint64_t MoonDigest() {
    Digest d;
    for (double T : Centuries(40000, 4.0))
        AddVector(d, MoonEclipticPosition(T));
    return d.Value();
}

std::uint64_t LunarSeriesDigest() {
    Digest d;
    for (double T : Centuries(3000, 4.0)) {
        LunarSeries s;
        s.Prepare(T);
        for (int i = 0; i < LunarSolarRowCount; ++i) {
            const LunarSolarCoefficients& c = LunarSolarCoefficientTable[i];
            const LunarArgumentKey& k = LunarSolarKeys[i];
            s.AddSolarTerm(c.longitude, c.latitudeArgument, c.latitudeAmplitude, c.parallax, k.p,
                           k.q, k.r, k.s);
        }
        for (const LunarLatitudeRow& row : LunarLatitudeTable)
            s.AddLatitudeTerm(row.coefficient, row.key.p, row.key.q, row.key.r, row.key.s);
        s.AddPlanetaryTerms(T);
        for (double v : {s.inclinationPerturbation, s.longitudeSum, s.latitudeArgumentSum,
                         s.latitudeAmplitudeSum, s.parallaxSum, s.latitudeSum, s.meanLongitude,
                         s.moonAnomaly, s.sunAnomaly, s.nodeDistance, s.elongation, s.Longitude(),
                         s.Latitude(), s.Distance()})
            d.Add(v);
        for (int k = -4; k <= 4; ++k) {
            double x = 0.0, y = 0.0;
            s.TermCosSin(k, k / 2, -k, k + 2, x, y);
            d.Add(x);
            d.Add(y);
        }
    }
    return d.Value();
}

std::uint64_t SunDigest() {
    Digest d;
    for (double T : Centuries(40000, 4.0)) {
        AddVector(d, SunEclipticPosition(T));
        double dl = 0.0, dr = 0.0, db = 0.0;
        SunPerturbations(T, dl, dr, db);
        d.Add(dl);
        d.Add(dr);
        d.Add(db);
    }
    return d.Value();
}

std::uint64_t LowPrecisionDigest() {
    Digest d;
    for (double T : Centuries(40000, 4.0)) {
        double ra = 0.0, dec = 0.0;
        LowPrecisionMoon(T, ra, dec);
        d.Add(ra);
        d.Add(dec);
        LowPrecisionSun(T, ra, dec);
        d.Add(ra);
        d.Add(dec);
        d.Add(GreenwichSiderealTime(T * 36525.0 + MjdJ2000));
    }
    return d.Value();
}

std::uint64_t AltitudeDigest() {
    Digest d;
    const std::vector<double> T = Centuries(3000, 3.0);
    for (std::size_t i = 0; i < T.size(); ++i) {
        const double latitude = (static_cast<double>(i % 181) - 90.0) * RadiansPerDegree;
        const double longitude = (static_cast<double>(i % 361) - 180.0) * RadiansPerDegree;
        const double day =
            std::floor(T[i] * 36525.0 + MjdJ2000) - static_cast<double>(i % 25) / 24.0;
        for (int kind = 0; kind < RiseSetKindCount; ++kind) {
            const auto k = static_cast<RiseSetKind>(kind);
            d.Add(SineOfAltitude(k, day, static_cast<double>(i % 25), longitude, std::cos(latitude),
                                 std::sin(latitude)));
            double rise = -1.0, set = -1.0;
            bool riseFound = false, setFound = false, up = false;
            FindRiseSetEvents(k, day, longitude, latitude, rise, set, riseFound, setFound, up);
            d.Add(rise);
            d.Add(set);
            d.Add(riseFound);
            d.Add(setFound);
            d.Add(up);
        }
    }
    return d.Value();
}

std::uint64_t ElongationDigest() {
    Digest d;
    const std::uint8_t saved = PhaseQuarter;
    for (double T : Centuries(5000, 4.0)) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            PhaseQuarter = static_cast<std::uint8_t>(quarter);
            d.Add(MoonSunElongation(T));
        }
    }
    PhaseQuarter = saved;
    return d.Value();
}

// The birth years whose searches end within the observed ΔT (before 2025; a
// year's search runs into January of the next), and the years after, whose
// new moons follow ΔT's prediction and change when the prediction does.
struct Years {
    int first, last;
    bool Holds(int year) const { return first <= year && year <= last; }
};
constexpr Years ObservedYears{0, 2023};
constexpr Years PredictedYears{2024, 10000};

// The 14 new moons of years over eight centuries, on clocks 12 hours behind
// to 14 ahead, and the 56 working texts of each year.
std::uint64_t NewMoonTableDigest(Years years) {
    Digest d;
    WorkingText text;
    CalculationState& state = SharedCalculationState();
    const CalculationState saved = state;
    for (int year = 1600; year <= 2400; year += 7) {
        if (!years.Holds(year))
            continue;
        state.ComputerZoneOffset = (year % 3 - 1) / 24.0;
        state.ZoneOffsetDays = (year % 25 - 12) / 24.0;
        ComputeNewMoonsOfYear(year);
        for (TDateTime t : state.NewMoonTable)
            d.Add(t);
        d.Add(text.Take());
        d.Add(static_cast<int>(PhaseQuarter));
    }
    state = saved;
    return d.Value();
}

// The 41 moonrises and the lunar day at places from 70° south to 70° north,
// from the new moons of years over four centuries, with the working texts
// and the listing.
std::uint64_t MoonriseTableDigest(Years years) {
    Digest d;
    WorkingText text;
    CalculationState& state = SharedCalculationState();
    const CalculationState saved = state;
    const char* places[][2] = {{"55,75", "37,62"}, {"-33,87", "151,21"}, {"70", "-20"},
                               {"-70", "100"},     {"0", "179,9"},       {"64,5", "-147,7"}};
    int n = 0;
    for (int year = 1800; year <= 2200; year += 13) {
        for (const auto& place : places) {
            ++n;
            if (!years.Holds(year))
                continue;
            state.ComputerZoneOffset = 0.0;
            state.ZoneOffsetDays = (n % 25 - 12) / 24.0;
            ComputeNewMoonsOfYear(year);
            text.Take();
            state.PrecedingNewMoon = state.NewMoonTable[static_cast<std::size_t>(n % 12)];
            state.CalculationMoment = state.PrecedingNewMoon + (n % 29) + (n % 7) / 7.0;
            state.LunarDay = 0;
            Window window;
            window.latitude = place[0];
            window.longitude = place[1];
            CountMoonrisesSinceNewMoon(window);
            for (TDateTime t : state.MoonriseTable)
                d.Add(t);
            d.Add(static_cast<int>(state.LunarDay));
            d.Add(text.Take());
            for (const std::string& line : window.lines)
                d.Add(line);
        }
    }
    state = saved;
    return d.Value();
}

TEST(BitIdentity, OutputsKeepTheirRecordedBits) {
    const DigestCase cases[] = {
        {"MoonEclipticPosition", MoonDigest, 0x5f33df3ef455af81},
        {"LunarSeries step by step", LunarSeriesDigest, 0x1f5e32a0b7c07fcd},
        {"SunEclipticPosition and SunPerturbations", SunDigest, 0x2e1f0b6ec9757ebf},
        {"LowPrecisionMoon, LowPrecisionSun, GreenwichSiderealTime", LowPrecisionDigest,
         0x559a6d2da627813f},
        {"SineOfAltitude and FindRiseSetEvents", AltitudeDigest, 0x20bbd52289aee085},
        {"MoonSunElongation", ElongationDigest, 0x96d640f8b3292733},
        {"NewMoonTable and working texts, observed ΔT",
         [] { return NewMoonTableDigest(ObservedYears); }, 0x10a665618c251b9e},
        {"NewMoonTable and working texts, predicted ΔT",
         [] { return NewMoonTableDigest(PredictedYears); }, 0x4f57e421c98d49c6},
        {"MoonriseTable, LunarDay, working texts and listing, observed ΔT",
         [] { return MoonriseTableDigest(ObservedYears); }, 0xde1195d00b4d58fe},
        {"MoonriseTable, LunarDay, working texts and listing, predicted ΔT",
         [] { return MoonriseTableDigest(PredictedYears); }, 0x40a9c13f40add04d},
    };
    for (const DigestCase& c : cases) {
        const std::uint64_t actual = c.compute();
        EXPECT_EQ(actual, c.expected) << c.what << ": digest 0x" << std::hex << actual;
    }
}

// The working texts come out the same whether the stream formats as the
// classic locale (the text is built in one piece) or through a locale of its
// own that formats alike (every number inserted by the stream).
TEST(BitIdentity, WorkingTextsAreTheSameThroughBothWaysOfWriting) {
    std::ostringstream plain;
    std::ostringstream inserted;
    inserted.imbue(std::locale(std::locale::classic(), new std::numpunct<char>));
    ASSERT_FALSE(inserted.getloc() == std::locale::classic());
    for (double mjd : {-1000000.0, -680450.0, -678942.25, -0.5, 0.0, 15018.999999, 51544.5,
                       60000.9997, 2973483.0, 100000000.0}) {
        for (std::ostringstream* stream : {&plain, &inserted}) {
            stream->fill('*');
            WriteDateTimeText(*stream, DateTimeText(mjd, TimeTextFormat::DateOnly));
            *stream << '|';
            WriteDateTimeText(*stream, DateTimeText(mjd, TimeTextFormat::HoursMinutes));
            *stream << '|';
            WriteClockTimeText(*stream, ClockTimeText(mjd / 1000.0, TimeTextFormat::HoursMinutes));
            stream->width(3);
            *stream << 7 << '\n';
        }
    }
    EXPECT_EQ(plain.str(), inserted.str());
    EXPECT_EQ(plain.fill(), inserted.fill());
}

// The longitudes alone are the azimuths of the whole positions.
TEST(BitIdentity, LongitudesAloneAreThoseOfTheWholePositions) {
    int differing = 0;
    for (double T : Centuries(20000, 4.0)) {
        const double moon = MoonEclipticPosition(T).Spherical(SphericalComponent::Azimuth);
        const double sun = SunEclipticPosition(T).Spherical(SphericalComponent::Azimuth);
        if (std::bit_cast<std::uint64_t>(MoonEclipticLongitude(T)) !=
                std::bit_cast<std::uint64_t>(moon) ||
            std::bit_cast<std::uint64_t>(SunEclipticLongitude(T)) !=
                std::bit_cast<std::uint64_t>(sun)) {
            ADD_FAILURE() << "T = " << T;
            if (++differing > 5)
                return;
        }
    }
}

// The search as it reads without any reuse: the phase function evaluated
// afresh at every moment, through the public phase function and root finder.
void PlainNewMoonSearch(int year, TDateTime (&table)[NewMoonCount]) {
    const CalculationState& state = SharedCalculationState();
    constexpr double step = 7.0 / 36525.0;
    double T0 = (ModifiedJulianDate(year - 1, 12, 1, 0, 0, 0) - MjdJ2000) / 36525.0;
    double T1 = T0 + step;
    std::ostringstream discarded;
    for (int lunation = 0; lunation < NewMoonCount; ++lunation) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            PhaseQuarter = static_cast<std::uint8_t>(quarter);
            double D0 = MoonSunElongation(T0);
            double D1 = MoonSunElongation(T1);
            while (D0 * D1 > 0.0 || D1 < D0) {
                T0 = T1;
                D0 = D1;
                T1 = T1 + step;
                D1 = MoonSunElongation(T1);
            }
            double T = T0;
            bool success = false;
            PegasusRoot(MoonSunElongation, T0, T1, 0.5 / (1440.0 * 36525.0), T, success);
            if (quarter == 0) {
                const double clock = T * 36525.0 + MjdJ2000 - SearchDeltaT(T) / 86400.0 +
                                     state.ComputerZoneOffset + state.ZoneOffsetDays;
                WriteDateTimeText(discarded, DateTimeText(clock, TimeTextFormat::HoursMinutes));
                const auto& f = SharedCapturedTextFields().dateTime;
                table[lunation] = EncodeDateTime(f.year, f.month, f.day, f.hour, f.minute, 0);
            }
            T0 = T;
            T1 = T + step;
        }
    }
}

// Both searches must agree to the bit, whatever the platform's libm.
TEST(BitIdentity, NewMoonSearchGivesWhatThePlainSearchGives) {
    CalculationState& state = SharedCalculationState();
    const CalculationState saved = state;
    WorkingText text;
    for (int year = 1500; year <= 2500; year += 37) {
        state.ComputerZoneOffset = 0.0;
        state.ZoneOffsetDays = (year % 25 - 12) / 24.0;
        ComputeNewMoonsOfYear(year);
        TDateTime plain[NewMoonCount] = {};
        PlainNewMoonSearch(year, plain);
        for (int i = 0; i < NewMoonCount; ++i) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(state.NewMoonTable[static_cast<std::size_t>(i)]),
                      std::bit_cast<std::uint64_t>(plain[i]))
                << year << ", new moon " << i;
        }
    }
    state = saved;
}

} // namespace
} // namespace toravel
