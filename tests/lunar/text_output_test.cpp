#include "lunar/text_output.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>
#include <string>

#include "astro/calendar.h"

namespace toravel {
namespace {

constexpr auto DateOnly = TimeTextFormat::DateOnly;
constexpr auto DecimalDay = TimeTextFormat::DecimalDay;
constexpr auto DecimalHours = TimeTextFormat::DecimalHours;
constexpr auto HoursMinutes = TimeTextFormat::HoursMinutes;
constexpr auto HoursMinutesSeconds = TimeTextFormat::HoursMinutesSeconds;

// The output must not depend on whether the stream carries the global locale
// or was given the classic one explicitly.
enum class StreamLocale { AsConstructed, Classic };

std::ostringstream MakeStream(StreamLocale locale) {
    std::ostringstream stream;
    if (locale == StreamLocale::Classic) {
        stream.imbue(std::locale::classic());
    }
    return stream;
}

std::string Written(const DateTimeText& value, StreamLocale locale) {
    std::ostringstream stream = MakeStream(locale);
    WriteDateTimeText(stream, value);
    return stream.str();
}

std::string Written(const ClockTimeText& value, StreamLocale locale) {
    std::ostringstream stream = MakeStream(locale);
    WriteClockTimeText(stream, value);
    return stream.str();
}

const double Mjd10000 = ModifiedJulianDate(10000, 1, 1, 0, 0, 0.0);

TEST(WriteDateTimeText, TextOfEachFormat) {
    struct Row {
        const char* name;
        double mjd;
        TimeTextFormat format;
        const char* text;
    } rows[] = {
        {"date of noon", 51544.5, DateOnly, "01.01.2000"},
        {"date ignores the time of day", 51544.99966, DateOnly, "01.01.2000"},
        {"date in a year of three digits", ModifiedJulianDate(800, 3, 9, 0, 0, 0.0), DateOnly,
         "09.03.0800"},
        {"five-digit year written whole", Mjd10000 + 0.25, DateOnly, "01.01.10000"},
        {"noon to the minute", 51544.5, HoursMinutes, "01.01.2000 12:00"},
        {"23:59:29.8 stays in its minute", 51544.99965, HoursMinutes, "01.01.2000 23:59"},
        {"23:59:30.6 carries into the next day", 51544.99966, HoursMinutes, "02.01.2000 00:00"},
        {"last half minute of the year", ModifiedJulianDate(2011, 12, 31, 23, 59, 45.0),
         HoursMinutes, "01.01.2012 00:00"},
        {"five-digit year with a time", Mjd10000 + 0.75, HoursMinutes, "01.01.10000 18:00"},
        {"decimal day, precision 6", 51544.75, DecimalDay, "2000/01/01.750000"},
        {"decimal hours", 51544.3, DecimalHours, "2000/01/01 07.2"},
        {"decimal hours round to the tenth", 51544.75 + 0.04 / 24, DecimalHours, "2000/01/01 18.0"},
        {"seconds", 51544.5 + 3725.4 / 86400, HoursMinutesSeconds, "2000/01/01 13:02:05"},
        {"seconds round half up", 51544.5 + 3725.6 / 86400, HoursMinutesSeconds,
         "2000/01/01 13:02:06"},
        {"no such format", 51544.5, static_cast<TimeTextFormat>(5), ""},
    };
    for (StreamLocale locale : {StreamLocale::AsConstructed, StreamLocale::Classic}) {
        for (const Row& r : rows) {
            EXPECT_EQ(Written(DateTimeText(r.mjd, r.format), locale), r.text)
                << r.name << ", mjd " << r.mjd << ", classic locale "
                << (locale == StreamLocale::Classic);
        }
    }
}

TEST(WriteClockTimeText, TextOfEachFormat) {
    struct Row {
        const char* name;
        double hours;
        TimeTextFormat format;
        const char* text;
    } rows[] = {
        {"half past seven", 7.5, HoursMinutes, "07:30"},
        {"12:59:24 rounds down", 12.99, HoursMinutes, "12:59"},
        {"23:59:29.98 stays in its minute", 23.99166, HoursMinutes, "23:59"},
        {"23:59:30.1 gives 24:00", 23.9917, HoursMinutes, "24:00"},
        {"just after midnight", 0.008, HoursMinutes, "00:00"},
        {"seconds", 7.5 + 5.4 / 3600, HoursMinutesSeconds, "07:30:05"},
        {"decimal hours keep the blank fill", 7.5, DecimalHours, " 7.5"},
        {"decimal hours, two digits", 23.96, DecimalHours, "24.0"},
        {"date only writes nothing", 7.5, DateOnly, ""},
        {"decimal day writes nothing", 7.5, DecimalDay, ""},
    };
    for (StreamLocale locale : {StreamLocale::AsConstructed, StreamLocale::Classic}) {
        for (const Row& r : rows) {
            EXPECT_EQ(Written(ClockTimeText(r.hours, r.format), locale), r.text)
                << r.name << ", hours " << r.hours << ", classic locale "
                << (locale == StreamLocale::Classic);
        }
    }
}

// The caller's stream arrives left-adjusted with a '*' fill, scientific
// notation and precision 3; each write leaves right adjustment, a blank fill
// after a zero-filled format, fixed notation after the decimal formats and
// precision 1 after decimal hours, and nothing else changed.
TEST(TextOutput, StreamStateLeftBehind) {
    struct Row {
        const char* name;
        bool clock; // ClockTimeText rather than DateTimeText
        TimeTextFormat format;
        const char* text;
        char fill;
        bool fixed;
        std::streamsize precision;
    } rows[] = {
        {"date", false, DateOnly, "01.01.2000", ' ', false, 3},
        {"decimal day", false, DecimalDay, "2000/01/01.750", ' ', true, 3},
        {"date-time decimal hours", false, DecimalHours, "2000/01/01 18.0", ' ', true, 1},
        {"date-time to the minute", false, HoursMinutes, "01.01.2000 18:00", ' ', false, 3},
        {"date-time to the second", false, HoursMinutesSeconds, "2000/01/01 18:00:00", ' ', false,
         3},
        {"date-time, no such format", false, static_cast<TimeTextFormat>(9), "", '*', false, 3},
        {"clock decimal hours", true, DecimalHours, "18.0", '*', true, 1},
        {"clock to the minute", true, HoursMinutes, "18:00", ' ', false, 3},
        {"clock to the second", true, HoursMinutesSeconds, "18:00:00", ' ', false, 3},
        {"clock date only", true, DateOnly, "", '*', false, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::ostringstream stream = MakeStream(StreamLocale::Classic);
        stream.setf(std::ios_base::left, std::ios_base::adjustfield);
        stream.setf(std::ios_base::scientific, std::ios_base::floatfield);
        stream.fill('*');
        stream.precision(3);
        if (r.clock) {
            WriteClockTimeText(stream, ClockTimeText(18.0, r.format));
        } else {
            WriteDateTimeText(stream, DateTimeText(51544.75, r.format));
        }
        EXPECT_EQ(stream.str(), r.text);
        EXPECT_EQ(stream.flags() & std::ios_base::adjustfield, std::ios_base::right);
        EXPECT_EQ(stream.fill(), r.fill);
        EXPECT_EQ(stream.flags() & std::ios_base::floatfield,
                  r.fixed ? std::ios_base::fixed : std::ios_base::scientific);
        EXPECT_EQ(stream.precision(), r.precision);
    }
}

TEST(TextOutput, WritesChainOnTheSameStream) {
    std::ostringstream stream = MakeStream(StreamLocale::Classic);
    WriteClockTimeText(WriteDateTimeText(stream, DateTimeText(51544.5, DateOnly)) << " ",
                       ClockTimeText(7.5, HoursMinutes))
        << " " << 42;
    // The blank fill left behind pads a later number that asks for width.
    stream.width(4);
    stream << 7;
    EXPECT_EQ(stream.str(), "01.01.2000 07:30 42   7");
}

TEST(CapturedTextFields, EachGroupHoldsTheLastTextOfItsFormat) {
    CapturedTextFields& captured = SharedCapturedTextFields();
    std::ostringstream sink = MakeStream(StreamLocale::Classic);

    WriteDateTimeText(sink, DateTimeText(51544.99966, DateOnly));
    WriteDateTimeText(sink, DateTimeText(51544.99966, HoursMinutes));
    WriteClockTimeText(sink, ClockTimeText(23.9917, HoursMinutes));
    // The date keeps its day; the minute carries the date-time into the next.
    EXPECT_EQ(captured.date.day, 1);
    EXPECT_EQ(captured.date.month, 1);
    EXPECT_EQ(captured.date.year, 2000);
    EXPECT_EQ(captured.dateTime.day, 2);
    EXPECT_EQ(captured.dateTime.month, 1);
    EXPECT_EQ(captured.dateTime.year, 2000);
    EXPECT_EQ(captured.dateTime.hour, 0);
    EXPECT_EQ(captured.dateTime.minute, 0);
    // No date to carry into: hour 24 is captured as printed.
    EXPECT_EQ(captured.clock.hour, 24);
    EXPECT_EQ(captured.clock.minute, 0);

    // Formats that capture nothing, and the other groups' formats, leave a
    // group as it was.
    for (TimeTextFormat format : {DecimalDay, DecimalHours, HoursMinutesSeconds}) {
        WriteDateTimeText(sink, DateTimeText(60000.3, format));
    }
    for (TimeTextFormat format : {DateOnly, DecimalDay, DecimalHours, HoursMinutesSeconds}) {
        WriteClockTimeText(sink, ClockTimeText(7.5, format));
    }
    EXPECT_EQ(captured.date.day, 1);
    EXPECT_EQ(captured.dateTime.day, 2);
    EXPECT_EQ(captured.dateTime.hour, 0);
    EXPECT_EQ(captured.clock.hour, 24);
    EXPECT_EQ(captured.clock.minute, 0);

    WriteDateTimeText(sink, DateTimeText(Mjd10000 + 0.75, HoursMinutes));
    EXPECT_EQ(captured.dateTime.year, 10000);
    EXPECT_EQ(captured.dateTime.hour, 18);
    EXPECT_EQ(captured.date.year, 2000);
    WriteDateTimeText(sink, DateTimeText(Mjd10000, DateOnly));
    EXPECT_EQ(captured.date.year, 10000);
    WriteClockTimeText(sink, ClockTimeText(7.5, HoursMinutes));
    EXPECT_EQ(captured.clock.hour, 7);
    EXPECT_EQ(captured.clock.minute, 30);
    EXPECT_EQ(captured.dateTime.hour, 18);
}

} // namespace
} // namespace toravel
