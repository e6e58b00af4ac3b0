// The calendar days of the horoscope database: table t, one record per day
// with its month (Mont), day (Day), world letter (Mir) and circle (Krug).
//
// The walk starts at the first record, in the table's own order, and the
// first record whose Mont and Day texts equal the month and the day written
// in decimal without leading zeros ("1" and "5" for 5 January, never "01",
// "05") gives the answer. Data-layer failures (missing file, wrong password,
// missing table or field) are thrown as DatabaseError.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "horoscope/calendar_day_lookup.h"
#include "storage/database.h"

namespace toravel {

// The walk over an open table cursor, from its first record.
std::optional<CalendarDayRecord> FindCalendarDayInTable(TableCursor& table, int month, int day);

// The program's connection string with the database file in `directory`
// (for front ends that let the user name the data directory).
std::string ConnectionStringForDirectory(std::string_view directory);

class HoroscopeDatabase : public CalendarDayLookup {
public:
    // Nothing is opened yet: the connection and the table are opened by the
    // first lookup, so that an unreadable file fails the lookup.
    explicit HoroscopeDatabase(
        std::string connectionString = std::string(HoroscopeConnectionString));

    std::optional<CalendarDayRecord> FindCalendarDay(int month, int day) override;

private:
    std::string connectionString_;
    std::optional<DatabaseConnection> connection_;
    std::optional<TableCursor> table_;
};

} // namespace toravel
