// TDateTime encoder and decoder: days since 30.12.1899 0h, years 1 to 9999.
// Dates up to 4.10.1582 are Julian, from 15.10.1582 on Gregorian, the same
// calendar as the astronomical library's, so a date's fields mean the same
// day on both sides and a date written by one is always readable by the
// other (29.2.1500 exists in both); the ten dates between do not exist.
// Day numbers come from exact integer counts; the time of day is whole
// milliseconds / 86 400 000.
#include "platform/tdatetime.h"

#include <cmath>
#include <cstdint>
#include <ctime>
#include <stdexcept>

namespace toravel {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// Days from 1 March of year 0 (proleptic Gregorian) to the given date,
// counted in 400-year eras of 146 097 days so that everything stays integer.
constexpr std::int64_t DaysFromMarchOfYearZero(int year, int month, int day) {
    const std::int64_t y = month <= 2 ? year - 1 : year; // the year starts in March
    const std::int64_t era = y / 400;                    // y >= 0 for years 1..9999
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t shiftedMonth = month > 2 ? month - 3 : month + 9; // March = 0
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

// The day number of 30 December 1899 on the same count.
constexpr std::int64_t kEpochDays = DaysFromMarchOfYearZero(1899, 12, 30);

// Julian day number of a Julian-calendar date, and the serial of 30.12.1899.
constexpr std::int64_t JulianCalendarDayNumber(int year, int month, int day) {
    const std::int64_t a = (14 - month) / 12;
    const std::int64_t y = year + 4800 - a;
    const std::int64_t m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
}
constexpr std::int64_t kEpochDayNumber = 2415019;

constexpr bool IsJulianDate(int year, int month, int day) {
    return 10000 * year + 100 * month + day <= 15821004;
}

constexpr std::int64_t SerialDay(int year, int month, int day) {
    if (IsJulianDate(year, month, day)) {
        return JulianCalendarDayNumber(year, month, day) - kEpochDayNumber;
    }
    return DaysFromMarchOfYearZero(year, month, day) - kEpochDays;
}

// The first Gregorian day, 15.10.1582, follows the last Julian one, 4.10.1582.
constexpr std::int64_t kFirstGregorianSerialDay =
    DaysFromMarchOfYearZero(1582, 10, 15) - kEpochDays;
static_assert(kFirstGregorianSerialDay - 1 ==
              JulianCalendarDayNumber(1582, 10, 4) - kEpochDayNumber);

void JulianCivilFromSerialDay(std::int64_t serial, int& year, int& month, int& day) {
    const std::int64_t c = serial + kEpochDayNumber + 32082;
    const std::int64_t d = (4 * c + 3) / 1461;
    const std::int64_t e = c - 1461 * d / 4;
    const std::int64_t m = (5 * e + 2) / 153;
    day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    month = static_cast<int>(m + 3 - 12 * (m / 10));
    year = static_cast<int>(d - 4800 + m / 10);
}

void CivilFromSerialDay(std::int64_t serial, int& year, int& month, int& day) {
    if (serial < kFirstGregorianSerialDay) {
        JulianCivilFromSerialDay(serial, year, month, day);
        return;
    }
    const std::int64_t z = serial + kEpochDays; // >= 0 for years 1..9999
    const std::int64_t era = z / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr bool IsLeapYear(int year) {
    if (year < 1582) { // Julian rule; 1582 itself is common in both
        return year % 4 == 0;
    }
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int kDaysOfMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr int DaysInMonth(int year, int month) {
    return month == 2 && IsLeapYear(year) ? 29 : kDaysOfMonth[month - 1];
}

constexpr std::int64_t kFirstSerialDay = SerialDay(1, 1, 1);
constexpr std::int64_t kLastSerialDay = SerialDay(9999, 12, 31);

} // namespace

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                       int millisecond, TDateTime& result) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59 || millisecond < 0 || millisecond > 999)
        return false;
    if (year == 1582 && month == 10 && day > 4 && day < 15) // skipped by the calendar reform
        return false;
    const std::int64_t msOfDay =
        ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
    // The one encoding rule: a single division for the time of day, so that
    // equal fields always give the same double.
    result = static_cast<double>(SerialDay(year, month, day)) +
             static_cast<double>(msOfDay) / static_cast<double>(kMillisecondsPerDay);
    return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
    TDateTime result = 0;
    if (!TryEncodeDateTime(year, month, day, hour, minute, second, millisecond, result))
        throw std::invalid_argument("EncodeDateTime: a date or time field is out of range");
    return result;
}

void DecodeDateTime(TDateTime t, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& millisecond) {
    const double whole = std::floor(t);
    if (!std::isfinite(t) || whole < static_cast<double>(kFirstSerialDay) ||
        whole > static_cast<double>(kLastSerialDay))
        throw std::out_of_range("TDateTime value outside the years 1 to 9999");
    auto serial = static_cast<std::int64_t>(whole);
    auto msOfDay = static_cast<std::int64_t>(
        std::llround((t - whole) * static_cast<double>(kMillisecondsPerDay)));
    if (msOfDay >= kMillisecondsPerDay) { // within half a millisecond of the next midnight
        msOfDay -= kMillisecondsPerDay;
        ++serial;
        if (serial > kLastSerialDay)
            throw std::out_of_range("TDateTime value outside the years 1 to 9999");
    }
    CivilFromSerialDay(serial, year, month, day);
    millisecond = static_cast<int>(msOfDay % 1000);
    const std::int64_t seconds = msOfDay / 1000;
    second = static_cast<int>(seconds % 60);
    minute = static_cast<int>(seconds / 60 % 60);
    hour = static_cast<int>(seconds / 3600);
}

TDateTime DateOf(TDateTime t) {
    return std::floor(t);
}

double TimeOf(TDateTime t) {
    return t - std::floor(t);
}

TDateTime Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min,
                          local.tm_sec > 59 ? 59 : local.tm_sec, // a leap second
                          static_cast<int>(now.tv_nsec / 1'000'000));
}

TDateTime Today() {
    return DateOf(Now());
}

} // namespace toravel
