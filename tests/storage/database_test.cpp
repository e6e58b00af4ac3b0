// The data-access layer against database files made by the builder.
#include "storage/database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "storage/database_file.h"
#include "tools/build_database/calendar_csv.h"
#include "tools/build_database/database_builder.h"

namespace toravel {
namespace {

using tools::CalendarRow;
using tools::Picture;
using Bytes = std::vector<unsigned char>;

const std::string Password = ParseConnectionString(HoroscopeConnectionString).password;

// A test in a directory of its own, which is the working directory, with a
// db/ below it for the files it builds.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     (std::string("toravel-database-") + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_ / "db");
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(directory_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(directory_);
    }

    static std::filesystem::path DatabasePath() { return std::filesystem::path("db") / "bd.mdb"; }

    static void WriteBytes(const Bytes& bytes) {
        std::ofstream(DatabasePath(), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    static Bytes ReadBytes() {
        const auto text = tools::ReadFileText(DatabasePath());
        return text ? Bytes(text->begin(), text->end()) : Bytes{};
    }

    static void Build(const std::string& csv, const std::vector<Picture>& pictures = {}) {
        const auto rows = tools::ParseCalendarCsv(csv, "test.csv");
        WriteBytes(DatabaseFileOfImage(tools::BuildDatabaseImage(rows, pictures), Password));
    }

    // An image made directly with SQLite, for shapes the builder never writes.
    static Bytes ImageFromSql(const char* sql) {
        sqlite3* db = nullptr;
        sqlite3_open(":memory:", &db);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        sqlite3_int64 size = 0;
        unsigned char* data = sqlite3_serialize(db, "main", &size, 0);
        Bytes image(data, data + size);
        sqlite3_free(data);
        sqlite3_close(db);
        return image;
    }

    static std::string OpenError() {
        try {
            DatabaseConnection connection(HoroscopeConnectionString);
            TableCursor cursor(connection);
        } catch (const DatabaseError& error) {
            return error.what();
        }
        return "(no error)";
    }

    // Opens the database and reads every field of every record, as the
    // program reading all it ever reads.
    static std::string ReadEverythingError() {
        try {
            DatabaseConnection connection(HoroscopeConnectionString);
            TableCursor cursor(connection);
            Bytes bytes;
            for (; !cursor.Eof(); cursor.Next()) {
                for (const auto& field : cursor.FieldNames()) {
                    cursor.CopyFieldBytes(field, bytes);
                }
            }
        } catch (const DatabaseError& error) {
            return error.what();
        }
        return "(no error)";
    }

    std::filesystem::path directory_;
    std::filesystem::path previous_;
};

struct DayRecord {
    std::string world;
    std::string circle;
};

// The calendar-day lookup as the calculation command walks the table: the
// first record whose month and day texts equal the numbers without leading
// zeros.
std::optional<DayRecord> FindDay(TableCursor& cursor, int month, int day) {
    const std::string monthText = std::to_string(month);
    const std::string dayText = std::to_string(day);
    for (cursor.First(); !cursor.Eof(); cursor.Next()) {
        if (cursor.FieldText("Mont") == monthText && cursor.FieldText("Day") == dayText) {
            return DayRecord{cursor.FieldText("Mir"), cursor.FieldText("Krug")};
        }
    }
    return std::nullopt;
}

const std::string Header = "Mont;Day;Mir;Krug\n";

TEST_F(DatabaseTest, FindsTheFirstRecordOfADay) {
    Build(Header + "1;4;c;Первому\n1;5;h;Второму\n1;5;b;Третьему\n12;31;b;Первому\n");
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);

    const auto fifth = FindDay(cursor, 1, 5);
    ASSERT_TRUE(fifth.has_value());
    EXPECT_EQ(fifth->world, "h") << "two records for 5 January: the first in table order wins";
    EXPECT_EQ(fifth->circle, "Второму");

    const auto last = FindDay(cursor, 12, 31);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->circle, "Первому");
    EXPECT_FALSE(FindDay(cursor, 2, 29).has_value());
}

TEST_F(DatabaseTest, MonthAndDayReadWithoutLeadingZeros) {
    Build(Header + "1;5;c;Первому\n");
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    ASSERT_FALSE(cursor.Eof());
    EXPECT_EQ(cursor.FieldText("Mont"), "1");
    EXPECT_EQ(cursor.FieldText("Day"), "5");
}

TEST_F(DatabaseTest, WalksInStoredOrderAndRestarts) {
    Build(Header + "3;1;b;A\n1;1;c;B\n2;1;h;C\n");
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    std::string order;
    for (; !cursor.Eof(); cursor.Next()) {
        order += cursor.FieldText("Krug");
    }
    EXPECT_EQ(order, "ABC");
    cursor.Next();
    EXPECT_TRUE(cursor.Eof()) << "Next at the end stays at the end";
    cursor.First();
    EXPECT_EQ(cursor.FieldText("Krug"), "A");
}

TEST_F(DatabaseTest, EmptyTableMatchesNothing) {
    Build(Header);
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    EXPECT_TRUE(cursor.Eof());
    EXPECT_FALSE(FindDay(cursor, 1, 1).has_value());
    EXPECT_EQ(cursor.FieldText("Mir"), "");
    Bytes buffer{1, 2, 3};
    cursor.CopyFieldBytes("рас", buffer);
    EXPECT_TRUE(buffer.empty());
}

TEST_F(DatabaseTest, PicturesComeFromTheFirstRecord) {
    const Bytes jpeg{0xFF, 0xD8, 0x00, 0x01, 0xFF, 0xD9};
    Build(Header + "1;1;c;A\n1;2;c;B\n", {Picture{"пмас", jpeg}});
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    Bytes buffer;
    cursor.CopyFieldBytes("пмас", buffer);
    EXPECT_EQ(buffer, jpeg);
    cursor.CopyFieldBytes("рас", buffer);
    EXPECT_TRUE(buffer.empty()) << "a picture that was not given stays empty";
    cursor.Next();
    cursor.CopyFieldBytes("пмас", buffer);
    EXPECT_TRUE(buffer.empty()) << "only the first record holds pictures";
}

TEST_F(DatabaseTest, MissingFieldIsNamed) {
    Build(Header + "1;1;c;A\n");
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    Bytes buffer;
    for (const char* name : {"Нет", "mont", "Mont "}) {
        try {
            cursor.FieldText(name);
            ADD_FAILURE() << "no error for field " << name;
        } catch (const DatabaseError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("Field '") + name + "' not found");
        }
        EXPECT_THROW(cursor.CopyFieldBytes(name, buffer), DatabaseError) << name;
    }
}

TEST_F(DatabaseTest, DirectoryCaseDoesNotMatter) {
    // The connection string says .\DB\bd.mdb; the directory is db.
    Build(Header + "1;1;c;A\n");
    ASSERT_FALSE(std::filesystem::exists("DB"));
    DatabaseConnection connection(HoroscopeConnectionString);
    EXPECT_FALSE(TableCursor(connection).Eof());
    DatabaseConnection lower("Data Source=db/BD.MDB;Jet OLEDB:Database Password=" + Password);
    EXPECT_FALSE(TableCursor(lower).Eof());
}

TEST_F(DatabaseTest, FileIsNeverWritten) {
    Build(Header + "1;1;c;A\n");
    const Bytes before = ReadBytes();
    const auto time = std::filesystem::last_write_time(DatabasePath());
    {
        DatabaseConnection connection(HoroscopeConnectionString);
        TableCursor cursor(connection);
        FindDay(cursor, 1, 1);
    }
    EXPECT_EQ(ReadBytes(), before);
    EXPECT_EQ(std::filesystem::last_write_time(DatabasePath()), time);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("db"),
                            std::filesystem::directory_iterator()),
              1)
        << "no journal or other file appears beside the database";
}

const std::string Damaged = "Database file '.\\DB\\bd.mdb' is damaged or has been altered";

TEST_F(DatabaseTest, MissingFileIsNamed) {
    std::filesystem::remove(DatabasePath());
    EXPECT_EQ(OpenError(), "Could not find file '.\\DB\\bd.mdb'");
    std::filesystem::create_directory(DatabasePath());
    EXPECT_EQ(OpenError(), "Could not find file '.\\DB\\bd.mdb'")
        << "a directory is not a database";
}

TEST_F(DatabaseTest, FilesThatAreNotOursGiveOneClearError) {
    const Bytes image =
        tools::BuildDatabaseImage(tools::ParseCalendarCsv(Header + "1;1;c;A\n", "test.csv"), {});
    const Bytes sealed = DatabaseFileOfImage(image, Password);
    Bytes brokenImage = image; // sealed properly, but its pages are garbage
    for (std::size_t i = 16; i < brokenImage.size(); ++i) {
        brokenImage[i] = 0xA5;
    }
    Bytes formerFormat = sealed; // format 1 sealed the whole image at once
    formerFormat[8] = 1;
    struct Case {
        const char* name;
        Bytes file;
    };
    const std::vector<Case> cases = {
        {"empty file", {}},
        {"format 1", formerFormat},
        {"plain SQLite file", image},
        {"text", Bytes(4096, 0x41)},
        {"sealed with another password", DatabaseFileOfImage(image, "другой")},
        {"sealed with an empty password", DatabaseFileOfImage(image, "")},
        {"header only", Bytes(sealed.begin(), sealed.begin() + SealedImage::HeaderBytes)},
        {"sealed image that is not a database", DatabaseFileOfImage(brokenImage, Password)},
        {"sealed text", DatabaseFileOfImage(Bytes(4096, 0x41), Password)},
    };
    for (const auto& c : cases) {
        WriteBytes(c.file);
        EXPECT_EQ(OpenError(), Damaged) << c.name;
    }
}

// A picture of bytes that occur nowhere else, about size bytes long.
Bytes PatternPicture(unsigned char seed, std::size_t size) {
    Bytes bytes{0xFF, 0xD8};
    std::uint32_t state = seed * 2654435761u + 1;
    while (bytes.size() < size) {
        state = state * 1664525u + 1013904223u;
        bytes.push_back(static_cast<unsigned char>(state >> 24));
    }
    return bytes;
}

// Where byte offset of the image lies in the sealed file: after the header,
// and after the tags of the parts before its own.
std::size_t FileOffsetOfImageByte(const Bytes& sealed, std::size_t offset) {
    const std::size_t partBytes = sealed[60] | (sealed[61] << 8) | (sealed[62] << 16);
    return SealedImage::HeaderBytes + offset + 16 * (offset / partBytes);
}

// The offset in image of the first occurrence of what.
std::size_t OffsetIn(const Bytes& image, const Bytes& what) {
    const auto found = std::search(image.begin(), image.end(), what.begin(), what.end());
    EXPECT_NE(found, image.end());
    return static_cast<std::size_t>(found - image.begin());
}

// The first rows days of a leap year, each with a circle of its own.
std::string CalendarCsv(int rows) {
    static constexpr int Days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::string text = "Mont;Day;Mir;Krug\n";
    for (int i = 0, month = 1, day = 1; i < rows; ++i) {
        text += std::to_string(month) + ";" + std::to_string(day) + ";c;Круг" + std::to_string(i) +
                "\n";
        if (++day > Days[month - 1]) {
            day = 1;
            ++month;
        }
    }
    return text;
}

TEST_F(DatabaseTest, EveryAlteredByteIsNoticed) {
    // The file is sealed part by part: an altered byte is noticed when the
    // part holding it is read, the header and the calendar when the table is
    // opened, and every part by a reader that reads every field.
    const Bytes image = tools::BuildDatabaseImage(
        tools::ParseCalendarCsv(CalendarCsv(60), "test.csv"),
        {Picture{"рас", PatternPicture(1, 9000)}, Picture{"жоб", PatternPicture(2, 9000)}});
    const Bytes sealed = DatabaseFileOfImage(image, Password);
    WriteBytes(sealed);
    ASSERT_EQ(ReadEverythingError(), "(no error)");

    for (std::size_t i = 0; i < SealedImage::HeaderBytes; ++i) {
        Bytes altered = sealed;
        altered[i] ^= 0x01;
        WriteBytes(altered);
        EXPECT_EQ(OpenError(), Damaged) << "header byte " << i << " flipped";
    }
    const std::size_t partBytes = 4096;
    const std::size_t parts = (image.size() + partBytes - 1) / partBytes;
    ASSERT_GE(parts, 6u) << "schema, pointer map, calendar and two pictures' pages";
    for (std::size_t part = 0; part < parts; ++part) {
        const std::size_t first = FileOffsetOfImageByte(sealed, part * partBytes);
        const std::size_t length = std::min(partBytes, image.size() - part * partBytes) + 16;
        // The part's first byte, a middle one, its tag's first and last.
        for (const std::size_t i :
             {first, first + length / 2, first + length - 16, first + length - 1}) {
            Bytes altered = sealed;
            altered[i] ^= 0x80;
            WriteBytes(altered);
            EXPECT_EQ(ReadEverythingError(), Damaged)
                << "byte " << i << " of part " << part << " of " << parts << " flipped";
        }
    }
    for (const std::size_t length : {sealed.size() - 1, sealed.size() - 16, std::size_t{100}}) {
        WriteBytes(Bytes(sealed.begin(), sealed.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_EQ(OpenError(), Damaged) << "truncated to " << length << " bytes";
    }
    Bytes longer = sealed;
    longer.push_back(0);
    WriteBytes(longer);
    EXPECT_EQ(OpenError(), Damaged) << "a byte appended";

    // Two parts swapped: each is sound, neither in its place.
    Bytes swapped = sealed;
    const std::size_t a = FileOffsetOfImageByte(sealed, 1 * partBytes);
    const std::size_t b = FileOffsetOfImageByte(sealed, 2 * partBytes);
    std::swap_ranges(swapped.begin() + static_cast<std::ptrdiff_t>(a),
                     swapped.begin() + static_cast<std::ptrdiff_t>(a + partBytes + 16),
                     swapped.begin() + static_cast<std::ptrdiff_t>(b));
    WriteBytes(swapped);
    EXPECT_EQ(ReadEverythingError(), Damaged) << "parts 1 and 2 swapped";
}

TEST_F(DatabaseTest, DamagedCalendarIsRefusedWhenTheTableIsOpened) {
    // A lookup of 1 January stops at the first record; the last one's
    // damage is noticed all the same, before any lookup.
    const Bytes image =
        tools::BuildDatabaseImage(tools::ParseCalendarCsv(CalendarCsv(366), "test.csv"),
                                  {Picture{"рас", PatternPicture(1, 20000)}});
    const std::string lastCircle = "Круг365";
    const Bytes sealed = DatabaseFileOfImage(image, Password);
    Bytes altered = sealed;
    altered[FileOffsetOfImageByte(
        sealed, OffsetIn(image, Bytes(lastCircle.begin(), lastCircle.end())))] ^= 0x01;
    WriteBytes(altered);
    EXPECT_EQ(OpenError(), Damaged);
}

TEST_F(DatabaseTest, PicturesAreReadAndCheckedOneByOne) {
    const Bytes first = PatternPicture(1, 30000);
    const Bytes second = PatternPicture(2, 30000);
    const Bytes third = PatternPicture(3, 30000);
    const Bytes image = tools::BuildDatabaseImage(
        tools::ParseCalendarCsv(CalendarCsv(366), "test.csv"),
        {Picture{"рас", first}, Picture{"пмас", second}, Picture{"гим", third}});
    const Bytes sealed = DatabaseFileOfImage(image, Password);
    const Bytes middle(second.begin() + 15000, second.begin() + 15032);
    Bytes altered = sealed;
    altered[FileOffsetOfImageByte(sealed, OffsetIn(image, middle))] ^= 0x01;
    WriteBytes(altered);

    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    ASSERT_TRUE(FindDay(cursor, 12, 31).has_value()) << "the calendar never reads a picture";
    cursor.First();
    Bytes buffer;
    cursor.CopyFieldBytes("гим", buffer);
    EXPECT_EQ(buffer, third) << "a picture is read without the pages of those before it";
    cursor.CopyFieldBytes("рас", buffer);
    EXPECT_EQ(buffer, first);
    try {
        cursor.CopyFieldBytes("пмас", buffer);
        ADD_FAILURE() << "the damaged picture was read";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(std::string(error.what()), Damaged);
    }
    // Before, the whole file was refused from then on, and every later
    // calculation failed until the program started again: now the damaged
    // picture costs that picture alone.
    EXPECT_TRUE(FindDay(cursor, 1, 1).has_value());
    cursor.First();
    cursor.CopyFieldBytes("гим", buffer);
    EXPECT_EQ(buffer, third);
    TableCursor another(connection);
    EXPECT_TRUE(FindDay(another, 12, 31).has_value());
    another.First();
    EXPECT_THROW(another.CopyFieldBytes("пмас", buffer), DatabaseError) << "and fails again";

    // The check of every page, as the window makes it at start-up, finds it
    // at once; the sound file passes it.
    try {
        connection.VerifyEveryPage();
        ADD_FAILURE() << "the damaged page passed";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(std::string(error.what()), Damaged);
    }
    WriteBytes(sealed);
    EXPECT_NO_THROW(DatabaseConnection(HoroscopeConnectionString).VerifyEveryPage());
}

TEST_F(DatabaseTest, SameImageGivesTheSameFile) {
    const Bytes image =
        tools::BuildDatabaseImage(tools::ParseCalendarCsv(Header + "1;1;c;A\n", "test.csv"), {});
    const Bytes other =
        tools::BuildDatabaseImage(tools::ParseCalendarCsv(Header + "1;1;c;B\n", "test.csv"), {});
    EXPECT_EQ(DatabaseFileOfImage(image, Password), DatabaseFileOfImage(image, Password));
    const Bytes a = DatabaseFileOfImage(image, Password);
    const Bytes b = DatabaseFileOfImage(other, Password);
    EXPECT_FALSE(std::equal(a.begin() + 36, a.begin() + 60, b.begin() + 36))
        << "two images share a nonce";
}

TEST_F(DatabaseTest, TableTMustBeAPlainTable) {
    struct Case {
        const char* name;
        const char* sql;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"no table t", "CREATE TABLE other (Mont INTEGER);",
         "Table 't' not found in '.\\DB\\bd.mdb'"},
        {"t is a view", "CREATE TABLE u (Mont INTEGER); CREATE VIEW t AS SELECT * FROM u;",
         "Table 't' in '.\\DB\\bd.mdb' is not a plain table"},
        {"t has no rowid", "CREATE TABLE t (Mont INTEGER PRIMARY KEY, Day INTEGER) WITHOUT ROWID;",
         "Table 't' in '.\\DB\\bd.mdb' is not a plain table"},
        {"t hides its rowid", "CREATE TABLE t (rowid INTEGER, Mont INTEGER);",
         "Table 't' in '.\\DB\\bd.mdb' is not a plain table"},
    };
    for (const auto& c : cases) {
        WriteBytes(DatabaseFileOfImage(ImageFromSql(c.sql), Password));
        EXPECT_EQ(OpenError(), c.message) << c.name;
    }
}

TEST_F(DatabaseTest, OversizedFieldIsRefused) {
    // A value above the layer's cap is reported, not loaded: a calendar
    // field's when the table is opened, a picture field's when it is read.
    const std::string oversized = "zeroblob(" + std::to_string(MaxFieldBytes + 1) + ")";
    const std::string tooLarge = Damaged + ": a field value is too large";

    WriteBytes(DatabaseFileOfImage(ImageFromSql(("CREATE TABLE t (Mont INTEGER, Krug TEXT);"
                                                 "INSERT INTO t VALUES (1, " +
                                                 oversized + ");")
                                                    .c_str()),
                                   Password));
    EXPECT_EQ(OpenError(), tooLarge) << "in a calendar field";

    WriteBytes(DatabaseFileOfImage(ImageFromSql(("CREATE TABLE t (Mont INTEGER, \"рас\" BLOB);"
                                                 "INSERT INTO t VALUES (1, " +
                                                 oversized + ");")
                                                    .c_str()),
                                   Password));
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    EXPECT_EQ(cursor.FieldText("Mont"), "1");
    Bytes buffer;
    try {
        cursor.CopyFieldBytes("рас", buffer);
        ADD_FAILURE() << "no error for an oversized picture";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(std::string(error.what()), tooLarge) << "in a picture field";
    }
}

TEST_F(DatabaseTest, FailedOpeningReleasesTheDatabase) {
    // A cursor whose first record cannot be read must not keep the
    // connection's memory alive once both are gone.
    const std::string sql = "CREATE TABLE t (Mont INTEGER, Krug TEXT);"
                            "INSERT INTO t VALUES (1, zeroblob(" +
                            std::to_string(MaxFieldBytes + 1) + "));";
    WriteBytes(DatabaseFileOfImage(ImageFromSql(sql.c_str()), Password));
    const sqlite3_int64 before = sqlite3_memory_used();
    EXPECT_NE(OpenError(), "(no error)");
    EXPECT_EQ(sqlite3_memory_used(), before);
}

TEST_F(DatabaseTest, FieldsDeclaredBlobReadLikeTheOthers) {
    // Picture fields are read by a query of their own; whatever a field is
    // declared and holds, its text and bytes are SQLite's.
    const char* sql = "CREATE TABLE t (i INTEGER, x TEXT, b BLOB, n, \"q\"\"uote\" blob);"
                      "INSERT INTO t VALUES (5, 'a', x'00FF41', 2.5, 'текст');"
                      "INSERT INTO t VALUES (NULL, x'4142', 7, NULL, NULL);"
                      "INSERT INTO t VALUES ('s', 3, 'Б', x'', 1e300);";
    WriteBytes(DatabaseFileOfImage(ImageFromSql(sql), Password));
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    ASSERT_EQ(cursor.FieldNames(), (std::vector<std::string>{"i", "x", "b", "n", "q\"uote"}));
    const std::vector<std::vector<std::string>> expected = {
        {"5", "a",
         std::string("\0\xFF"
                     "A",
                     3),
         "2.5", "текст"},
        {"", "AB", "7", "", ""},
        {"s", "3", "Б", "", "1.0e+300"},
    };
    Bytes bytes;
    for (const auto& row : expected) {
        ASSERT_FALSE(cursor.Eof());
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string& name = cursor.FieldNames()[i];
            EXPECT_EQ(cursor.FieldText(name), row[i]) << name << " of record " << row[0];
            cursor.CopyFieldBytes(name, bytes);
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), row[i]) << name;
        }
        cursor.Next();
    }
    EXPECT_TRUE(cursor.Eof());
}

TEST_F(DatabaseTest, MissingPictureLeavesItsFieldEmpty) {
    std::filesystem::create_directory("pictures");
    std::ofstream("pictures/gim.jpg", std::ios::binary) << "\xFF\xD8gym";
    std::vector<std::string> warnings;
    const auto pictures =
        tools::ReadPictures("pictures", [&](const std::string& w) { warnings.push_back(w); });
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].field, "гим");
    EXPECT_EQ(warnings.size(), 4u) << "one warning for each missing picture";

    Build(Header + "1;1;c;A\n", pictures);
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    Bytes buffer;
    cursor.CopyFieldBytes("гим", buffer);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "\xFF\xD8gym");
    cursor.CopyFieldBytes("жоб", buffer);
    EXPECT_TRUE(buffer.empty());

    std::ofstream("pictures/mob.jpg", std::ios::binary) << "GIF89a";
    EXPECT_THROW(tools::ReadPictures("pictures", [](const std::string&) {}), std::runtime_error)
        << "a picture that is not a JPEG file";
}

TEST(CalendarCsv, RefusesRowsThatAreNotCalendarDays) {
    struct Case {
        const char* name;
        std::string text;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"no header", "1;1;c;A\n", "t.csv:1: expected the header Mont;Day;Mir;Krug"},
        {"month 13", Header + "13;1;c;A\n", "t.csv:2: month must be a number from 1 to 12"},
        {"30 February", Header + "2;30;c;A\n", "t.csv:2: day is not a day of that month"},
        {"leading zero", Header + "01;05;c;A\n", "(no error)"},
        {"blank in the day", Header + "1; 5;c;A\n", "t.csv:2: day is not a day of that month"},
        {"unknown world", Header + "1;5;B;A\n", "t.csv:2: world must be b, c, h or empty"},
        {"three fields", Header + "1;5;c\n", "t.csv:2: expected 4 fields separated by ';'"},
        {"comment and CR LF", "# note\r\n" + std::string("Mont;Day;Mir;Krug\r\n1;5;;A\r\n"),
         "(no error)"},
    };
    for (const auto& c : cases) {
        std::string message = "(no error)";
        try {
            tools::ParseCalendarCsv(c.text, "t.csv");
        } catch (const std::runtime_error& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message) << c.name;
    }
    const auto rows = tools::ParseCalendarCsv(Header + "01;05;;Второму\r\n", "t.csv");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].month, 1);
    EXPECT_EQ(rows[0].day, 5);
    EXPECT_EQ(rows[0].circle, "Второму") << "the CR of a CR LF line end is not part of the circle";
}

TEST(CalendarCsv, CompleteCalendarHasEveryDayOnce) {
    std::string text = Header;
    static constexpr int Days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= Days[month - 1]; ++day) {
            text += std::to_string(month) + ";" + std::to_string(day) + ";c;A\n";
        }
    }
    EXPECT_NO_THROW(tools::CheckCompleteCalendar(tools::ParseCalendarCsv(text, "t.csv")));
    EXPECT_THROW(
        tools::CheckCompleteCalendar(tools::ParseCalendarCsv(text + "12;31;c;A\n", "t.csv")),
        std::runtime_error)
        << "a day twice";
    const std::string withoutLeapDay =
        text.substr(0, text.find("2;29;")) + text.substr(text.find("3;1;"));
    EXPECT_THROW(tools::CheckCompleteCalendar(tools::ParseCalendarCsv(withoutLeapDay, "t.csv")),
                 std::runtime_error)
        << "29 February missing";
}

TEST(ParseConnectionString, TakesDataSourceAndPassword) {
    const auto settings = ParseConnectionString(HoroscopeConnectionString);
    EXPECT_EQ(settings.dataSource, ".\\DB\\bd.mdb");
    EXPECT_EQ(settings.password, "mnb852$%^");

    const auto quoted =
        ParseConnectionString(" data source = 'a;b' ; JET OLEDB:DATABASE PASSWORD=\"x\"\"y\" ;");
    EXPECT_EQ(quoted.dataSource, "a;b");
    EXPECT_EQ(quoted.password, "x\"y");

    EXPECT_THROW(ParseConnectionString("Provider=Microsoft.Jet.OLEDB.4.0"), DatabaseError);
    EXPECT_THROW(ParseConnectionString("Data Source='open"), DatabaseError);
}

TEST(BuiltDatabase, HoldsEveryCalendarDay) {
    // The database the build put into the build tree.
    const std::filesystem::path built = TORAVEL_BUILT_DB_DIR;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(built.parent_path());
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor cursor(connection);
    int records = 0;
    for (; !cursor.Eof(); cursor.Next()) {
        ++records;
        const std::string world = cursor.FieldText("Mir");
        EXPECT_TRUE(world == "b" || world == "c" || world == "h")
            << "record " << records << ": " << world;
        EXPECT_FALSE(cursor.FieldText("Krug").empty()) << "record " << records;
    }
    EXPECT_EQ(records, 366);
    EXPECT_TRUE(FindDay(cursor, 2, 29).has_value());
    const auto fifth = FindDay(cursor, 1, 5);
    ASSERT_TRUE(fifth.has_value());
    EXPECT_EQ(fifth->world, "h");
    EXPECT_EQ(fifth->circle, "Первому");

    // The first record holds each picture of data/pictures/ byte for byte.
    cursor.First();
    Bytes stored;
    for (const auto& source : tools::PictureSources) {
        const auto file =
            tools::ReadFileText(std::filesystem::path(TORAVEL_PICTURES_DIR) / source.fileName);
        cursor.CopyFieldBytes(source.field, stored);
        EXPECT_EQ(stored, file ? Bytes(file->begin(), file->end()) : Bytes{}) << source.field;
    }
    std::filesystem::current_path(previous);
}

} // namespace
} // namespace toravel
