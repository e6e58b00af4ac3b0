// The calculation command through a fake window and a fake calendar-day
// table, over the real lunar calendar.
#include "horoscope/calculation_command.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "lunar/calculation_state.h"
#include "lunar/working_stream.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"
#include "tests/horoscope/fake_view.h"
#include "tests/lunar/calculation_state_fixture.h"

namespace toravel {
namespace {

using testing::FakeView;
using testing::ViewEvent;

class FakeCalendarDays : public CalendarDayLookup {
public:
    std::map<std::pair<int, int>, CalendarDayRecord> records;
    std::vector<std::pair<int, int>> asked;
    bool fail = false;

    std::optional<CalendarDayRecord> FindCalendarDay(int month, int day) override {
        asked.emplace_back(month, day);
        if (fail)
            throw std::runtime_error("Could not find file '.\\DB\\bd.mdb'");
        const auto found = records.find({month, day});
        if (found == records.end())
            return std::nullopt;
        return found->second;
    }
};

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

class CalculationCommandTest : public testing::CalculationStateTest {
protected:
    void SetUp() override {
        CalculationStateTest::SetUp();
        SharedCalculationState() = CalculationState{};
        // Moscow as the city list gives it, birth 17.05.1990 14:30 at four
        // hours east, the computer at Greenwich.
        view_.latitude = "55,7558";
        view_.longitude = "37,6173";
        view_.zoneHours = "4";
        view_.birthDate = EncodeDateTime(1990, 5, 17);
        view_.birthTime = EncodeDateTime(1899, 12, 30, 14, 30);
        days_.records[{5, 17}] = {"c", "Второму"};
        days_.records[{1, 5}] = {"b", "Первому"};
    }

    void Run() { RunCalculationCommand(view_, days_); }
    CalculationState& State() { return SharedCalculationState(); }

    FakeView view_;
    FakeCalendarDays days_;
};

TEST_F(CalculationCommandTest, BlankBirthplaceShowsItsMessageAndDoesNothingElse) {
    struct Row {
        const char* latitude;
        const char* longitude;
        const char* message;
    } rows[] = {
        {"", "", "нет географических данных"}, {"  ", "\t\r\n", "нет географических данных"},
        {"", "37,6", "нет данных о широте"},   {" \x01", "37,6", "нет данных о широте"},
        {"55,7", "", "нет данных о долготе"},  {"55,7", "   ", "нет данных о долготе"},
    };
    for (const Row& row : rows) {
        view_.events.clear();
        view_.latitude = row.latitude;
        view_.longitude = row.longitude;
        view_.zoneHours = "not a number either";
        State().LunarDay = 42;
        Run();
        EXPECT_EQ(view_.events, (std::vector<ViewEvent>{{ViewEvent::Message, row.message, {}}}))
            << "'" << row.latitude << "' / '" << row.longitude << "'";
        EXPECT_EQ(State().LunarDay, 42);
    }
    EXPECT_TRUE(days_.asked.empty());
}

TEST_F(CalculationCommandTest, ComputedLunarDayOfRealBirthsAgreesWithAnIndependentCount) {
    // Expected values: PyEphem's new moons and moonrises, counted by hand.
    struct Row {
        const char* name;
        const char* latitude;
        const char* longitude;
        const char* zone;
        TDateTime date, time;
        std::int32_t lunarDay;
        const char* precedingNewMoon;
    } rows[] = {
        {"Moscow 17.05.1990 14:30", "55,7558", "37,6173", "4", EncodeDateTime(1990, 5, 17),
         EncodeDateTime(1899, 12, 30, 14, 30), 22, "25.04.1990 8:27:00"},
        {"Sydney 29.02.2024 06:00", "-33,8688", "151,2093", "11", EncodeDateTime(2024, 2, 29),
         EncodeDateTime(1899, 12, 30, 6, 0), 19, "10.02.2024 9:59:00"},
        {"Murmansk 28.12.2020 12:00", "68,97", "33,07", "3", EncodeDateTime(2020, 12, 28),
         EncodeDateTime(1899, 12, 30, 12, 0), 11, "14.12.2020 19:17:00"},
        // After the last new moon of the table (25.12.2000 17:21).
        {"Greenwich 31.12.2000 23:00", "51,4769", "0", "0", EncodeDateTime(2000, 12, 31),
         EncodeDateTime(1899, 12, 30, 23, 0), 7, "25.12.2000 17:21:00"},
    };
    for (const Row& row : rows) {
        view_.latitude = row.latitude;
        view_.longitude = row.longitude;
        view_.zoneHours = row.zone;
        view_.birthDate = row.date;
        view_.birthTime = row.time;
        Run();
        EXPECT_EQ(State().LunarDay, row.lunarDay) << row.name;
        EXPECT_EQ(DateTimeToStr(State().PrecedingNewMoon), row.precedingNewMoon) << row.name;
    }
}

TEST_F(CalculationCommandTest, ZeroInTheLunarDayFieldMeansComputeIt) {
    for (const char* text : {"0", "00", "", "  "}) {
        State().NewMoonTable.fill(0.0);
        view_.lunarDay = text;
        Run();
        EXPECT_NE(State().NewMoonTable[0], 0.0) << "'" << text << "': the new moons were searched";
        EXPECT_EQ(State().GivenLunarDay, 0) << "'" << text << "'";
        EXPECT_EQ(State().LunarDay, 22) << "'" << text << "'";
        EXPECT_EQ(view_.ReportArea().front(), Blanks(45) + "расчетный период соответствует");
    }
}

TEST_F(CalculationCommandTest, TypedLunarDayIsReportedUnchangedWithoutAstronomy) {
    struct Row {
        const char* text;
        std::int32_t lunarDay;
        const char* line2;
    } const rows[] = {
        // The day's world is "c": lunar day 7 ("b") gives "c", 12 ("h") gives "h".
        {" 7", 7, "Второму кругу Среднего мира (Яви)"},
        {"-5", -5, "Второму кругу "},
        {"31", 31, "Второму кругу "},
        {"12", 12, "Второму кругу Нижнего мира (Нави)"},
    };
    view_.listing = true;
    view_.latitude = "north"; // never converted on this path
    view_.longitude = "east";
    for (const Row& row : rows) {
        State().NewMoonTable.fill(1.0);
        State().MoonriseTable.fill(1.0);
        view_.lunarDay = row.text;
        ASSERT_NO_THROW(Run()) << row.text;
        EXPECT_EQ(State().LunarDay, row.lunarDay) << row.text;
        EXPECT_EQ(State().NewMoonTable[13], 1.0) << row.text;
        EXPECT_EQ(State().MoonriseTable[40], 1.0) << row.text;
        const auto area = view_.ReportArea();
        ASSERT_EQ(area.size(), 4u) << row.text << ": no listings on the typed path";
        EXPECT_EQ(area[0], " вы указали, что расчетная дата является " +
                               std::to_string(row.lunarDay) + " лунным днем, что соответствует ");
        EXPECT_EQ(area[1], Blanks(37) + row.line2) << row.text;
        EXPECT_EQ(area[3], Blanks(49) + std::to_string(row.lunarDay) + " лунный день");
    }
}

TEST_F(CalculationCommandTest, TextsThatAreNoIntegersEndTheCommandAfterEmptyingTheArea) {
    struct Row {
        const char* zone;
        const char* lunarDay;
        const char* error;
        double zoneOffsetAfter;
    } rows[] = {
        {"3", "7 ", "'7 ' is not a valid integer value", 0.125},
        {"3", "7.", "'7.' is not a valid integer value", 0.125},
        {"", "7", "'' is not a valid integer value", -1.0},
        {"1,5", "", "'1,5' is not a valid integer value", -1.0},
    };
    for (const Row& row : rows) {
        view_.events.clear();
        view_.zoneHours = row.zone;
        view_.lunarDay = row.lunarDay;
        State().ZoneOffsetDays = -1.0;
        try {
            Run();
            ADD_FAILURE() << "no error for '" << row.zone << "', '" << row.lunarDay << "'";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), row.error);
        }
        EXPECT_EQ(view_.events, (std::vector<ViewEvent>{{ViewEvent::Clear, {}, {}}})) << row.error;
        EXPECT_EQ(State().ZoneOffsetDays, row.zoneOffsetAfter) << row.error;
    }
}

TEST_F(CalculationCommandTest, CoordinatesThatAreNoNumbersFailAfterTheNewMoonListing) {
    view_.listing = true;
    view_.latitude = "55°45'";
    try {
        Run();
        ADD_FAILURE() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'55°45'' is not a valid floating point value");
    }
    const auto area = view_.ReportArea();
    ASSERT_EQ(area.size(), 16u);
    EXPECT_EQ(area.front(), "новолуния расчетного года");
    EXPECT_EQ(area.back(), " ");
    EXPECT_TRUE(days_.asked.empty());
    EXPECT_TRUE(view_.Texts(ViewEvent::PicturesEnabled).empty());
}

TEST_F(CalculationCommandTest, CoordinatesOffTheEarthEndTheCommandWithAMessage) {
    view_.listing = true;
    view_.latitude = "95";
    ASSERT_NO_THROW(Run());
    const std::vector<ViewEvent>& events = view_.events;
    ASSERT_EQ(events.size(), 1u + 16u + 1u);
    EXPECT_EQ(events.back(), (ViewEvent{ViewEvent::Message, "неверные географические данные", {}}));
    EXPECT_TRUE(days_.asked.empty());

    // The typed path does not look at the coordinates.
    view_.events.clear();
    view_.lunarDay = "7";
    Run();
    EXPECT_TRUE(view_.Texts(ViewEvent::Message).empty());
    EXPECT_EQ(view_.ReportArea().size(), 4u);
}

TEST_F(CalculationCommandTest, MissingCalendarDayIsReportedAndTheCommandGoesOn) {
    view_.birthDate = EncodeDateTime(1990, 5, 18);
    Run();
    ASSERT_EQ(days_.asked, (std::vector<std::pair<int, int>>{{5, 18}}));
    const std::vector<ViewEvent>& events = view_.events;
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[0].kind, ViewEvent::Clear);
    EXPECT_EQ(events[1],
              (ViewEvent{ViewEvent::Message,
                         "К сожалению соответствие не найдено, обратитесь к разработчику",
                         {}}));
    EXPECT_EQ(events[3].text, Blanks(37) + " кругу ");
    EXPECT_EQ(events[6].kind, ViewEvent::PicturesEnabled);
    EXPECT_EQ(State().PeriodWorld, "");
}

TEST_F(CalculationCommandTest, RecordWithoutWorldCountsAsNotFoundButGivesItsCircle) {
    days_.records[{5, 17}] = {"", "Пятому"};
    Run();
    EXPECT_EQ(
        view_.Texts(ViewEvent::Message),
        std::vector<std::string>{"К сожалению соответствие не найдено, обратитесь к разработчику"});
    EXPECT_EQ(view_.ReportArea()[1], Blanks(37) + "Пятому кругу ");
}

TEST_F(CalculationCommandTest, CalendarDayIsLookedUpByTheBirthDatesMonthAndDay) {
    view_.lunarDay = "3";
    view_.birthDate = EncodeDateTime(2024, 2, 29, 23, 59);
    Run();
    view_.birthDate = EncodeDateTime(1990, 1, 5);
    Run();
    EXPECT_EQ(days_.asked, (std::vector<std::pair<int, int>>{{2, 29}, {1, 5}}));
    EXPECT_EQ(State().DayWorld, "b");
    EXPECT_EQ(State().CircleName, "Первому");
}

TEST_F(CalculationCommandTest, DatabaseErrorEndsTheCommandWithTheListingsKept) {
    days_.fail = true;
    view_.listing = true;
    EXPECT_THROW(Run(), std::runtime_error);
    EXPECT_EQ(view_.ReportArea().size(), 16u + 43u);
    EXPECT_TRUE(view_.Texts(ViewEvent::PicturesEnabled).empty());
}

TEST_F(CalculationCommandTest, SecondRunReplacesTheFirstAndListingsPrecedeTheReport) {
    view_.listing = true;
    Run();
    view_.birthDate = EncodeDateTime(1990, 1, 5);
    Run();
    const auto area = view_.ReportArea();
    ASSERT_EQ(area.size(), 16u + 43u + 4u);
    EXPECT_EQ(area[0], "новолуния расчетного года");
    EXPECT_EQ(area[1], DateTimeToStr(State().NewMoonTable[0]));
    EXPECT_EQ(area[15], " ");
    EXPECT_EQ(area[16], "восходы лун от ближайшего новолуния");
    EXPECT_EQ(area[17], DateTimeToStr(State().MoonriseTable[0]));
    EXPECT_EQ(area[58], " ");
    EXPECT_EQ(area[59], Blanks(45) + "расчетный период соответствует");
    EXPECT_EQ(area[60], Blanks(37) + "Первому кругу " +
                            (State().PeriodWorld == "b"   ? "Верхнего мира (Прави)"
                             : State().PeriodWorld == "c" ? "Среднего мира (Яви)"
                                                          : "Нижнего мира (Нави)"));
    // The new moon before 5 January 1990 is that of 28 December 1989.
    EXPECT_EQ(DateTimeToStr(State().PrecedingNewMoon), "28.12.1989 7:20:00");
}

TEST_F(CalculationCommandTest, BirthAtANewMoonStartsLunarDayOneAndIsNoted) {
    Run();
    const TDateTime newMoon = State().NewMoonTable[4]; // 25.04.1990 8:27 at +4 hours
    ASSERT_EQ(DateTimeToStr(newMoon), "25.04.1990 8:27:00");
    view_.birthDate = DateOf(newMoon);

    struct Row {
        int second;
        bool noted;
        const char* name;
    } rows[] = {{0, true, "at the new moon"}, {59, true, "within its minute"}};
    for (const Row& row : rows) {
        view_.birthTime = EncodeDateTime(1899, 12, 30, 8, 27, row.second);
        Run();
        EXPECT_EQ(State().PrecedingNewMoon, newMoon) << row.name;
        EXPECT_EQ(State().LunarDay, 1) << row.name;
        EXPECT_EQ(State().NewMoonFlag, row.noted) << row.name;
        EXPECT_EQ(view_.ReportArea()[0],
                  Blanks(45) + "расчетный период соответствует (это новолуние)")
            << row.name;
    }

    view_.birthTime = EncodeDateTime(1899, 12, 30, 8, 26, 59);
    Run();
    EXPECT_FALSE(State().NewMoonFlag) << "a second before the new moon's minute";
    EXPECT_EQ(State().PrecedingNewMoon, State().NewMoonTable[3]);
}

TEST_F(CalculationCommandTest, BirthMomentTakesTheTimePickersTimeOfDayToTheSecond) {
    view_.birthTime = EncodeDateTime(2026, 12, 9, 14, 30, 15, 700);
    Run();
    EXPECT_EQ(State().CalculationMoment, EncodeDateTime(1990, 5, 17, 14, 30, 15));
}

} // namespace
} // namespace toravel

namespace toravel {
namespace {

// The outcome tells the caller how the command ended and which tables it
// wrote, without the caller reading message texts or marking the tables.
TEST_F(CalculationCommandTest, OutcomeSaysHowTheCommandEndedAndWhatItComputed) {
    using enum CalculationEnding;
    struct Row {
        const char* name;
        const char* latitude;
        const char* lunarDay;
        int month, day;
        bool databaseFails;
        CalculationEnding ending;
        const char* text;
        bool newMoons, moonrises;
    } const rows[] = {
        {"computed path", "55,7558", "", 5, 17, false, ReportWritten, "", true, true},
        {"typed lunar day", "55,7558", "7", 5, 17, false, ReportWritten, "", false, false},
        {"calendar day missing, report still written", "55,7558", "", 5, 18, false, ReportWritten,
         "", true, true},
        {"blank latitude", " ", "", 5, 17, false, StoppedByMessage, NoLatitudeMessage, false,
         false},
        {"latitude off the Earth", "95", "", 5, 17, false, StoppedByMessage,
         "неверные географические данные", true, false},
        {"latitude not a number", "55°45'", "", 5, 17, false, StoppedByError,
         "'55°45'' is not a valid floating point value", true, false},
        {"database unreadable", "55,7558", "", 5, 17, true, StoppedByError,
         "Could not find file '.\\DB\\bd.mdb'", true, true},
    };
    for (const Row& row : rows) {
        view_.latitude = row.latitude;
        view_.lunarDay = row.lunarDay;
        view_.birthDate = EncodeDateTime(1990, row.month, row.day);
        days_.fail = row.databaseFails;
        const CalculationOutcome outcome = RunCalculationCommandReportingErrors(view_, days_);
        EXPECT_EQ(outcome.ending, row.ending) << row.name;
        EXPECT_EQ(outcome.text, row.text) << row.name;
        EXPECT_EQ(outcome.newMoonsComputed, row.newMoons) << row.name;
        EXPECT_EQ(outcome.moonrisesComputed, row.moonrises) << row.name;

        // The window's form of the command ends alike, but throws the error.
        if (row.ending == StoppedByError) {
            EXPECT_ANY_THROW(RunCalculationCommand(view_, days_)) << row.name;
        } else {
            EXPECT_EQ(RunCalculationCommand(view_, days_).ending, row.ending) << row.name;
        }
    }
}

} // namespace
} // namespace toravel
