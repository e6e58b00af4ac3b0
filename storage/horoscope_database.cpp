#include "storage/horoscope_database.h"

#include "platform/conversions.h"

namespace toravel {
namespace {

// A connection-string value in double quotes, a quote inside doubled.
std::string Quoted(std::string_view value) {
    std::string text = "\"";
    for (char c : value) {
        text += c;
        if (c == '"')
            text += '"';
    }
    return text + "\"";
}

} // namespace

std::string ConnectionStringForDirectory(std::string_view directory) {
    const ConnectionSettings program = ParseConnectionString(HoroscopeConnectionString);
    std::string path(directory);
    if (path.empty())
        path = ".";
    path += "/bd.mdb";
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Quoted(path) +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + Quoted(program.password);
}

HoroscopeDatabase::HoroscopeDatabase(std::string connectionString)
    : connectionString_(std::move(connectionString)) {}

std::optional<CalendarDayRecord> HoroscopeDatabase::FindCalendarDay(int month, int day) {
    if (!table_) {
        if (!connection_)
            connection_.emplace(connectionString_);
        table_.emplace(*connection_);
    }
    return FindCalendarDayInTable(*table_, month, day);
}

std::optional<CalendarDayRecord> FindCalendarDayInTable(TableCursor& table, int month, int day) {
    // Decimal without leading zeros: the text form the table stores numbers in.
    const std::string monthText = IntToStr(month);
    const std::string dayText = IntToStr(day);
    for (table.First(); !table.Eof(); table.Next()) {
        if (table.FieldText("Mont") == monthText && table.FieldText("Day") == dayText) {
            return CalendarDayRecord{table.FieldText("Mir"), table.FieldText("Krug")};
        }
    }
    return std::nullopt;
}

} // namespace toravel
