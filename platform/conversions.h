// Text conversions with the application's own regional settings: short date
// dd.MM.yyyy, long time H:mm:ss, comma as decimal separator (a dot is also
// accepted on input). They never depend on the machine's locale.
//
// Failures throw ConversionError with the exact message the user sees.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/tdatetime.h"

namespace toravel {

class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Optional sign, leading blanks allowed, nothing after the digits, 32-bit
// range. Error: "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);

// Decimal number with a comma (or a dot) as separator; "inf", "nan" and
// hexadecimal forms are refused. Error: "'<text>' is not a valid floating
// point value".
double StrToFloat(std::string_view text);

// "d.m.yyyy", or that followed by a blank and "h:m[:s]"; leading zeros
// optional, every field range-checked. Error: "'<text>' is not a valid date
// and time".
TDateTime StrToDateTime(std::string_view text);

// Short date, a blank and long time ("17.05.1990 14:30:00"); the time is left
// out at exactly midnight, so a midnight value is exactly 10 characters.
std::string DateTimeToStr(TDateTime t);

// Short date alone, "dd.MM.yyyy".
std::string DateToStr(TDateTime t);

// Long time alone, "H:mm:ss" ("3:00:00").
std::string TimeToStr(TDateTime t);

}  // namespace toravel
