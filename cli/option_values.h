// The values of the command-line options that need more than a number: the
// birth date and time, the typed lunar day's length, and the error text as
// the application's error display would show it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/tdatetime.h"

namespace toravel::cli {

// The earliest and latest birth years: the new moons are searched from
// December of the year before to January of the year after.
inline constexpr int FirstBirthYear = 2;
inline constexpr int LastBirthYear = 9998;

// "DD.MM.YYYY" (day and month may have one digit) with a real date in the
// years above; nothing otherwise.
std::optional<TDateTime> ParseBirthDate(std::string_view text);

// "HH:MM" or "HH:MM:SS" (the hour may have one digit), hour 0–23, minute and
// second 0–59, as a time of day; nothing otherwise.
std::optional<TDateTime> ParseBirthTime(std::string_view text);

// The number of characters of a UTF-8 text (continuation bytes not counted).
std::size_t CharacterCount(std::string_view text);

// An error's message as the error display shows it: "." appended when the
// last character sorts after ".".
std::string ErrorDisplayText(std::string_view message);

} // namespace toravel::cli
