// The month of the lunar calendar as people type it, and the months the
// calendar can be made for.
#include "lunar/calendar_month.h"

#include <gtest/gtest.h>

#include <string>

#include "lunar/lunar_month_error.h"

namespace toravel {
namespace {

TEST(CalendarMonth, ReadsTheMonthsPeopleType) {
    const struct {
        const char* text;
        CalendarMonth month;
    } rows[] = {
        {"03.2026", {2026, 3}},  {"3.2026", {2026, 3}}, {" 12.2026\t", {2026, 12}},
        {"01.0002", {2, 1}},     {"1.2", {2, 1}},       {"12.9998", {9998, 12}},
        {"10.1582", {1582, 10}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseCalendarMonth(row.text), row.month) << row.text;
}

// Each refused text gets a message that quotes it and says what is wanted.
TEST(CalendarMonth, RefusesWhatIsNoMonthWithAMessageThatSaysWhy) {
    const struct {
        const char* text;
        const char* messagePart;
    } rows[] = {
        {"13.2026", "месяцы нумеруются от 01 до 12"},
        {"00.2026", "месяцы нумеруются от 01 до 12"},
        {"01.0001", "на годы от 2 до 9998"},
        {"12.9999", "на годы от 2 до 9998"},
        {"01.10000", "на годы от 2 до 9998"},
        {"01.0000", "на годы от 2 до 9998"},
        {"март", "нужен месяц в виде ММ.ГГГГ"},
        {"", "нужен месяц в виде ММ.ГГГГ"},
        {"2026.03", "нужен месяц в виде ММ.ГГГГ"},
        {"03-2026", "нужен месяц в виде ММ.ГГГГ"},
        {"03.2026.", "нужен месяц в виде ММ.ГГГГ"},
        {"+3.2026", "нужен месяц в виде ММ.ГГГГ"},
        {"03.20 26", "нужен месяц в виде ММ.ГГГГ"},
        {"03.9999999999", "нужен месяц в виде ММ.ГГГГ"},
    };
    for (const auto& row : rows) {
        try {
            ParseCalendarMonth(row.text);
            ADD_FAILURE() << "«" << row.text << "» was taken";
        } catch (const LunarMonthError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(row.messagePart), std::string::npos) << message;
            EXPECT_EQ(message.rfind(std::string("«") + row.text + "»", 0), 0u) << message;
        }
    }
}

TEST(CalendarMonth, AQuotedTextStaysShortAndValidUtf8) {
    const std::string longText(31, 'x');
    const std::string cyrillic = longText + "ЖЖЖЖЖЖЖЖЖЖ"; // 2-byte letters across the cut
    try {
        ParseCalendarMonth(cyrillic);
        FAIL();
    } catch (const LunarMonthError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("xЖЖЖЖ…»"), std::string::npos) << message;
    }
}

TEST(CalendarMonth, ChecksMonthsGivenAsNumbers) {
    EXPECT_NO_THROW(CheckCalendarMonth({2, 1}));
    EXPECT_NO_THROW(CheckCalendarMonth({9998, 12}));
    EXPECT_THROW(CheckCalendarMonth({1, 12}), LunarMonthError);
    EXPECT_THROW(CheckCalendarMonth({9999, 1}), LunarMonthError);
    EXPECT_THROW(CheckCalendarMonth({2026, 0}), LunarMonthError);
    EXPECT_THROW(CheckCalendarMonth({2026, 13}), LunarMonthError);
    EXPECT_THROW(CheckCalendarMonth({2026, -1}), LunarMonthError);
}

TEST(CalendarMonth, StepsAcrossTheYears) {
    EXPECT_EQ(NextCalendarMonth({2026, 12}), (CalendarMonth{2027, 1}));
    EXPECT_EQ(PreviousCalendarMonth({2027, 1}), (CalendarMonth{2026, 12}));
    EXPECT_EQ(NextCalendarMonth({2026, 3}), (CalendarMonth{2026, 4}));
    EXPECT_EQ(CalendarMonthText({2, 1}), "01.0002");
    EXPECT_EQ(CalendarMonthText({2026, 11}), "11.2026");
}

} // namespace
} // namespace toravel
