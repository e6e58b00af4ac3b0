#include "lunar/calendar_month.h"

#include <charconv>
#include <cstddef>

#include "lunar/lunar_month_error.h"
#include "platform/ascii_text.h"

namespace toravel {
namespace {

std::string ZeroPadded(int value, std::size_t width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return (value < 0 ? "-" : "") + digits;
}

// The text as the message quotes it: at most 40 bytes of it, cut before a
// byte that continues a UTF-8 character, so the message stays valid text.
std::string Quoted(std::string_view text) {
    std::size_t length = text.size();
    if (length > 40) {
        length = 40;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::string quoted = "«" + std::string(text.substr(0, length));
    if (length < text.size())
        quoted += "…";
    return quoted + "»";
}

bool AllDigits(std::string_view text) {
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.empty();
}

} // namespace

std::string CalendarMonthText(const CalendarMonth& month) {
    return ZeroPadded(month.month, 2) + "." + ZeroPadded(month.year, 4);
}

void CheckCalendarMonth(const CalendarMonth& month) {
    if (month.month < 1 || month.month > 12)
        throw LunarMonthError("нет месяца с номером " + std::to_string(month.month) +
                              ": месяцы нумеруются от 01 до 12");
    if (month.year < FirstCalendarYear || month.year > LastCalendarYear)
        throw LunarMonthError("год " + std::to_string(month.year) +
                              " вне диапазона: лунный календарь составляется на годы от " +
                              std::to_string(FirstCalendarYear) + " до " +
                              std::to_string(LastCalendarYear));
}

CalendarMonth ParseCalendarMonth(std::string_view text) {
    const std::string_view trimmed = TrimBlanksAndControls(text);
    const std::size_t dot = trimmed.find('.');
    const std::string_view monthPart = trimmed.substr(0, dot);
    const std::string_view yearPart =
        dot == std::string_view::npos ? std::string_view{} : trimmed.substr(dot + 1);
    // Up to nine digits of year, so that "01.10000" is told it is out of
    // range rather than malformed.
    if (dot == std::string_view::npos || !AllDigits(monthPart) || monthPart.size() > 2 ||
        !AllDigits(yearPart) || yearPart.size() > 9)
        throw LunarMonthError(Quoted(text) + ": нужен месяц в виде ММ.ГГГГ, например 03.2026");
    CalendarMonth month;
    std::from_chars(monthPart.data(), monthPart.data() + monthPart.size(), month.month);
    std::from_chars(yearPart.data(), yearPart.data() + yearPart.size(), month.year);
    try {
        CheckCalendarMonth(month);
    } catch (const LunarMonthError& e) {
        throw LunarMonthError(Quoted(text) + ": " + e.what());
    }
    return month;
}

CalendarMonth PreviousCalendarMonth(const CalendarMonth& month) {
    return month.month == 1 ? CalendarMonth{month.year - 1, 12}
                            : CalendarMonth{month.year, month.month - 1};
}

CalendarMonth NextCalendarMonth(const CalendarMonth& month) {
    return month.month == 12 ? CalendarMonth{month.year + 1, 1}
                             : CalendarMonth{month.year, month.month + 1};
}

} // namespace toravel
