// The moonrise count and the lunar day, over the real rise and set search.
//
// Expected lunar days come from an independent count: PyEphem's topocentric
// Moon (upper limb on the refracted horizon), the new moon before the moment
// and every moonrise from it to the moment, found by sampling the altitude
// every two minutes; each moment lies at least eight hours from the nearest
// moonrise or new moon, so the two horizons' minutes of difference do not
// matter.
#include "lunar/moonrise_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "astro/calendar.h"
#include "astro/constants.h"
#include "lunar/calculation_state.h"
#include "lunar/rise_set.h"
#include "lunar/text_output.h"
#include "lunar/working_stream.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"
#include "tests/lunar/calculation_state_fixture.h"

namespace toravel {
namespace {

class FakeCalendarView : public LunarCalendarView {
public:
    std::string latitude, longitude;
    bool listing = false;
    std::vector<std::string> lines;

    std::string LatitudeText() const override { return latitude; }
    std::string LongitudeText() const override { return longitude; }
    bool ListingWanted() const override { return listing; }
    void AppendLine(const std::string& line) override { lines.push_back(line); }
};

struct Place {
    const char* latitude;
    const char* longitude;
    double zoneHours;
};

constexpr Place Moscow{"55,7558", "37,6173", 4};
constexpr Place Murmansk{"68,97", "33,07", 3};

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDateTime(year, month, day, hour, minute);
}

constexpr double Minute = 1.0 / 1440.0;

class MoonriseCountTest : public testing::CalculationStateTest {
protected:
    // Counts for a moment on the clock of the place's zone (the computer at
    // Greenwich), from the given new moon; returns the lunar day.
    std::int32_t Count(const Place& place, TDateTime newMoon, TDateTime moment) {
        CalculationState& state = SharedCalculationState();
        state.ComputerZoneOffset = 0.0;
        state.ZoneOffsetDays = place.zoneHours / 24.0;
        state.PrecedingNewMoon = newMoon;
        state.CalculationMoment = moment;
        state.LunarDay = 0;
        view_.latitude = place.latitude;
        view_.longitude = place.longitude;
        CountMoonrisesSinceNewMoon(view_);
        return state.LunarDay;
    }

    const auto& Table() const { return SharedCalculationState().MoonriseTable; }

    FakeCalendarView view_;
};

TEST_F(MoonriseCountTest, LunarDayAgreesWithAnIndependentCount) {
    struct Row {
        const char* name;
        Place place;
        TDateTime newMoon; // PyEphem's, on the place's clock, to the minute
        TDateTime moment;
        std::int32_t lunarDay;
    } rows[] = {
        {"Moscow 17.05.1990 14:30", Moscow, At(1990, 4, 25, 8, 27), At(1990, 5, 17, 14, 30), 22},
        {"Greenwich 01.01.2000 12:00",
         {"51,4769", "0", 0},
         At(1999, 12, 7, 22, 32),
         At(2000, 1, 1, 12, 0),
         25},
        {"New York 15.08.2023 20:00",
         {"40,7128", "-74,006", -4},
         At(2023, 7, 17, 14, 32),
         At(2023, 8, 15, 20, 0),
         29},
        {"Sydney 29.02.2024 06:00",
         {"-33,8688", "151,2093", 11},
         At(2024, 2, 10, 9, 59),
         At(2024, 2, 29, 6, 0),
         19},
        {"Novosibirsk 03.11.1985 09:15",
         {"55,0084", "82,9357", 7},
         At(1985, 10, 14, 11, 33),
         At(1985, 11, 3, 9, 15),
         20},
        {"Murmansk 14.12.2020 23:00", Murmansk, At(2020, 12, 14, 19, 17), At(2020, 12, 14, 23, 0),
         1},
        {"Murmansk 15.12.2020 12:00", Murmansk, At(2020, 12, 14, 19, 17), At(2020, 12, 15, 12, 0),
         1},
        {"Murmansk 28.12.2020 12:00", Murmansk, At(2020, 12, 14, 19, 17), At(2020, 12, 28, 12, 0),
         11},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Count(row.place, row.newMoon, row.moment), row.lunarDay) << row.name;
    }
}

TEST_F(MoonriseCountTest, TableHoldsEachDaysMoonriseToTheMinuteOrItsMidnight) {
    Count(Moscow, At(1990, 4, 25, 8, 27), At(1990, 5, 17, 14, 30));
    for (int i = 0; i < MoonriseDayCount; ++i) {
        const TDateTime entry = Table()[static_cast<std::size_t>(i)];
        EXPECT_EQ(DateOf(entry), At(1990, 4, 25) + i) << "entry " << i << " is on its own day";
        EXPECT_EQ(std::fmod(std::round(entry * 86400.0), 60.0), 0.0) << "entry " << i;
        if (i > 0) {
            EXPECT_LT(Table()[static_cast<std::size_t>(i - 1)], entry) << "entry " << i;
        }
    }
    // 11 May 1990 has no moonrise in Moscow: the Moon rises at 22:58 on the
    // 10th and at 0:06 on the 12th.
    EXPECT_EQ(Table()[16], At(1990, 5, 11));
    EXPECT_EQ(Table()[15], At(1990, 5, 10, 22, 58));
    EXPECT_EQ(Table()[17], At(1990, 5, 12, 0, 6));
}

TEST_F(MoonriseCountTest, NewMoonBeforeTheDaysMoonriseBeginsLunarDayTwoAtThatMoonrise) {
    // Moscow, 25 April 1990: moonrise at 5:28, the next at 5:47 on the 26th.
    Count(Moscow, At(1990, 4, 25, 8, 27), At(1990, 4, 25, 12, 0));
    const TDateTime rise0 = Table()[0], rise1 = Table()[1];
    ASSERT_EQ(rise0, At(1990, 4, 25, 5, 28));
    ASSERT_EQ(rise1, At(1990, 4, 26, 5, 47));

    const TDateTime earlyNewMoon = At(1990, 4, 25, 3, 0);
    EXPECT_EQ(Count(Moscow, earlyNewMoon, rise0 - Minute), 1) << "between new moon and moonrise";
    EXPECT_EQ(Count(Moscow, earlyNewMoon, rise0 + Minute), 2) << "after the day's moonrise";
    EXPECT_EQ(Count(Moscow, earlyNewMoon, rise1 + Minute), 3) << "after the next moonrise";
}

TEST_F(MoonriseCountTest, NewMoonAfterTheDaysMoonriseKeepsLunarDayOneToTheNextMoonrise) {
    const TDateTime newMoon = At(1990, 4, 25, 8, 27);
    Count(Moscow, newMoon, At(1990, 4, 25, 12, 0));
    const TDateTime rise1 = Table()[1];
    EXPECT_EQ(Count(Moscow, newMoon, newMoon + Minute), 1);
    EXPECT_EQ(Count(Moscow, newMoon, rise1 - Minute), 1);
    EXPECT_EQ(Count(Moscow, newMoon, rise1 + Minute), 2);
}

TEST_F(MoonriseCountTest, AMomentAtAMoonriseBelongsToTheLunarDayThatMoonriseEnds) {
    const TDateTime newMoon = At(1990, 4, 25, 8, 27);
    Count(Moscow, newMoon, At(1990, 5, 1, 0, 0));
    const TDateTime rise5 = Table()[5];
    const std::int32_t before = Count(Moscow, newMoon, rise5 - Minute);
    EXPECT_EQ(Count(Moscow, newMoon, rise5), before);
    EXPECT_EQ(Count(Moscow, newMoon, rise5 + Minute), before + 1);
}

TEST_F(MoonriseCountTest, ADayWithoutMoonriseAddsNoLunarDay) {
    const TDateTime newMoon = At(1990, 4, 25, 8, 27);
    const std::int32_t lateOnThe10th = Count(Moscow, newMoon, At(1990, 5, 10, 23, 59));
    EXPECT_EQ(Count(Moscow, newMoon, At(1990, 5, 11)), lateOnThe10th) << "midnight of the 11th";
    EXPECT_EQ(Count(Moscow, newMoon, At(1990, 5, 11, 12, 0)), lateOnThe10th) << "noon of the 11th";
    EXPECT_EQ(Count(Moscow, newMoon, At(1990, 5, 12, 0, 7)), lateOnThe10th + 1)
        << "after the moonrise of the 12th";
}

TEST_F(MoonriseCountTest, NewMoonDateWithoutMoonriseStillBeginsLunarDayOne) {
    // At 69° north in mid-December the Moon stays below the horizon for days
    // around the new moon of 14 December 2020 (19:17 at three hours east).
    const TDateTime newMoon = At(2020, 12, 14, 19, 17);
    EXPECT_EQ(Count(Murmansk, newMoon, At(2020, 12, 14, 23, 0)), 1);
    ASSERT_EQ(Table()[0], At(2020, 12, 14)) << "the new moon's date has no moonrise";
    ASSERT_EQ(Table()[4], At(2020, 12, 18, 15, 12)) << "the first moonrise after it";
    EXPECT_EQ(Count(Murmansk, newMoon, At(2020, 12, 18, 15, 11)), 1);
    EXPECT_EQ(Count(Murmansk, newMoon, At(2020, 12, 18, 15, 13)), 2);
}

// A caller that searches only the days the lunar day depends on (the batch
// mode) must count as the whole table does: every moment of a lunation, at a
// place with moonless days, with the later entries put out of reach.
TEST_F(MoonriseCountTest, EntriesAfterTheCountedOnesChangeNothing) {
    const TDateTime newMoon = At(2020, 12, 14, 19, 17);
    Count(Murmansk, newMoon, At(2020, 12, 15));
    const auto table = Table();
    for (TDateTime moment = newMoon; moment < newMoon + 31; moment += 0.25 + Minute / 3) {
        const int counted = MoonriseEntriesCounted(newMoon, moment);
        ASSERT_GE(counted, 1);
        auto cut = table;
        for (int i = counted; i < MoonriseDayCount; ++i)
            cut[static_cast<std::size_t>(i)] = std::numeric_limits<double>::max();
        EXPECT_EQ(LunarDayAmongMoonrises(newMoon, moment, cut, 0),
                  LunarDayAmongMoonrises(newMoon, moment, table, 0))
            << DateTimeToStr(moment) << ", " << counted << " entries counted";
    }
    // Every moonrise of a day counts from the day's own entry on.
    for (int day = 0; day + 1 < MoonriseDayCount; ++day) {
        const TDateTime entry = table[static_cast<std::size_t>(day)];
        EXPECT_GT(MoonriseEntriesCounted(newMoon, entry), day) << DateTimeToStr(entry);
    }
}

// A clock offset that puts the moonrise of day k of the Moscow table at a
// local hour where `inside` turns false, bisected until `wanted` holds.
double OffsetPuttingMoonriseAt(int k, bool (*inside)(double), bool (*wanted)(double),
                               double& foundHour) {
    const double latitude = 55.7558 * RadiansPerDegree, longitude = 37.6173 * RadiansPerDegree;
    const double midnight = ModifiedJulianDate(1990, 4, 25 + k, 0, 0, 0.0);
    auto riseHour = [&](double offset, bool& found) {
        double rise = 0, set = 0;
        bool setFound = false, up = false;
        found = false;
        FindRiseSetEvents(RiseSetKind::Moonrise, midnight - offset, longitude, latitude, rise, set,
                          found, setFound, up);
        return rise;
    };
    // The day's moonrise at the zone's +4 hours is in mid-morning; with the
    // offset the local moonrise moves by the same hours.
    double lo = 4.0 / 24.0 - 12.0 / 24.0, hi = 4.0 / 24.0 + 14.0 / 24.0;
    bool found = false;
    const double start = riseHour(lo, found);
    if (!found || !inside(start))
        std::swap(lo, hi);
    for (int pass = 0; pass < 100; ++pass) {
        const double mid = (lo + hi) / 2;
        const double hour = riseHour(mid, found);
        if (found && wanted(hour)) {
            foundHour = hour;
            return mid;
        }
        if (found && inside(hour))
            lo = mid;
        else
            hi = mid;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

TEST_F(MoonriseCountTest, MoonriseInTheLastHalfMinuteKeepsItsDay) {
    const int k = 3;
    double riseHour = 0;
    const double offset = OffsetPuttingMoonriseAt(
        k, [](double hour) { return hour > 12.0 && hour <= 24.0; },
        [](double hour) { return hour >= 23.0 + 59.6 / 60.0 && hour <= 23.0 + 59.95 / 60.0; },
        riseHour);
    ASSERT_FALSE(std::isnan(offset)) << "no offset puts the moonrise in the last half minute";
    std::ostringstream text;
    WriteClockTimeText(text, ClockTimeText(riseHour, TimeTextFormat::HoursMinutes));
    ASSERT_EQ(text.str(), "24:00") << "the moonrise's time of day alone rounds past the day";

    CalculationState& state = SharedCalculationState();
    state.ComputerZoneOffset = offset - 4.0 / 24.0; // with the zone's 4 hours: offset
    state.ZoneOffsetDays = 4.0 / 24.0;
    state.PrecedingNewMoon = At(1990, 4, 25, 12, 0);
    state.CalculationMoment = At(1990, 4, 25 + k, 12, 0);
    view_.latitude = Moscow.latitude;
    view_.longitude = Moscow.longitude;
    ASSERT_NO_THROW(CountMoonrisesSinceNewMoon(view_));
    EXPECT_EQ(Table()[k], At(1990, 4, 25 + k, 23, 59));
    EXPECT_EQ(DateOf(Table()[k + 1]), At(1990, 4, 26 + k));
}

TEST_F(MoonriseCountTest, MoonriseInTheFirstHalfMinuteIsNotLostAsAMoonlessDay) {
    const int k = 3;
    double riseHour = 0;
    const double offset = OffsetPuttingMoonriseAt(
        k, [](double hour) { return hour >= 0.0 && hour < 12.0; },
        [](double hour) { return hour >= 0.05 / 60.0 && hour < 0.45 / 60.0; }, riseHour);
    ASSERT_FALSE(std::isnan(offset)) << "no offset puts the moonrise in the first half minute";

    CalculationState& state = SharedCalculationState();
    state.ComputerZoneOffset = offset - 4.0 / 24.0;
    state.ZoneOffsetDays = 4.0 / 24.0;
    state.PrecedingNewMoon = At(1990, 4, 25, 12, 0);
    view_.latitude = Moscow.latitude;
    view_.longitude = Moscow.longitude;

    state.CalculationMoment = At(1990, 4, 25 + k, 0, 0);
    state.LunarDay = 0;
    CountMoonrisesSinceNewMoon(view_);
    const std::int32_t atMidnight = state.LunarDay;
    EXPECT_EQ(Table()[k], At(1990, 4, 25 + k, 0, 1));

    state.CalculationMoment = At(1990, 4, 25 + k, 0, 2);
    state.LunarDay = 0;
    CountMoonrisesSinceNewMoon(view_);
    EXPECT_EQ(state.LunarDay, atMidnight + 1) << "the moonrise after midnight begins a lunar day";
}

TEST_F(MoonriseCountTest, ListingShowsTheFortyOneEntriesBetweenHeaderAndBlankLine) {
    view_.listing = true;
    const std::int32_t listed = Count(Moscow, At(1990, 4, 25, 8, 27), At(1990, 5, 17, 14, 30));
    ASSERT_EQ(view_.lines.size(), 43u);
    EXPECT_EQ(view_.lines.front(), "восходы лун от ближайшего новолуния");
    EXPECT_EQ(view_.lines[1], "25.04.1990 5:28:00");
    EXPECT_EQ(view_.lines[17], "11.05.1990") << "a day without moonrise shows its date alone";
    EXPECT_EQ(view_.lines[41], "04.06.1990 18:14:00");
    EXPECT_EQ(view_.lines.back(), " ");

    view_.lines.clear();
    view_.listing = false;
    EXPECT_EQ(Count(Moscow, At(1990, 4, 25, 8, 27), At(1990, 5, 17, 14, 30)), listed);
    EXPECT_TRUE(view_.lines.empty());
}

TEST_F(MoonriseCountTest, CoordinatesThatAreNoNumbersChangeNothing) {
    CalculationState& state = SharedCalculationState();
    state.MoonriseTable.fill(7.0);
    state.LunarDay = 9;
    state.PrecedingNewMoon = At(1990, 4, 25, 8, 27);
    state.CalculationMoment = At(1990, 5, 17, 14, 30);
    view_.listing = true;
    for (const auto& [latitude, longitude, text] :
         {std::tuple{"55,75", "37.6.1", "37.6.1"}, std::tuple{"север", "37,6", "север"},
          std::tuple{"55,75", "", ""}}) {
        view_.latitude = latitude;
        view_.longitude = longitude;
        try {
            CountMoonrisesSinceNewMoon(view_);
            ADD_FAILURE() << "no error for " << latitude << " / " << longitude;
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
    EXPECT_EQ(state.MoonriseTable[40], 7.0);
    EXPECT_EQ(state.LunarDay, 9);
    EXPECT_TRUE(view_.lines.empty());
}

TEST_F(MoonriseCountTest, CoordinatesOffTheEarthAreRefusedBeforeAnythingIsComputed) {
    CalculationState& state = SharedCalculationState();
    state.MoonriseTable.fill(7.0);
    state.PrecedingNewMoon = At(1990, 4, 25, 8, 27);
    state.CalculationMoment = At(1990, 5, 17, 14, 30);
    struct Row {
        const char* latitude;
        const char* longitude;
        bool refused;
    } rows[] = {
        {"90,5", "0", true}, {"-91", "0", true},      {"0", "180,01", true}, {"0", "-200", true},
        {"1e3", "0", true},  {"0", "-1,8e201", true}, {"90", "180", false},  {"-90", "-180", false},
    };
    for (const Row& row : rows) {
        view_.latitude = row.latitude;
        view_.longitude = row.longitude;
        state.LunarDay = 9;
        if (row.refused) {
            EXPECT_THROW(CountMoonrisesSinceNewMoon(view_), InvalidBirthplaceError)
                << row.latitude << " / " << row.longitude;
            EXPECT_EQ(state.MoonriseTable[0], 7.0) << row.latitude << " / " << row.longitude;
            EXPECT_EQ(state.LunarDay, 9);
        } else {
            EXPECT_NO_THROW(CountMoonrisesSinceNewMoon(view_))
                << row.latitude << " / " << row.longitude;
        }
    }
}

TEST_F(MoonriseCountTest, ReadRiseSetInputStartsAtTheLocalMidnightOfTheNewMoonsDate) {
    CalculationState& state = SharedCalculationState();
    state.ComputerZoneOffset = 0.125;
    state.ZoneOffsetDays = -5.0 / 24.0;
    state.PrecedingNewMoon = At(1990, 4, 25, 23, 59);
    view_.latitude = "-33,5";
    view_.longitude = "151.25";
    double dayStart = 0, longitude = 0, latitude = 0, offset = 0;
    ReadRiseSetInput(view_, dayStart, longitude, latitude, offset);
    EXPECT_EQ(offset, 0.125 + -5.0 / 24.0);
    EXPECT_EQ(dayStart, ModifiedJulianDate(1990, 4, 25, 0, 0, 0.0) - offset);
    EXPECT_DOUBLE_EQ(latitude, -33.5 * RadiansPerDegree);
    EXPECT_DOUBLE_EQ(longitude, 151.25 * RadiansPerDegree);
}

} // namespace
} // namespace toravel
