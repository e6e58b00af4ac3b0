// The application's regional settings, fixed to Russian whatever the
// machine's locale: short date dd.MM.yyyy, long time H:mm:ss, a comma as the
// decimal separator. Every text conversion of the program uses these, so the
// program reads back its own texts under any locale the environment sets.
#pragma once

namespace toravel::regional {

inline constexpr char kShortDateFormat[] = "dd.MM.yyyy"; // 10 characters
inline constexpr char kLongTimeFormat[] = "H:mm:ss";     // hour without leading zero
inline constexpr char kDateSeparator = '.';
inline constexpr char kTimeSeparator = ':';
inline constexpr char kDecimalSeparator = ',';
// Accepted on input besides the comma, so that a user who types 55.75 is
// not refused; never written.
inline constexpr char kAlternativeDecimalSeparator = '.';

} // namespace toravel::regional
