// The calendar-day lookup over database files: the one the build makes from
// data/, and small ones made here.
#include "storage/horoscope_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/tdatetime.h"
#include "storage/database_file.h"
#include "tools/build_database/database_builder.h"

namespace toravel {
namespace {

using Bytes = std::vector<unsigned char>;

const std::string Password = ParseConnectionString(HoroscopeConnectionString).password;

class HoroscopeDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("toravel-horoscope-db-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ";\"x\"");
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    // Stores an SQLite image as the directory's bd.mdb.
    void WriteDatabase(const Bytes& image) {
        const Bytes file = DatabaseFileOfImage(image, Password);
        std::ofstream(directory_ / "bd.mdb", std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()),
                   static_cast<std::streamsize>(file.size()));
    }

    void WriteRows(const std::vector<tools::CalendarRow>& rows) {
        WriteDatabase(tools::BuildDatabaseImage(rows, {}));
    }

    // An image made by SQL of our own, for tables the builder never makes.
    void WriteSql(const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        sqlite3_int64 size = 0;
        unsigned char* data = sqlite3_serialize(db, "main", &size, 0);
        const Bytes image(data, data + size);
        sqlite3_free(data);
        sqlite3_close(db);
        WriteDatabase(image);
    }

    HoroscopeDatabase Database() const {
        return HoroscopeDatabase(ConnectionStringForDirectory(directory_.string()));
    }

    std::filesystem::path directory_;
};

TEST_F(HoroscopeDatabaseTest, FirstRecordOfTheDayWins) {
    WriteRows({{1, 4, "h", "Первому"}, {1, 5, "b", "Второму"}, {1, 5, "c", "Третьему"}});
    HoroscopeDatabase database = Database();
    EXPECT_EQ(database.FindCalendarDay(1, 5), (CalendarDayRecord{"b", "Второму"}));
    // The walk starts from the first record on every lookup.
    EXPECT_EQ(database.FindCalendarDay(1, 4), (CalendarDayRecord{"h", "Первому"}));
    EXPECT_EQ(database.FindCalendarDay(1, 5), (CalendarDayRecord{"b", "Второму"}));
    EXPECT_EQ(database.FindCalendarDay(5, 1), std::nullopt);
}

TEST_F(HoroscopeDatabaseTest, MonthAndDayAreComparedAsTextWithoutLeadingZeros) {
    WriteSql("CREATE TABLE t (Mont TEXT, Day TEXT, Mir TEXT, Krug TEXT);"
             "INSERT INTO t VALUES ('01', '05', 'h', 'Нулевому');"
             "INSERT INTO t VALUES ('1', '5 ', 'h', 'С пробелом');"
             "INSERT INTO t VALUES ('1', '5', 'b', 'Первому');");
    EXPECT_EQ(Database().FindCalendarDay(1, 5), (CalendarDayRecord{"b", "Первому"}));
}

TEST_F(HoroscopeDatabaseTest, EmptyTableMatchesNothing) {
    WriteRows({});
    EXPECT_EQ(Database().FindCalendarDay(1, 1), std::nullopt);
}

TEST_F(HoroscopeDatabaseTest, MissingFileOrFieldIsADatabaseError) {
    HoroscopeDatabase missing = Database();
    EXPECT_THROW(missing.FindCalendarDay(1, 1), DatabaseError);

    WriteSql("CREATE TABLE t (Mont INTEGER, Day INTEGER, Krug TEXT);"
             "INSERT INTO t VALUES (1, 1, 'Первому');");
    try {
        Database().FindCalendarDay(1, 1);
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "Field 'Mir' not found");
    }
}

TEST(BuiltHoroscopeDatabase, EveryCalendarDayHasAWorldAndACircle) {
    HoroscopeDatabase database(ConnectionStringForDirectory(TORAVEL_BUILT_DB_DIR));
    for (TDateTime day = EncodeDateTime(2024, 1, 1); day < EncodeDateTime(2025, 1, 1); day += 1) {
        int year, month, dayOfMonth, hour, minute, second, millisecond;
        DecodeDateTime(day, year, month, dayOfMonth, hour, minute, second, millisecond);
        const auto record = database.FindCalendarDay(month, dayOfMonth);
        ASSERT_TRUE(record) << dayOfMonth << "." << month;
        EXPECT_TRUE(record->Mir == "b" || record->Mir == "c" || record->Mir == "h")
            << dayOfMonth << "." << month << ": '" << record->Mir << "'";
        EXPECT_FALSE(record->Krug.empty()) << dayOfMonth << "." << month;
    }
    EXPECT_EQ(database.FindCalendarDay(2, 30), std::nullopt);
    EXPECT_EQ(database.FindCalendarDay(13, 1), std::nullopt);
}

} // namespace
} // namespace toravel
