#include "place/posix_zone_rule.h"

#include <cstddef>

namespace toravel {
namespace {

constexpr int SecondsPerHour = 3600;
constexpr std::int64_t SecondsPerDay = 86400;

// A reader over the TZ string that fails once and stays failed.
class TzText {
public:
    explicit TzText(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ == text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char c) {
        if (Peek() != c)
            return false;
        ++pos_;
        return true;
    }

    // A zone abbreviation: "<+0530>" quoted, or three or more letters.
    bool SkipName() {
        if (Take('<')) {
            std::size_t length = 0;
            while (!AtEnd() && Peek() != '>') {
                const char c = Peek();
                if (!IsLetter(c) && !IsDigit(c) && c != '+' && c != '-')
                    return false;
                ++pos_;
                ++length;
            }
            return length > 0 && Take('>');
        }
        std::size_t length = 0;
        while (IsLetter(Peek())) {
            ++pos_;
            ++length;
        }
        return length >= 3;
    }

    // [+|-]hh[:mm[:ss]] with hh up to maxHours, as signed seconds.
    std::optional<int> SignedDuration(int maxHours) {
        int sign = 1;
        if (Take('-'))
            sign = -1;
        else
            Take('+');
        const std::optional<int> hours = Number(3);
        if (!hours || *hours > maxHours)
            return std::nullopt;
        int seconds = *hours * SecondsPerHour;
        for (int factor : {60, 1}) {
            if (!Take(':'))
                break;
            const std::optional<int> part = Number(2);
            if (!part || *part > 59)
                return std::nullopt;
            seconds += *part * factor;
        }
        return sign * seconds;
    }

    // One to maxDigits decimal digits.
    std::optional<int> Number(std::size_t maxDigits) {
        int value = 0;
        std::size_t digits = 0;
        while (IsDigit(Peek()) && digits < maxDigits) {
            value = value * 10 + (Peek() - '0');
            ++pos_;
            ++digits;
        }
        if (digits == 0 || IsDigit(Peek()))
            return std::nullopt;
        return value;
    }

    std::optional<PosixRuleDate> RuleDate() {
        PosixRuleDate date;
        if (Take('J')) {
            const std::optional<int> day = Number(3);
            if (!day || *day < 1 || *day > 365)
                return std::nullopt;
            date.kind = PosixRuleDate::Kind::JulianNoLeap;
            date.day = *day;
        } else if (Take('M')) {
            const std::optional<int> month = Number(2);
            if (!month || *month < 1 || *month > 12 || !Take('.'))
                return std::nullopt;
            const std::optional<int> week = Number(1);
            if (!week || *week < 1 || *week > 5 || !Take('.'))
                return std::nullopt;
            const std::optional<int> weekday = Number(1);
            if (!weekday || *weekday > 6)
                return std::nullopt;
            date.kind = PosixRuleDate::Kind::MonthWeekDay;
            date.month = *month;
            date.week = *week;
            date.weekday = *weekday;
        } else {
            const std::optional<int> day = Number(3);
            if (!day || *day > 365)
                return std::nullopt;
            date.kind = PosixRuleDate::Kind::ZeroBased;
            date.day = *day;
        }
        if (Take('/')) {
            const std::optional<int> time = SignedDuration(167);
            if (!time)
                return std::nullopt;
            date.timeSeconds = *time;
        }
        return date;
    }

private:
    static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The first second (universal time, before the offset is applied) of the
// local day on which the change falls.
std::int64_t DayOfChange(const PosixRuleDate& date, int year) {
    switch (date.kind) {
    case PosixRuleDate::Kind::JulianNoLeap: {
        const bool afterLeapDay = IsLeapYear(year) && date.day >= 60;
        return DaysFromCivil(year, 1, 1) + date.day - 1 + (afterLeapDay ? 1 : 0);
    }
    case PosixRuleDate::Kind::ZeroBased:
        return DaysFromCivil(year, 1, 1) + date.day;
    case PosixRuleDate::Kind::MonthWeekDay:
        break;
    }
    const std::int64_t first = DaysFromCivil(year, date.month, 1);
    const std::int64_t next =
        date.month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, date.month + 1, 1);
    // 1970-01-01 was a Thursday (weekday 4).
    const int firstWeekday = static_cast<int>(((first + 4) % 7 + 7) % 7);
    std::int64_t day = first + (date.weekday - firstWeekday + 7) % 7 + 7 * (date.week - 1);
    while (day >= next) // week 5 is the last such weekday of the month
        day -= 7;
    return day;
}

} // namespace

std::optional<PosixZoneRule> ParsePosixZoneRule(std::string_view text) {
    TzText tz(text);
    PosixZoneRule rule;
    if (!tz.SkipName())
        return std::nullopt;
    const std::optional<int> standard = tz.SignedDuration(24);
    if (!standard)
        return std::nullopt;
    rule.standardOffsetSeconds = -*standard;
    if (tz.AtEnd())
        return rule;

    if (!tz.SkipName())
        return std::nullopt;
    rule.hasDaylightTime = true;
    rule.daylightOffsetSeconds = rule.standardOffsetSeconds + SecondsPerHour;
    if (tz.Peek() != ',') {
        const std::optional<int> daylight = tz.SignedDuration(24);
        if (!daylight)
            return std::nullopt;
        rule.daylightOffsetSeconds = -*daylight;
    }
    // Summer time without the dates of its changes is left to each system's
    // own default; a compiled zone file always names them.
    if (!tz.Take(','))
        return std::nullopt;
    const std::optional<PosixRuleDate> start = tz.RuleDate();
    if (!start || !tz.Take(','))
        return std::nullopt;
    const std::optional<PosixRuleDate> end = tz.RuleDate();
    if (!end || !tz.AtEnd())
        return std::nullopt;
    rule.daylightStart = *start;
    rule.daylightEnd = *end;
    return rule;
}

DaylightChanges DaylightChangesOfYear(const PosixZoneRule& rule, int year) {
    const PosixRuleDate& start = rule.daylightStart;
    const PosixRuleDate& end = rule.daylightEnd;
    return {DayOfChange(start, year) * SecondsPerDay + start.timeSeconds -
                rule.standardOffsetSeconds,
            DayOfChange(end, year) * SecondsPerDay + end.timeSeconds - rule.daylightOffsetSeconds};
}

// Howard Hinnant's days_from_civil and its inverse, over 400-year eras.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t CivilYearOfDay(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153; // 0 = March
    return yearOfEra + era * 400 + (shiftedMonth >= 10 ? 1 : 0);
}

} // namespace toravel
