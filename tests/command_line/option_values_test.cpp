// Option values the command line reads itself: the birthplace's offset from
// Greenwich, the birth date in either form, and values quoted in messages.
#include "command_line/option_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/utf8_text.h"

namespace toravel::command_line {
namespace {

TEST(ParseUtcOffset, SignHoursAndMinutes) {
    const struct {
        const char* text;
        std::optional<int> seconds;
    } rows[] = {
        {"+03:00", 3 * 3600},
        {"+3", 3 * 3600},
        {"3", 3 * 3600},
        {"-05:30", -19800},
        {"+5:45", 5 * 3600 + 2700},
        {"0", 0},
        {"-00:00", 0},
        {"+14:00", 14 * 3600},
        {"-14", -14 * 3600},
        {"+14:01", std::nullopt},
        {"+15", std::nullopt},
        {"+03:60", std::nullopt},
        {"+03:6", std::nullopt},
        {"+03:", std::nullopt},
        {"+", std::nullopt},
        {"", std::nullopt},
        {"++3", std::nullopt},
        {"+003", std::nullopt},
        {"+03:00:00", std::nullopt},
        {" +03", std::nullopt},
        {"UTC+3", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseUtcOffset(row.text), row.seconds) << "«" << row.text << "»";
}

TEST(ParseBirthDate, DayFirstOrIsoAndOnlyRealDates) {
    EXPECT_EQ(ParseBirthDate("17.05.1990"), ParseBirthDate("1990-05-17"));
    EXPECT_EQ(ParseBirthDate("7.5.1990"), ParseBirthDate("1990-05-07"));
    for (const char* text : {"1990-5-17", "1990-02-30", "0001-01-01", "9999-01-01", "1990/05/17",
                             "17-05-1990", "1990-05-17T00:00", ""})
        EXPECT_FALSE(ParseBirthDate(text)) << text;
}

TEST(QuotedValue, ShortValidTextWhateverTheValue) {
    EXPECT_EQ(QuotedValue("Москва"), "«Москва»");
    EXPECT_EQ(QuotedValue(""), "«»");
    EXPECT_EQ(QuotedValue("a\tb\nc"), "«a?b?c»");
    EXPECT_EQ(QuotedValue("\xff\xd0"), "«??»");
    const std::string quoted = QuotedValue(std::string(100'000, 'x'));
    EXPECT_EQ(quoted, "«" + std::string(60, 'x') + "…»");
    std::string cyrillic;
    for (int i = 0; i < 100; ++i)
        cyrillic += "ж";
    const std::string cut = QuotedValue(cyrillic);
    EXPECT_TRUE(IsValidUtf8(cut)) << "never a character cut in two";
    EXPECT_EQ(CodePointCount(cut), 63u);
}

} // namespace
} // namespace toravel::command_line
