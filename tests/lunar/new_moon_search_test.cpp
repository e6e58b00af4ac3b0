#include "lunar/new_moon_search.h"

#include <cmath>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "astro/calendar.h"
#include "astro/constants.h"
#include "lunar/calculation_state.h"
#include "lunar/delta_t.h"
#include "lunar/working_stream.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

// Points the working stream at a string for the length of a test and resets
// the shared state's offsets.
class NewMoonSearch : public ::testing::Test {
protected:
    void SetUp() override {
        SetLunarWorkingStream(&working);
        CalculationState& state = SharedCalculationState();
        state.ComputerZoneOffset = 0.0;
        state.ZoneOffsetDays = 0.0;
    }
    void TearDown() override {
        SetLunarWorkingStream(nullptr);
        PhaseQuarter = 0;
    }
    std::ostringstream working;
};

int evaluations = 0;
double CountedLine(double x) {
    ++evaluations;
    return x - 0.25;
}

TEST(PegasusRoot, NoSignChangeReturnsFirstPointWithoutIterating) {
    struct Row {
        const char* name;
        double x1, x2;
    } rows[] = {
        {"both positive", 0.5, 1.0},
        {"both negative", -1.0, 0.0},
        {"first end exactly a root", 0.25, 1.0},
        {"second end exactly a root", 0.0, 0.25},
    };
    for (const Row& r : rows) {
        evaluations = 0;
        double root = -99.0;
        bool success = true;
        PegasusRoot(CountedLine, r.x1, r.x2, 1e-9, root, success);
        EXPECT_FALSE(success) << r.name;
        EXPECT_EQ(root, r.x1) << r.name;
        EXPECT_EQ(evaluations, 2) << r.name;
    }
}

double Cubic(double x) {
    return (x - 0.3) * (x * x + 1.0);
}

TEST(PegasusRoot, ConvergesWithinTheAccuracy) {
    double root = 0.0;
    bool success = false;
    PegasusRoot(Cubic, -2.0, 3.0, 1e-12, root, success);
    EXPECT_TRUE(success);
    EXPECT_NEAR(root, 0.3, 1e-12);
}

// Regression: the search took PegasusRoot's root without asking whether it
// had converged. A root finder that runs out of passes, or meets a root
// exactly at the far end of the bracket (where it gives up and returns the
// near end, a week away), must still give the root to the accuracy.
double NinthPower(double x) {
    const double d = x - 0.3;
    return d * d * d * d * d * d * d * d * d;
}

double NotANumber(double) {
    return std::nan("");
}

TEST(BracketedRoot, RootIsFoundToTheAccuracyWhenPegasusFails) {
    struct Row {
        const char* name;
        double (*function)(double);
        double x1, x2, root;
        bool pegasusConverges, pegasusRight;
    } const rows[] = {
        {"smooth: Pegasus converges", Cubic, -2.0, 3.0, 0.3, true, true},
        {"flat ninth power: Pegasus runs out of passes", NinthPower, -1.0, 3.0, 0.3, false, false},
        {"root exactly at the far end", CountedLine, 0.0, 0.25, 0.25, false, false},
        {"root exactly at the near end", CountedLine, 0.25, 1.0, 0.25, false, true},
    };
    const double accuracy = 1e-9;
    for (const Row& r : rows) {
        double pegasus = 0.0;
        bool success = false;
        PegasusRoot(r.function, r.x1, r.x2, accuracy, pegasus, success);
        ASSERT_EQ(success, r.pegasusConverges) << r.name;
        const double root = BracketedRoot(r.function, r.x1, r.x2, accuracy);
        EXPECT_NEAR(root, r.root, accuracy) << r.name;
        if (r.pegasusConverges) {
            EXPECT_EQ(root, pegasus) << r.name << ": Pegasus's own root, to the bit";
        }
        if (!r.pegasusRight) {
            EXPECT_GT(std::fabs(pegasus - r.root), accuracy) << r.name << ": the case is real";
        }
    }
}

TEST(BracketedRoot, NoNumberInTheBracketIsAnError) {
    EXPECT_THROW(BracketedRoot(NotANumber, 0.0, 1.0, 1e-9), NewMoonSearchError);
}

TEST_F(NewMoonSearch, ElongationStaysWithinHalfATurn) {
    for (int quarter = 0; quarter < 4; ++quarter) {
        PhaseQuarter = static_cast<std::uint8_t>(quarter);
        for (double T = -1.0; T < 1.0; T += 0.000713) {
            const double d = MoonSunElongation(T);
            ASSERT_GE(d, -Pi) << "T=" << T;
            ASSERT_LT(d, Pi) << "T=" << T;
        }
    }
}

// New moons of December 1999 to December 2000 in universal time, from
// PyEphem 4.1.4 (ephem.next_new_moon), to the second.
struct KnownNewMoon {
    int year, month, day, hour, minute, second;
};
constexpr KnownNewMoon NewMoons2000[14] = {
    {1999, 12, 7, 22, 31, 38},  {2000, 1, 6, 18, 13, 39},   {2000, 2, 5, 13, 3, 17},
    {2000, 3, 6, 5, 16, 43},    {2000, 4, 4, 18, 12, 0},    {2000, 5, 4, 4, 12, 4},
    {2000, 6, 2, 12, 13, 57},   {2000, 7, 1, 19, 19, 54},   {2000, 7, 31, 2, 25, 8},
    {2000, 8, 29, 10, 19, 17},  {2000, 9, 27, 19, 52, 57},  {2000, 10, 27, 7, 58, 1},
    {2000, 11, 25, 23, 11, 19}, {2000, 12, 25, 17, 21, 38},
};

TEST_F(NewMoonSearch, Year2000InUniversalTime) {
    ComputeNewMoonsOfYear(2000);
    const auto& table = SharedCalculationState().NewMoonTable;
    for (int i = 0; i < 14; ++i) {
        const KnownNewMoon& k = NewMoons2000[i];
        const TDateTime expected =
            EncodeDateTime(k.year, k.month, k.day, k.hour, k.minute, k.second);
        // Rounded to the minute: within half a minute plus the theory's error.
        EXPECT_NEAR((table[i] - expected) * 86400.0, 0.0, 45.0)
            << "lunation " << i << ": " << DateTimeToStr(table[i]);
        // Whole minutes, seconds zero.
        const double minutes = table[i] * 1440.0;
        EXPECT_NEAR(minutes, std::round(minutes), 1e-6) << "lunation " << i;
    }
    EXPECT_EQ(DateToStr(table[0]), "07.12.1999");
    EXPECT_EQ(DateToStr(table[13]), "25.12.2000");
    // 56 phase texts written, one after the other, "DD.MM.YYYY HH:MM" each.
    EXPECT_EQ(working.str().size(), 56u * 16u);
    EXPECT_EQ(working.str().substr(0, 16), "07.12.1999 22:32");
    EXPECT_EQ(PhaseQuarter, 3);
}

TEST_F(NewMoonSearch, OffsetsShiftEveryEntryAlike) {
    ComputeNewMoonsOfYear(1987);
    const auto base = SharedCalculationState().NewMoonTable;
    SharedCalculationState().ComputerZoneOffset = 0.125; // three hours east
    SharedCalculationState().ZoneOffsetDays = 5.0 / 24.0;
    ComputeNewMoonsOfYear(1987);
    const auto& shifted = SharedCalculationState().NewMoonTable;
    for (int i = 0; i < 14; ++i) {
        EXPECT_NEAR((shifted[i] - base[i]) * 24.0, 8.0, 1e-7) << "lunation " << i;
    }
}

TEST_F(NewMoonSearch, EveryTableAscendsByALunation) {
    // 1500 has a Julian leap day with a new moon on it, 1582 straddles the
    // calendar reform: the table must read back across both.
    for (int year : {2, 1500, 1582, 1700, 1800, 1825, 1900, 2005, 2006, 2026, 2200, 9998}) {
        ComputeNewMoonsOfYear(year);
        const auto& table = SharedCalculationState().NewMoonTable;
        int y, m, d, hh, mm, ss, ms;
        // The first new moon falls in December of the year before.
        DecodeDateTime(table[0], y, m, d, hh, mm, ss, ms);
        EXPECT_EQ(y, year - 1) << year;
        EXPECT_EQ(m, 12) << year;
        for (int i = 1; i < 14; ++i) {
            const double gap = table[i] - table[i - 1];
            EXPECT_GT(gap, 29.2) << year << " lunation " << i;
            EXPECT_LT(gap, 29.9) << year << " lunation " << i;
        }
    }
}

TEST_F(NewMoonSearch, NewMoonInTheLastHalfMinuteCarriesToNextDay) {
    // Place the first new moon of the 2000 table at 23:59:45 on the clock by
    // choosing the computer's offset, and expect 00:00 of the next day.
    const double T0 = (ModifiedJulianDate(1999, 12, 1, 0, 0, 0) - MjdJ2000) / 36525.0;
    PhaseQuarter = 0;
    double T = 0.0;
    bool success = false;
    const double week = 7.0 / 36525.0;
    PegasusRoot(MoonSunElongation, T0, T0 + week, 0.5 / (1440.0 * 36525.0), T, success);
    ASSERT_TRUE(success);
    const double universalMjd = T * 36525.0 + MjdJ2000 - SearchDeltaT(T) / 86400.0;
    const double target = ModifiedJulianDate(1999, 12, 7, 23, 59, 45.0);
    SharedCalculationState().ComputerZoneOffset = target - universalMjd;
    ComputeNewMoonsOfYear(2000);
    EXPECT_EQ(DateTimeToStr(SharedCalculationState().NewMoonTable[0]), "08.12.1999");
}

TEST_F(NewMoonSearch, BothSidesOfTheDeltaTSeamIn2005) {
    // New moons of 12 December 2004 and 10 January 2005 in universal time
    // (PyEphem: 01:29:02 and 12:02:49). The first still takes the compact
    // table's ΔT (74 s), the second the observed 64.7 s; both must land on
    // their minute within the theory's error.
    ComputeNewMoonsOfYear(2005);
    const auto& table = SharedCalculationState().NewMoonTable;
    EXPECT_NEAR((table[0] - EncodeDateTime(2004, 12, 12, 1, 29, 2)) * 86400.0, 0.0, 45.0)
        << DateTimeToStr(table[0]);
    EXPECT_NEAR((table[1] - EncodeDateTime(2005, 1, 10, 12, 2, 49)) * 86400.0, 0.0, 45.0)
        << DateTimeToStr(table[1]);
}

} // namespace
} // namespace toravel
