// The calendar of the horoscope database as a text table.
//
// data/calendar.csv, UTF-8: lines starting with "#" are comments; the first
// other line is the header "Mont;Day;Mir;Krug"; then one row per calendar
// day: month, day of the month, the day's world letter ("b", "c", "h", or
// empty for none) and its circle, the word that reads before "кругу" in the
// report ("Третьему"). Line ends LF or CR LF.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace toravel::tools {

struct CalendarRow {
    int month = 0; // 1-12
    int day = 0;   // 1-31, valid for the month in a leap year
    std::string world;
    std::string circle;
};

// The whole file, or std::nullopt when it cannot be opened. Throws
// std::runtime_error when reading fails midway.
std::optional<std::string> ReadFileText(const std::filesystem::path& path);

// Throws std::runtime_error "<source>:<line>: <what is wrong>".
std::vector<CalendarRow> ParseCalendarCsv(std::string_view text, const std::string& source);
std::vector<CalendarRow> ReadCalendarCsv(const std::filesystem::path& path);

// Throws std::runtime_error unless the rows are the 366 days of a leap year,
// each once, from 1 January to 31 December.
void CheckCompleteCalendar(const std::vector<CalendarRow>& rows);

} // namespace toravel::tools
