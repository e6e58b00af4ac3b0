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

// Numbers go in with the stream's own formatting; the width applies to the
// next number only, and a longer number is written whole.
void WriteNumber(std::ostream& stream, int value, std::streamsize width) {
    stream.width(width);
    stream << value;
}

void WriteFixed(std::ostream& stream, double value, std::streamsize precision,
                std::streamsize width) {
    stream.setf(std::ios_base::fixed, std::ios_base::floatfield);
    stream.precision(precision);
    stream.width(width);
    stream << value;
}

// Zero-filled formats start with fill "0" and leave a blank behind,
// whatever the fill was before.
void BeginZeroFill(std::ostream& stream) {
    stream.fill('0');
}
void EndZeroFill(std::ostream& stream) {
    stream.fill(' ');
}

// Inserting numbers one by one through the stream's locale costs far more
// than the rest of a calculation's text output, and the working streams
// always format as the classic locale does in decimal. For such a stream the
// zero-filled texts are built here, the same characters, and written in one
// piece; any other stream gets the insertions themselves.
bool FormatsPlainDecimal(const std::ostream& stream) {
    const std::ios_base::fmtflags flags = stream.flags();
    const std::ios_base::fmtflags base = flags & std::ios_base::basefield;
    return stream.good() && (base == std::ios_base::dec || base == std::ios_base::fmtflags{}) &&
           !(flags & std::ios_base::showpos) && stream.getloc() == std::locale::classic();
}

class ZeroFilledText {
public:
    // The number right-adjusted in a field of the width, filled with "0",
    // as a stream set to fill "0" and right adjustment writes it.
    ZeroFilledText& Number(int value, int width) {
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
        data_[size_++] = c;
        return *this;
    }
    // Writes the text and leaves the stream as the insertions would: a
    // blank fill and no field width pending.
    void WriteTo(std::ostream& stream) const {
        stream.write(data_, static_cast<std::streamsize>(size_));
        stream.width(0);
        EndZeroFill(stream);
    }

private:
    char data_[64]; // the longest text, "dd.mm.yyyy hh:mm" with 11-digit numbers, fits
    std::size_t size_ = 0;
};

} // namespace

std::ostream& WriteDateTimeText(std::ostream& stream, const DateTimeText& value) {
    stream.setf(std::ios_base::right, std::ios_base::adjustfield);
    const double m = value.mjd;
    int year;
    int month;
    int day;
    int hour;
    int minute;
    double hours;
    double second;
    switch (value.format) {
    case TimeTextFormat::DateOnly: {
        CalendarFromMjd(m, year, month, day, hours);
        if (FormatsPlainDecimal(stream)) {
            ZeroFilledText()
                .Number(day, 2)
                .Char('.')
                .Number(month, 2)
                .Char('.')
                .Number(year, 4)
                .WriteTo(stream);
        } else {
            BeginZeroFill(stream);
            WriteNumber(stream, day, 2);
            stream << '.';
            WriteNumber(stream, month, 2);
            stream << '.';
            WriteNumber(stream, year, 4);
            EndZeroFill(stream);
        }
        CapturedTextFields& captured = SharedCapturedTextFields();
        captured.date.day = day;
        captured.date.month = month;
        captured.date.year = year;
        break;
    }
    case TimeTextFormat::DecimalDay: {
        CalendarFromMjd(m, year, month, day, hours);
        const std::streamsize p = stream.precision();
        BeginZeroFill(stream);
        WriteNumber(stream, year, 4);
        stream << '/';
        WriteNumber(stream, month, 2);
        stream << '/';
        WriteFixed(stream, day + hours / 24.0, p, p + 3);
        EndZeroFill(stream);
        break;
    }
    case TimeTextFormat::DecimalHours: {
        // To the tenth of an hour (1/240 day); the margin keeps the split
        // from landing on the unit below.
        const double r = std::floor(240.0 * m + 0.5) / 240.0 + 0.0001;
        CalendarFromMjd(r, year, month, day, hours);
        BeginZeroFill(stream);
        WriteNumber(stream, year, 4);
        stream << '/';
        WriteNumber(stream, month, 2);
        stream << '/';
        WriteNumber(stream, day, 2);
        stream << ' ';
        WriteFixed(stream, hours, 1, 4);
        EndZeroFill(stream);
        break;
    }
    case TimeTextFormat::HoursMinutes: {
        // Rounded on the MJD, so the last half minute of a day carries the
        // date into the next; 0.00001 day (0.864 s) keeps the minute whole.
        const double r = std::floor(1440.0 * m + 0.5) / 1440.0 + 0.00001;
        CalendarFromMjd(r, year, month, day, hour, minute, second);
        if (FormatsPlainDecimal(stream)) {
            ZeroFilledText()
                .Number(day, 2)
                .Char('.')
                .Number(month, 2)
                .Char('.')
                .Number(year, 4)
                .Char(' ')
                .Number(hour, 2)
                .Char(':')
                .Number(minute, 2)
                .WriteTo(stream);
        } else {
            BeginZeroFill(stream);
            WriteNumber(stream, day, 2);
            stream << '.';
            WriteNumber(stream, month, 2);
            stream << '.';
            WriteNumber(stream, year, 4);
            stream << ' ';
            WriteNumber(stream, hour, 2);
            stream << ':';
            WriteNumber(stream, minute, 2);
            EndZeroFill(stream);
        }
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
        BeginZeroFill(stream);
        WriteNumber(stream, year, 4);
        stream << '/';
        WriteNumber(stream, month, 2);
        stream << '/';
        WriteNumber(stream, day, 2);
        stream << ' ';
        WriteNumber(stream, hour, 2);
        stream << ':';
        WriteNumber(stream, minute, 2);
        stream << ':';
        WriteNumber(stream, static_cast<int>(second), 2);
        EndZeroFill(stream);
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
    int hour;
    int minute;
    double second;
    switch (value.format) {
    case TimeTextFormat::DecimalHours:
        WriteFixed(stream, h, 1, 4); // the fill character is left as it is
        break;
    case TimeTextFormat::HoursMinutes: {
        // No date to carry into: from 23:59:30 on this writes 24:00.
        const double r = std::floor(60.0 * h + 0.5) / 60.0 + 0.00001;
        DmsFromDegrees(r, hour, minute, second);
        if (FormatsPlainDecimal(stream)) {
            ZeroFilledText().Number(hour, 2).Char(':').Number(minute, 2).WriteTo(stream);
        } else {
            BeginZeroFill(stream);
            WriteNumber(stream, hour, 2);
            stream << ':';
            WriteNumber(stream, minute, 2);
            EndZeroFill(stream);
        }
        CapturedTextFields& captured = SharedCapturedTextFields();
        captured.clock.hour = hour;
        captured.clock.minute = minute;
        break;
    }
    case TimeTextFormat::HoursMinutesSeconds: {
        const double r = std::floor(3600.0 * h + 0.5) / 3600.0 + 0.0000001;
        DmsFromDegrees(r, hour, minute, second);
        BeginZeroFill(stream);
        WriteNumber(stream, hour, 2);
        stream << ':';
        WriteNumber(stream, minute, 2);
        stream << ':';
        WriteNumber(stream, static_cast<int>(second), 2);
        EndZeroFill(stream);
        break;
    }
    default:
        break; // DateOnly and DecimalDay write nothing here
    }
    return stream;
}

} // namespace toravel
