#include "horoscope/world_classification.h"

#include <gtest/gtest.h>

#include <string>

namespace toravel {
namespace {

TEST(WorldOfLunarDay, GivesTheTableRowAndNothingOutsideOneToThirty) {
    struct Row {
        std::int32_t lunarDay;
        const char* world;
    } rows[] = {
        {1, "c"},
        {2, "b"},
        {5, "h"},
        {12, "h"},
        {17, "h"},
        {21, "b"},
        {25, "h"},
        {26, "h"},
        {27, "c"},
        {29, "b"},
        {30, "c"},
        {0, ""},
        {31, ""},
        {-1, ""},
        {-5, ""},
        {2147483647, ""},
        {-2147483647 - 1, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(WorldOfLunarDay(row.lunarDay), row.world) << "lunar day " << row.lunarDay;
    }
}

TEST(WorldOfLunarDay, HasTwelveUpperThirteenMiddleAndFiveLowerDays) {
    int upper = 0, middle = 0, lower = 0;
    for (std::int32_t day = 1; day <= 30; ++day) {
        const std::string world = WorldOfLunarDay(day);
        upper += world == "b";
        middle += world == "c";
        lower += world == "h";
    }
    EXPECT_EQ(upper, 12);
    EXPECT_EQ(middle, 13);
    EXPECT_EQ(lower, 5);
}

TEST(CombineWorlds, FollowsTheNineRulesInEitherOrder) {
    struct Row {
        const char* day;
        const char* lunar;
        const char* period;
    } rows[] = {
        {"b", "b", "b"}, {"c", "c", "c"}, {"h", "h", "h"}, // equal worlds
        {"b", "c", "c"}, {"c", "b", "c"},                  // Upper with Middle: Middle
        {"b", "h", "b"}, {"h", "b", "b"},                  // Upper with Lower: Upper
        {"c", "h", "h"}, {"h", "c", "h"},                  // Middle with Lower: Lower
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CombineWorlds(row.day, row.lunar), row.period)
            << "day world " << row.day << ", lunar world " << row.lunar;
    }
}

TEST(CombineWorlds, MatchesNoRuleForAnythingButTheExactLetters) {
    const char* unknown[] = {"", "B", "b ", " b", "bb", "x", "\xd0\xb1"};
    for (const char* letter : unknown) {
        for (const char* known : {"b", "c", "h"}) {
            EXPECT_EQ(CombineWorlds(letter, known), "") << "day world '" << letter << "'";
            EXPECT_EQ(CombineWorlds(known, letter), "") << "lunar world '" << letter << "'";
        }
    }
}

TEST(WorldName, NamesTheThreeWorldsInTheGenitive) {
    EXPECT_EQ(WorldName("b"), "Верхнего мира (Прави)");
    EXPECT_EQ(WorldName("c"), "Среднего мира (Яви)");
    EXPECT_EQ(WorldName("h"), "Нижнего мира (Нави)");
    EXPECT_EQ(WorldName(""), "");
    EXPECT_EQ(WorldName("H"), "");
}

} // namespace
} // namespace toravel
