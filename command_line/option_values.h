// The values of the command-line options that need more than a number: the
// birth date and time, the birthplace's offset from Greenwich, the typed
// lunar day's length, and option values quoted in a message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/error_display_text.h"
#include "platform/tdatetime.h"

namespace toravel::command_line {

// The earliest and latest birth years: the new moons are searched from
// December of the year before to January of the year after.
inline constexpr int FirstBirthYear = 2;
inline constexpr int LastBirthYear = 9998;

// "DD.MM.YYYY" (day and month may have one digit) or "YYYY-MM-DD", a real
// date in the years above; nothing otherwise.
std::optional<TDateTime> ParseBirthDate(std::string_view text);

// "HH:MM" or "HH:MM:SS" (the hour may have one digit), hour 0–23, minute and
// second 0–59, as a time of day; nothing otherwise.
std::optional<TDateTime> ParseBirthTime(std::string_view text);

// The largest offset from Greenwich a clock of the tz database keeps.
inline constexpr int LargestUtcOffsetSeconds = 14 * 3600;

// "+03", "+3", "-05:30", "+00:00", "0": ±ЧЧ[:ММ], the sign may be left out
// before a zero or a positive offset, at most 14 hours; seconds east of
// Greenwich, nothing otherwise.
std::optional<int> ParseUtcOffset(std::string_view text);

// The usage problem of an option that a calculation needs and was not given
// ("не задан обязательный параметр --date"), as CLI11 words it.
std::string MissingRequiredOption(const std::string& name);

// A value as a message quotes it: «…», at most 60 characters of it, bytes
// that are no UTF-8 and control characters shown as "?", so that neither a
// megabyte nor a broken byte reaches the terminal or the JSON.
std::string QuotedValue(std::string_view text);

// Errors are written as the window's error display shows them.
using toravel::ErrorDisplayText;

} // namespace toravel::command_line
