#include "app/table_calendar_days.h"

#include <charconv>
#include <string>
#include <utility>

namespace toravel {
namespace {

// Decimal, no leading zeros: the text form the table stores numbers in.
std::string DecimalText(int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

} // namespace

TableCalendarDays::TableCalendarDays(std::function<TableCursor&()> table)
    : table_(std::move(table)) {}

std::optional<CalendarDayRecord> TableCalendarDays::FindCalendarDay(int month, int day) {
    TableCursor& table = table_();
    const std::string monthText = DecimalText(month);
    const std::string dayText = DecimalText(day);
    for (table.First(); !table.Eof(); table.Next()) {
        if (table.FieldText("Mont") == monthText && table.FieldText("Day") == dayText) {
            return CalendarDayRecord{table.FieldText("Mir"), table.FieldText("Krug")};
        }
    }
    return std::nullopt;
}

} // namespace toravel
