// Text conversions: every accepted and refused form with its exact message.
// Registered twice, under C.UTF-8 and under ru_RU.UTF-8 (process_locale.cpp
// takes the environment's locale first), so a conversion that depends on the
// machine's locale fails one of the two.
#include "platform/conversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/tdatetime.h"

namespace toravel {
namespace {

std::string MessageOf(void (*call)(std::string_view), std::string_view text) {
    try {
        call(text);
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(ProcessLocale, RussianRegistrationReallyRunsUnderTheRussianLocale) {
    if (std::getenv("TORAVEL_EXPECT_RUSSIAN_LOCALE") == nullptr)
        GTEST_SKIP() << "this registration does not run under the Russian locale";
    // Guards the trap itself: if the locale were not installed the conversion
    // tests would pass without proving anything.
    EXPECT_STREQ(std::localeconv()->decimal_point, ",")
        << "ru_RU.UTF-8 is missing: generate it with localedef -i ru_RU -f UTF-8 ru_RU.UTF-8";
    // The trap is set: the C library now stops at the dot.
    EXPECT_EQ(std::strtod("55.75", nullptr), 55.0);
}

TEST(StrToInt, AcceptedForms) {
    const struct {
        const char* text;
        int expected;
    } rows[] = {
        {"0", 0},
        {"00", 0},
        {"7", 7},
        {" 7", 7},
        {"\t  7", 7},
        {"+7", 7},
        {"-5", -5},
        {"  -05", -5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0002147483647", 2147483647},
    };
    for (const auto& r : rows)
        EXPECT_EQ(StrToInt(r.text), r.expected) << '"' << r.text << '"';
}

TEST(StrToInt, RefusedFormsNameTheText) {
    const char* refused[] = {"",
                             " ",
                             "7 ",
                             "7\t",
                             "- 5",
                             "+-5",
                             "--5",
                             "1e3",
                             "1,0",
                             "1.0",
                             "0x1F",
                             "$1F",
                             "abc",
                             "12a",
                             "+",
                             "-",
                             "2147483648",
                             "-2147483649",
                             "99999999999999999999"};
    for (const char* text : refused) {
        EXPECT_EQ(MessageOf([](std::string_view t) { StrToInt(t); }, text),
                  std::string("'") + text + "' is not a valid integer value");
    }
}

TEST(StrToFloat, AcceptedForms) {
    const struct {
        const char* text;
        double expected;
    } rows[] = {
        {"55,75", 55.75},
        {"55.75", 55.75},
        {"-37,617", -37.617},
        {"+0,5", 0.5},
        {"55", 55.0},
        {"55,", 55.0},
        {",5", 0.5},
        {" 55,45 ", 55.45},
        {"0", 0.0},
        {"1e3", 1000.0},
        {"1,5E-2", 0.015},
        {"-0", -0.0},
        {"179,99999999999999", 179.99999999999999},
        // Near the ends of the doubles, as std::from_chars rounds them.
        {"1e-310", 1e-310},
        {"3e-324", 4.9406564584124654e-324},
        {"0e999", 0.0},
        {"1,7976931348623158e308", 1.7976931348623157e308},
    };
    for (const auto& r : rows)
        EXPECT_EQ(StrToFloat(r.text), r.expected) << '"' << r.text << '"';
    EXPECT_TRUE(std::signbit(StrToFloat("-0,0")));
}

TEST(StrToFloat, RefusedFormsNameTheText) {
    const char* refused[] = {"", " ", ",", ".", "-", "55,75,1", "1,2.3", "55 75", "55°45", "inf",
                             "nan", "-INF", "NaN", "infinity", "0x1p3", "0x10", "1e", "1e+", "e5",
                             "1,5e2.5", "55'", "1e999", "--1", "12abc",
                             // beyond the doubles either way
                             "1e-400", "2e-324", "1,7976931348623159e308"};
    for (const char* text : refused) {
        EXPECT_EQ(MessageOf([](std::string_view t) { StrToFloat(t); }, text),
                  std::string("'") + text + "' is not a valid floating point value");
    }
}

TEST(StrToDateTime, AcceptedForms) {
    const struct {
        const char* text;
        TDateTime expected;
    } rows[] = {
        {"17.05.1990", EncodeDateTime(1990, 5, 17)},
        {"17.5.1990", EncodeDateTime(1990, 5, 17)},
        {"7.1.2000 0:0", EncodeDateTime(2000, 1, 7)},
        {"17.5.1990 14:30", EncodeDateTime(1990, 5, 17, 14, 30)},
        {"17.05.1990 14:30:15", EncodeDateTime(1990, 5, 17, 14, 30, 15)},
        {"17.05.1990 04:05:06", EncodeDateTime(1990, 5, 17, 4, 5, 6)},
        {"29.2.2000 23:59:59", EncodeDateTime(2000, 2, 29, 23, 59, 59)},
        {"1.1.1", EncodeDateTime(1, 1, 1)},
        {"01.01.0001", EncodeDateTime(1, 1, 1)},
        {"31.12.9999 23:59", EncodeDateTime(9999, 12, 31, 23, 59)},
        {"5.6.90", EncodeDateTime(90, 6, 5)}, // the year is taken literally
        // Blanks around the whole text are a user's typing, not a new form.
        {"  17.05.1990 14:30  ", EncodeDateTime(1990, 5, 17, 14, 30)},
        {"17.05.1990 ", EncodeDateTime(1990, 5, 17)},
    };
    for (const auto& r : rows)
        EXPECT_EQ(StrToDateTime(r.text), r.expected) << '"' << r.text << '"';
}

TEST(StrToDateTime, RefusedFormsNameTheText) {
    const char* refused[] = {
        "",
        " ",
        "17.05",
        "17.05.",
        "17/05/1990",
        "1990-05-17",
        "17.05.1990 14",
        "17.05.1990 14:",
        "17.05.1990 14:30:",
        "17.05.1990  14:30",
        "17.05.1990T14:30",
        "17.05.1990 14:30:15.5",
        "17.05.1990 14.30",
        "32.01.2000",
        "0.1.2000",
        "29.02.1900",
        "31.04.2000",
        "1.13.2000",
        "1.0.2000",
        "1.1.0",
        "1.1.10000",
        "1.1.00001",
        "001.1.2000",
        "1.1.2000 24:00",
        "1.1.2000 23:60",
        "1.1.2000 0:0:60",
        "1.1.2000 -1:00",
        "1.1.2000 123:0",
        "+1.1.2000",
        "1.1.2000 0:00 x",
        "١.1.2000",
    };
    for (const char* text : refused) {
        EXPECT_EQ(MessageOf([](std::string_view t) { StrToDateTime(t); }, text),
                  std::string("'") + text + "' is not a valid date and time");
    }
}

TEST(DateTimeToStr, ShortDateBlankLongTime) {
    const struct {
        TDateTime value;
        const char* expected;
    } rows[] = {
        {EncodeDateTime(1990, 5, 17, 14, 30), "17.05.1990 14:30:00"},
        {EncodeDateTime(1990, 5, 17, 4, 5, 6), "17.05.1990 4:05:06"},
        {EncodeDateTime(1990, 5, 17, 0, 0, 1), "17.05.1990 0:00:01"},
        {EncodeDateTime(2000, 1, 7, 0, 1), "07.01.2000 0:01:00"},
        {EncodeDateTime(1, 1, 1, 23, 59, 59), "01.01.0001 23:59:59"},
        {EncodeDateTime(1899, 12, 29, 18, 0), "29.12.1899 18:00:00"},
        {EncodeDateTime(1990, 5, 17, 14, 30, 29, 499), "17.05.1990 14:30:29"},
        {EncodeDateTime(1990, 5, 17, 14, 30, 29, 500), "17.05.1990 14:30:30"},
        {EncodeDateTime(1990, 5, 17, 14, 59, 59, 700), "17.05.1990 15:00:00"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(DateTimeToStr(r.value), r.expected);
}

TEST(DateTimeToStr, MidnightIsTheTenCharacterDateAlone) {
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(1990, 5, 17)), "17.05.1990");
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(1, 1, 1)), "01.01.0001");
    EXPECT_EQ(DateTimeToStr(-1.0), "29.12.1899");
    // Every minute of a day but midnight prints with its time.
    const TDateTime day = EncodeDateTime(2012, 2, 29);
    for (int minute = 0; minute < 1440; ++minute) {
        const std::string text =
            DateTimeToStr(EncodeDateTime(2012, 2, 29, minute / 60, minute % 60));
        EXPECT_EQ(text.size() == 10, minute == 0) << text;
        EXPECT_EQ(StrToDateTime(text), day + minute * 60000.0 / 86400000.0) << text;
    }
}

TEST(DateTimeToStr, AHairBelowMidnightCarriesIntoTheNextDay) {
    // Rounded to the second this is the next midnight: never "24:00:00",
    // "23:59:60" or the old date with a time of 0:00:00.
    const TDateTime nextDay = EncodeDateTime(1990, 5, 18);
    for (const double hair : {1e-9, 1e-8, 3.0 / 86400000.0, 499.0 / 86400000.0}) {
        EXPECT_EQ(DateTimeToStr(nextDay - hair), "18.05.1990") << "hair " << hair;
        EXPECT_EQ(TimeToStr(nextDay - hair), "0:00:00") << "hair " << hair;
    }
    EXPECT_EQ(DateTimeToStr(nextDay - 501.0 / 86400000.0), "17.05.1990 23:59:59");
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(1990, 12, 31, 23, 59, 59, 999)), "01.01.1991");
    EXPECT_THROW(DateTimeToStr(EncodeDateTime(9999, 12, 31, 23, 59, 59, 999)), std::out_of_range);
}

TEST(DateToStrAndTimeToStr, FixedRussianFormats) {
    EXPECT_EQ(DateToStr(EncodeDateTime(1990, 5, 17, 14, 30)), "17.05.1990");
    EXPECT_EQ(DateToStr(EncodeDateTime(812, 3, 4)), "04.03.0812");
    EXPECT_EQ(TimeToStr(0.125), "3:00:00");
    EXPECT_EQ(TimeToStr(5.5 / 24), "5:30:00");
    EXPECT_EQ(TimeToStr(0.0), "0:00:00");
    EXPECT_EQ(TimeToStr(EncodeDateTime(1990, 5, 17, 23, 59, 59)), "23:59:59");
}

} // namespace
} // namespace toravel
