#include "horoscope/report.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/horoscope/fake_view.h"

namespace toravel {
namespace {

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

CalculationState TypedState(std::int32_t lunarDay, std::string circle, std::string period) {
    CalculationState state;
    state.GivenLunarDay = lunarDay;
    state.LunarDay = lunarDay;
    state.CircleName = std::move(circle);
    state.PeriodWorld = std::move(period);
    return state;
}

TEST(ComposeReport, TypedLunarDaySevenOfTheUpperWorld) {
    const Report report = ComposeReport(TypedState(7, "Третьему", "b"));
    EXPECT_EQ(report[0].text,
              " вы указали, что расчетная дата является 7 лунным днем, что соответствует ");
    EXPECT_EQ(report[1].text, Blanks(37) + "Третьему кругу Верхнего мира (Прави)");
    EXPECT_EQ(report[2].text, Blanks(52) + "Славянского Мироздания");
    EXPECT_EQ(report[3].text, Blanks(49) + "7 лунный день");
}

TEST(ComposeReport, LinesCarryTheirBoldSizeAndColour) {
    const Report report = ComposeReport(TypedState(7, "Третьему", "b"));
    EXPECT_EQ(report[0].format, (CharacterFormat{true, 12, 0, 0, 0}));
    EXPECT_EQ(report[1].format, (CharacterFormat{true, 16, 255, 0, 0}));
    EXPECT_EQ(report[2].format, (CharacterFormat{true, 12, 0, 0, 0}));
    EXPECT_EQ(report[3].format, (CharacterFormat{true, 15, 255, 0, 255}));
}

TEST(ComposeReport, DayNotFoundLeavesLineTwoWithoutCircleOrWorld) {
    const Report report = ComposeReport(TypedState(7, "", ""));
    EXPECT_EQ(report[1].text, Blanks(37) + " кругу ");
    EXPECT_EQ(report[3].text, Blanks(49) + "7 лунный день");
}

TEST(ComposeReport, LunarDayOutsideTheTableIsShownUnchangedWithoutWorld) {
    for (std::int32_t day : {-5, 31, 2147483647, -2147483647 - 1}) {
        const Report report = ComposeReport(TypedState(day, "Первому", ""));
        EXPECT_EQ(report[1].text, Blanks(37) + "Первому кругу ") << day;
        EXPECT_EQ(report[3].text, Blanks(49) + std::to_string(day) + " лунный день") << day;
    }
}

TEST(ComposeReport, ComputedPathNamesThePeriodAndNotesANewMoonBirth) {
    CalculationState state;
    state.LunarDay = 0;
    state.CircleName = "Второму";
    state.PeriodWorld = "h";
    Report report = ComposeReport(state);
    EXPECT_EQ(report[0].text, Blanks(45) + "расчетный период соответствует");
    EXPECT_EQ(report[1].text, Blanks(37) + "Второму кругу Нижнего мира (Нави)");
    EXPECT_EQ(report[3].text, Blanks(49) + "0 лунный день");

    state.NewMoonFlag = true;
    report = ComposeReport(state);
    EXPECT_EQ(report[0].text, Blanks(45) + "расчетный период соответствует (это новолуние)");

    // The note belongs to the computed path only.
    state.GivenLunarDay = 3;
    report = ComposeReport(state);
    EXPECT_EQ(report[0].text.find("новолуние"), std::string::npos);
}

TEST(WriteReport, AppendsTheFourLinesInOrderAndEmptiesTheLineBeingComposed) {
    CalculationState& shared = SharedCalculationState();
    const CalculationState saved = shared;
    shared = TypedState(12, "Четвертому", "c");
    testing::FakeView view;
    WriteReport(view);

    const Report expected = ComposeReport(shared);
    ASSERT_EQ(view.events.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(view.events[i].kind, testing::ViewEvent::FormattedLine) << "line " << i + 1;
        EXPECT_EQ(view.events[i].text, expected[i].text) << "line " << i + 1;
        EXPECT_EQ(view.events[i].format, expected[i].format) << "line " << i + 1;
    }
    EXPECT_EQ(shared.LunarDayText, "");
    shared = saved;
}

} // namespace
} // namespace toravel
