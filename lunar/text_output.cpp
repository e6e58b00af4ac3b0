#include "lunar/text_output.h"

#include <cmath>
#include <ios>

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
void BeginZeroFill(std::ostream& stream) { stream.fill('0'); }
void EndZeroFill(std::ostream& stream) { stream.fill(' '); }

}  // namespace

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
        BeginZeroFill(stream);
        WriteNumber(stream, day, 2);
        stream << '.';
        WriteNumber(stream, month, 2);
        stream << '.';
        WriteNumber(stream, year, 4);
        EndZeroFill(stream);
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
        break;  // no such format: nothing is written
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
        WriteFixed(stream, h, 1, 4);  // the fill character is left as it is
        break;
    case TimeTextFormat::HoursMinutes: {
        // No date to carry into: from 23:59:30 on this writes 24:00.
        const double r = std::floor(60.0 * h + 0.5) / 60.0 + 0.00001;
        DmsFromDegrees(r, hour, minute, second);
        BeginZeroFill(stream);
        WriteNumber(stream, hour, 2);
        stream << ':';
        WriteNumber(stream, minute, 2);
        EndZeroFill(stream);
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
        break;  // DateOnly and DecimalDay write nothing here
    }
    return stream;
}

}  // namespace toravel
