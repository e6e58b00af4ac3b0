// Text output of dates and times.
//
// Writing a value rounds it to the unit of its format, inserts the text into
// a stream and leaves the printed numbers in the process-wide
// CapturedTextFields; the lunar calendar reads those numbers back to build
// its TDateTime values. The rounding to the minute happens on the MJD, so a
// moment in the last half minute of a day is written as 00:00 of the next.
#pragma once

#include <cstdint>
#include <ostream>

namespace toravel {

enum class TimeTextFormat : std::uint8_t {
    DateOnly = 0,
    DecimalDay = 1,
    DecimalHours = 2,
    HoursMinutes = 3,
    HoursMinutesSeconds = 4,
};

// A moment given as an MJD, with its format.
struct DateTimeText {
    double mjd;
    TimeTextFormat format;
    DateTimeText(double mjd_, TimeTextFormat format_) : mjd(mjd_), format(format_) {}
};

// A time of day given in hours since midnight, with its format.
struct ClockTimeText {
    double hours;
    TimeTextFormat format;
    ClockTimeText(double hours_, TimeTextFormat format_) : hours(hours_), format(format_) {}
};

// The numbers of the last text written in each capturing format.
struct CapturedTextFields {
    struct {
        std::int32_t day = 0, month = 0, year = 0;
    } date; // DateTimeText in DateOnly
    struct {
        std::int32_t day = 0, month = 0, year = 0, hour = 0, minute = 0;
    } dateTime; // DateTimeText in HoursMinutes
    struct {
        std::int32_t hour = 0, minute = 0;
    } clock; // ClockTimeText in HoursMinutes
};

// The one process-wide record.
CapturedTextFields& SharedCapturedTextFields();

std::ostream& WriteDateTimeText(std::ostream& stream, const DateTimeText& value);
std::ostream& WriteClockTimeText(std::ostream& stream, const ClockTimeText& value);

} // namespace toravel
