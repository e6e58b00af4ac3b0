// Reading and checking the calendar table.
#include "tools/build_database/calendar_csv.h"

#include <charconv>
#include <fstream>
#include <stdexcept>

namespace toravel::tools {
namespace {

int DaysInMonthOfLeapYear(int month) {
    static constexpr int Days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Days[month - 1];
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t position = 0;
    for (;;) {
        const std::size_t end = line.find(';', position);
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(position));
            return fields;
        }
        fields.push_back(line.substr(position, end - position));
        position = end + 1;
    }
}

bool ParseNumber(std::string_view text, int& value) {
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::vector<CalendarRow> ParseCalendarCsv(std::string_view text, const std::string& source) {
    std::vector<CalendarRow> rows;
    bool headerSeen = false;
    int lineNumber = 0;
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t end = text.find('\n', position);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(position, end - position);
        position = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto fail = [&](const std::string& what) {
            throw std::runtime_error(source + ":" + std::to_string(lineNumber) + ": " + what);
        };
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (!headerSeen) {
            if (line != "Mont;Day;Mir;Krug") {
                fail("expected the header Mont;Day;Mir;Krug");
            }
            headerSeen = true;
            continue;
        }
        const auto fields = SplitFields(line);
        if (fields.size() != 4) {
            fail("expected 4 fields separated by ';'");
        }
        CalendarRow row;
        if (!ParseNumber(fields[0], row.month) || row.month < 1 || row.month > 12) {
            fail("month must be a number from 1 to 12");
        }
        if (!ParseNumber(fields[1], row.day) || row.day < 1 ||
            row.day > DaysInMonthOfLeapYear(row.month)) {
            fail("day is not a day of that month");
        }
        if (fields[2] != "" && fields[2] != "b" && fields[2] != "c" && fields[2] != "h") {
            fail("world must be b, c, h or empty");
        }
        row.world = std::string(fields[2]);
        row.circle = std::string(fields[3]);
        rows.push_back(std::move(row));
    }
    if (!headerSeen) {
        throw std::runtime_error(source + ": no header line Mont;Day;Mir;Krug");
    }
    return rows;
}

std::optional<std::string> ReadFileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::string text;
    char chunk[4096];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return text;
}

std::vector<CalendarRow> ReadCalendarCsv(const std::filesystem::path& path) {
    const auto text = ReadFileText(path);
    if (!text) {
        throw std::runtime_error("Cannot open file " + path.string());
    }
    return ParseCalendarCsv(*text, path.string());
}

void CheckCompleteCalendar(const std::vector<CalendarRow>& rows) {
    std::size_t index = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= DaysInMonthOfLeapYear(month); ++day, ++index) {
            if (index >= rows.size() || rows[index].month != month || rows[index].day != day) {
                throw std::runtime_error("calendar row " + std::to_string(index + 1) +
                                         " must be day " + std::to_string(day) + " of month " +
                                         std::to_string(month));
            }
        }
    }
    if (rows.size() != index) {
        throw std::runtime_error("calendar has " + std::to_string(rows.size()) +
                                 " rows, expected " + std::to_string(index));
    }
}

} // namespace toravel::tools
