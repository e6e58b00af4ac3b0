#include "lunar/text_output.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <ios>
#include <locale>

#include "astro/calendar.h"
#include "astro/sexagesimal.h"

namespace toravel {

CapturedTextFields& SharedCapturedTextFields() {
    static CapturedTextFields fields;
    return fields;
}

namespace {

// A real in fixed notation with the stream's own formatting; the width
// applies to this number only.
void WriteFixed(std::ostream& stream, double value, std::streamsize precision,
                std::streamsize width) {
    stream.setf(std::ios_base::fixed, std::ios_base::floatfield);
    stream.precision(precision);
    stream.width(width);
    stream << value;
}

// Zero-filled text: each number right-adjusted in a field of its width and
// filled with "0", the characters between the numbers as they stand, reals
// in fixed notation. Afterwards the stream's fill is a blank and no field
// width is pending, whatever the fill was before: the state the insertions
// of such a text leave behind.
//
// Inserting the numbers one by one through the stream's locale costs far
// more than the rest of a calculation's text output, and the working
// streams always format as the classic locale does in decimal. For such a
// stream the integers and characters are gathered here, the same characters
// the insertions would make, and written in one piece; any other stream
// gets the insertions themselves.
class ZeroFilledText {
public:
    explicit ZeroFilledText(std::ostream& stream)
        : stream_(stream), gathering_(FormatsPlainDecimal(stream)) {
        if (!gathering_)
            stream_.fill('0');
    }
    ZeroFilledText(const ZeroFilledText&) = delete;
    ZeroFilledText& operator=(const ZeroFilledText&) = delete;

    ZeroFilledText& Number(int value, int width) {
        if (!gathering_) {
            stream_.width(width);
            stream_ << value;
            return *this;
        }
        char digits[16];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        const auto length = static_cast<int>(result.ptr - digits);
        for (int n = length; n < width; ++n)
            data_[size_++] = '0';
        for (const char* c = digits; c != result.ptr; ++c)
            data_[size_++] = *c;
        return *this;
    }

    ZeroFilledText& Char(char c) {
        if (!gathering_) {
            stream_ << c;
            return *this;
        }
        data_[size_++] = c;
        return *this;
    }

    // DD.MM.YYYY
    ZeroFilledText& DottedDate(int day, int month, int year) {
        return Number(day, 2).Char('.').Number(month, 2).Char('.').Number(year, 4);
    }

    // YYYY/MM/, the day to follow
    ZeroFilledText& YearMonth(int year, int month) {
        return Number(year, 4).Char('/').Number(month, 2).Char('/');
    }

    // HH:MM
    ZeroFilledText& Clock(int hour, int minute) {
        return Number(hour, 2).Char(':').Number(minute, 2);
    }

    // HH:MM:SS, the seconds truncated to a whole number
    ZeroFilledText& ClockWithSeconds(int hour, int minute, double second) {
        return Clock(hour, minute).Char(':').Number(static_cast<int>(second), 2);
    }

    // A real in fixed notation; always inserted by the stream.
    ZeroFilledText& Fixed(double value, std::streamsize precision, std::streamsize width) {
        Flush();
        stream_.fill('0');
        WriteFixed(stream_, value, precision, width);
        return *this;
    }

    // Writes what is gathered and leaves a blank fill and no width pending.
    void End() {
        Flush();
        stream_.width(0);
        stream_.fill(' ');
    }

private:
    // A stream that formats integers as the classic locale does in decimal.
    static bool FormatsPlainDecimal(const std::ostream& stream) {
        const std::ios_base::fmtflags flags = stream.flags();
        const std::ios_base::fmtflags base = flags & std::ios_base::basefield;
        return stream.good() && (base == std::ios_base::dec || base == std::ios_base::fmtflags{}) &&
               !(flags & std::ios_base::showpos) && stream.getloc() == std::locale::classic();
    }

    void Flush() {
        if (size_ > 0)
            stream_.write(data_, static_cast<std::streamsize>(size_));
        size_ = 0;
    }

    std::ostream& stream_;
    const bool gathering_;
    // The longest text, six numbers of up to 11 characters in fields of at
    // most 4 and five characters between them, takes 71.
    char data_[80];
    std::size_t size_ = 0;
};

} // namespace

std::ostream& WriteDateTimeText(std::ostream& stream, const DateTimeText& value) {
    stream.setf(std::ios_base::right, std::ios_base::adjustfield);
    const double m = value.mjd;
    int year, month, day, hour, minute;
    double hours, second;
    switch (value.format) {
    case TimeTextFormat::DateOnly: {
        CalendarFromMjd(m, year, month, day, hours);
        ZeroFilledText(stream).DottedDate(day, month, year).End();
        CapturedTextFields& captured = SharedCapturedTextFields();
        captured.date.day = day;
        captured.date.month = month;
        captured.date.year = year;
        break;
    }
    case TimeTextFormat::DecimalDay: {
        CalendarFromMjd(m, year, month, day, hours);
        const std::streamsize p = stream.precision();
        ZeroFilledText(stream).YearMonth(year, month).Fixed(day + hours / 24.0, p, p + 3).End();
        break;
    }
    case TimeTextFormat::DecimalHours: {
        // To the tenth of an hour (1/240 day); the margin keeps the split
        // from landing on the unit below.
        const double r = std::floor(240.0 * m + 0.5) / 240.0 + 0.0001;
        CalendarFromMjd(r, year, month, day, hours);
        ZeroFilledText(stream)
            .YearMonth(year, month)
            .Number(day, 2)
            .Char(' ')
            .Fixed(hours, 1, 4)
            .End();
        break;
    }
    case TimeTextFormat::HoursMinutes: {
        // Rounded on the MJD, so the last half minute of a day carries the
        // date into the next; 0.00001 day (0.864 s) keeps the minute whole.
        const double r = std::floor(1440.0 * m + 0.5) / 1440.0 + 0.00001;
        CalendarFromMjd(r, year, month, day, hour, minute, second);
        ZeroFilledText(stream).DottedDate(day, month, year).Char(' ').Clock(hour, minute).End();
        CapturedTextFields& captured = SharedCapturedTextFields();
        captured.dateTime.day = day;
        captured.dateTime.month = month;
        captured.dateTime.year = year;
        captured.dateTime.hour = hour;
        captured.dateTime.minute = minute;
        break;
    }
    case TimeTextFormat::HoursMinutesSeconds: {
        const double r = std::floor(86400.0 * m + 0.5) / 86400.0 + 0.000001;
        CalendarFromMjd(r, year, month, day, hour, minute, second);
        ZeroFilledText(stream)
            .YearMonth(year, month)
            .Number(day, 2)
            .Char(' ')
            .ClockWithSeconds(hour, minute, second)
            .End();
        break;
    }
    default:
        break; // no such format: nothing is written
    }
    return stream;
}

std::ostream& WriteClockTimeText(std::ostream& stream, const ClockTimeText& value) {
    stream.setf(std::ios_base::right, std::ios_base::adjustfield);
    const double h = value.hours;
    int hour, minute;
    double second;
    switch (value.format) {
    case TimeTextFormat::DecimalHours:
        WriteFixed(stream, h, 1, 4); // the fill character is left as it is
        break;
    case TimeTextFormat::HoursMinutes: {
        // No date to carry into: from 23:59:30 on this writes 24:00.
        const double r = std::floor(60.0 * h + 0.5) / 60.0 + 0.00001;
        DmsFromDegrees(r, hour, minute, second);
        ZeroFilledText(stream).Clock(hour, minute).End();
        CapturedTextFields& captured = SharedCapturedTextFields();
        captured.clock.hour = hour;
        captured.clock.minute = minute;
        break;
    }
    case TimeTextFormat::HoursMinutesSeconds: {
        const double r = std::floor(3600.0 * h + 0.5) / 3600.0 + 0.0000001;
        DmsFromDegrees(r, hour, minute, second);
        ZeroFilledText(stream).ClockWithSeconds(hour, minute, second).End();
        break;
    }
    default:
        break; // DateOnly and DecimalDay write nothing here
    }
    return stream;
}

} // namespace toravel
