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

// Decimal number with a comma (or a dot) as separator, optional sign and
// exponent, blanks around it allowed; "inf", "nan", hexadecimal forms and
// values beyond the range of a double are refused. Error: "'<text>' is not a
// valid floating point value".
double StrToFloat(std::string_view text);

// "d.m.yyyy", or that followed by one blank and "h:m" or "h:m:s"; blanks
// around the whole text allowed. Day, month, hour, minute and second have one
// or two digits, the year one to four, taken literally ("5.6.90" is the year
// 90); every field is range-checked, the hour 0 to 23 ("24:00" is refused).
// Error: "'<text>' is not a valid date and time".
TDateTime StrToDateTime(std::string_view text);

// A whole number in decimal, a minus sign when negative, no leading zeros.
std::string IntToStr(int value);

// Short date, a blank and long time ("17.05.1990 14:30:00"); the time is left
// out at exactly midnight, so a midnight value is exactly 10 characters. The
// time of day is rounded to the nearest second, and a value that rounds up to
// the next midnight is printed as that midnight, the date alone. Values
// outside the years 1 to 9999 throw std::out_of_range, as DecodeDateTime.
std::string DateTimeToStr(TDateTime t);

// Short date alone, "dd.MM.yyyy" (the day after rounding to the millisecond).
std::string DateToStr(TDateTime t);

// Long time alone, "H:mm:ss" ("3:00:00"), rounded to the nearest second;
// 24:00:00 is shown as 0:00:00.
std::string TimeToStr(TDateTime t);

} // namespace toravel
