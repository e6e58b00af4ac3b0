// Text conversions with the application's fixed regional settings
// (platform/regional_settings.h). Numbers are parsed with fast_float's
// from_chars (correctly rounded, as std::from_chars, and available where the
// standard library lacks the floating-point form: WebAssembly) and written
// digit by digit, never through the C library's locale-dependent
// routines, so the machine's locale cannot change a result.
#include "platform/conversions.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "platform/ascii_text.h"
#include "platform/regional_settings.h"

namespace toravel {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void Refuse(std::string_view text, const char* what) {
    std::string message;
    message.reserve(text.size() + 40);
    message += '\'';
    message += text;
    message += "' is not a valid ";
    message += what;
    throw ConversionError(message);
}

// Reads 1 to maxDigits decimal digits at pos; false when there are none or
// more than maxDigits.
bool ReadField(std::string_view text, std::size_t& pos, int maxDigits, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (static_cast<int>(pos - start) == maxDigits)
            return false;
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return pos > start;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

void AppendNumber(std::string& out, int value, int minDigits) {
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    for (auto n = static_cast<int>(result.ptr - digits); n < minDigits; ++n)
        out += '0';
    out.append(digits, result.ptr);
}

void AppendShortDate(std::string& out, int year, int month, int day) {
    AppendNumber(out, day, 2);
    out += regional::kDateSeparator;
    AppendNumber(out, month, 2);
    out += regional::kDateSeparator;
    AppendNumber(out, year, 4);
}

void AppendLongTime(std::string& out, int secondsOfDay) {
    AppendNumber(out, secondsOfDay / 3600, 1);
    out += regional::kTimeSeparator;
    AppendNumber(out, secondsOfDay / 60 % 60, 2);
    out += regional::kTimeSeparator;
    AppendNumber(out, secondsOfDay % 60, 2);
}

// The date of t and its time of day rounded to the nearest whole second; a
// time that rounds up to 24:00:00 becomes 0:00:00 of the next day.
void DecodeToSecond(TDateTime t, int& year, int& month, int& day, int& secondsOfDay) {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeDateTime(t, year, month, day, hour, minute, second, millisecond);
    secondsOfDay = (hour * 60 + minute) * 60 + second + (millisecond >= 500 ? 1 : 0);
    if (secondsOfDay == 86400) {
        DecodeDateTime(DateOf(t) + 1, year, month, day, hour, minute, second, millisecond);
        secondsOfDay = 0;
    }
}

} // namespace

int StrToInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsSpaceOrTab(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size() || !IsDigit(text[pos]))
        Refuse(text, "integer value");
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos]))
            Refuse(text, "integer value");
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > 2'147'483'648LL)
            Refuse(text, "integer value");
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > 2'147'483'647LL)
        Refuse(text, "integer value");
    return static_cast<int>(value);
}

double StrToFloat(std::string_view text) {
    // Surrounding blanks are allowed; the number itself is an optional sign,
    // digits with at most one decimal separator (comma or dot) and at least one
    // digit, and an optional exponent. Everything else, "inf", "nan" and
    // hexadecimal forms included, is refused before the parser sees it.
    const std::string_view number = TrimSpacesAndTabs(text);
    std::string normalized;
    normalized.reserve(number.size());
    std::size_t pos = 0;
    if (pos < number.size() && (number[pos] == '+' || number[pos] == '-')) {
        if (number[pos] == '-')
            normalized += '-';
        ++pos;
    }
    int mantissaDigits = 0;
    bool nonZeroMantissa = false;
    bool separatorSeen = false;
    for (; pos < number.size(); ++pos) {
        const char c = number[pos];
        if (IsDigit(c)) {
            ++mantissaDigits;
            nonZeroMantissa = nonZeroMantissa || c != '0';
            normalized += c;
        } else if ((c == regional::kDecimalSeparator ||
                    c == regional::kAlternativeDecimalSeparator) &&
                   !separatorSeen) {
            separatorSeen = true;
            normalized += '.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        Refuse(text, "floating point value");
    if (pos < number.size() && (number[pos] == 'e' || number[pos] == 'E')) {
        normalized += 'e';
        ++pos;
        if (pos < number.size() && (number[pos] == '+' || number[pos] == '-'))
            normalized += number[pos++];
        int exponentDigits = 0;
        for (; pos < number.size() && IsDigit(number[pos]); ++pos, ++exponentDigits)
            normalized += number[pos];
        if (exponentDigits == 0)
            Refuse(text, "floating point value");
    }
    if (pos != number.size())
        Refuse(text, "floating point value");

    double value = 0;
    const char* const first = normalized.data();
    const char* const last = first + normalized.size();
    const auto [end, error] =
        fast_float::from_chars(first, last, value, fast_float::chars_format::general);
    if (error != std::errc{} || end != last)
        Refuse(text, "floating point value");
    // Correctly rounded as std::from_chars is, but a magnitude beyond the
    // doubles comes back as infinity or zero instead of an error: refused
    // as std::from_chars refuses it.
    if (std::isinf(value) || (value == 0 && nonZeroMantissa))
        Refuse(text, "floating point value");
    return value;
}

TDateTime StrToDateTime(std::string_view text) {
    // Blanks around the whole text are allowed (a user's typing); inside it the
    // date and the time are separated by exactly one blank.
    const std::string_view body = TrimSpacesAndTabs(text);
    std::size_t pos = 0;
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    bool ok = ReadField(body, pos, 2, day) && Expect(body, pos, regional::kDateSeparator) &&
              ReadField(body, pos, 2, month) && Expect(body, pos, regional::kDateSeparator) &&
              ReadField(body, pos, 4, year); // taken literally: "90" is the year 90
    if (ok && pos < body.size()) {
        ok = Expect(body, pos, ' ') && ReadField(body, pos, 2, hour) &&
             Expect(body, pos, regional::kTimeSeparator) && ReadField(body, pos, 2, minute);
        if (ok && pos < body.size())
            ok = Expect(body, pos, regional::kTimeSeparator) && ReadField(body, pos, 2, second);
        ok = ok && pos == body.size();
    }
    TDateTime result = 0;
    if (!ok || !TryEncodeDateTime(year, month, day, hour, minute, second, 0, result))
        Refuse(text, "date and time");
    return result;
}

std::string IntToStr(int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

std::string DateTimeToStr(TDateTime t) {
    int year = 0, month = 0, day = 0, secondsOfDay = 0;
    DecodeToSecond(t, year, month, day, secondsOfDay);
    std::string out;
    out.reserve(19);
    AppendShortDate(out, year, month, day);
    if (secondsOfDay != 0) { // at midnight the text is the 10-character date alone
        out += ' ';
        AppendLongTime(out, secondsOfDay);
    }
    return out;
}

std::string DateToStr(TDateTime t) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeDateTime(t, year, month, day, hour, minute, second, millisecond);
    std::string out;
    out.reserve(10);
    AppendShortDate(out, year, month, day);
    return out;
}

std::string TimeToStr(TDateTime t) {
    int year = 0, month = 0, day = 0, secondsOfDay = 0;
    DecodeToSecond(t, year, month, day, secondsOfDay);
    std::string out;
    out.reserve(8);
    AppendLongTime(out, secondsOfDay);
    return out;
}

} // namespace toravel
