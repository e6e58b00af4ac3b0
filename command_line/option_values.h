// The values of the command-line options that need more than a number: the
// birth date and time and the typed lunar day's length.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/error_display_text.h"
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

// Errors are written as the window's error display shows them.
using toravel::ErrorDisplayText;

} // namespace toravel::cli
