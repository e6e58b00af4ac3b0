// The calculation command at the edges of what the window lets through:
// every birth year the date picker offers, the poles and the date line, the
// largest offsets, and coordinates that are no place on the Earth.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "horoscope/calculation_command.h"
#include "lunar/calculation_state.h"
#include "lunar/moonrise_count.h"
#include "lunar/working_stream.h"
#include "pictures/jpeg_decoder.h"
#include "place/city_line.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"
#include "storage/city_list.h"
#include "storage/database.h"
#include "storage/horoscope_database.h"
#include "tests/horoscope/fake_view.h"
#include "tests/lunar/calculation_state_fixture.h"

namespace toravel {
namespace {

using testing::FakeView;
using testing::ViewEvent;

// Every calendar day has a record, so that no message interrupts the runs.
class EveryDay : public CalendarDayLookup {
public:
    int lookups = 0;
    std::optional<CalendarDayRecord> FindCalendarDay(int, int) override {
        ++lookups;
        return CalendarDayRecord{"c", "Второму"};
    }
};

class CalculationRobustnessTest : public testing::CalculationStateTest {
protected:
    void SetUp() override {
        CalculationStateTest::SetUp();
        SharedCalculationState() = CalculationState{};
    }

    CalculationState& State() { return SharedCalculationState(); }

    FakeView view_;
    EveryDay days_;
};

struct Place {
    const char* latitude;
    const char* longitude;
    bool polar; // the Moon may stay below or above the horizon for days
};

// The date picker and --date offer the years 2 to 9998: the search needs
// December of the year before and January of the year after. Each year is
// tried on its first and last moment, at the largest offsets either way, at
// a city, at both poles' edges and on the date line.
TEST_F(CalculationRobustnessTest, EveryBirthYearOfThePickerFinishesWithASoundLunarDay) {
    const int years[] = {2,    3,    100,  1000, 1500, 1581, 1582, 1583, 1800,
                         1900, 2000, 2200, 3000, 5000, 9000, 9997, 9998};
    const Place places[] = {
        {"55,7558", "37,6173", false}, {"89,9", "180", true},       {"-89,9", "-180", true},
        {"0", "-180", false},          {"-33,87", "151,21", false},
    };
    struct Moment {
        int month, day, hour, minute, second;
        const char* zoneHours;
        double computerHours;
    } const moments[] = {
        {1, 1, 0, 0, 0, "12", 14.0},
        {12, 31, 23, 59, 59, "-12", -12.0},
        {7, 1, 12, 0, 0, "0", 0.0},
    };
    for (int year : years) {
        for (const Place& place : places) {
            for (const Moment& m : moments) {
                const std::string what = std::to_string(m.day) + "." + std::to_string(m.month) +
                                         "." + std::to_string(year) + " at " + place.latitude +
                                         " " + place.longitude + ", zone " + m.zoneHours;
                view_.events.clear();
                view_.latitude = place.latitude;
                view_.longitude = place.longitude;
                view_.zoneHours = m.zoneHours;
                view_.birthDate = EncodeDateTime(year, m.month, m.day);
                view_.birthTime = EncodeDateTime(1899, 12, 30, m.hour, m.minute, m.second);
                State().ComputerZoneOffset = m.computerHours / 24.0;

                ASSERT_NO_THROW(RunCalculationCommand(view_, days_)) << what;
                EXPECT_TRUE(view_.Texts(ViewEvent::Message).empty()) << what;
                EXPECT_EQ(view_.ReportArea().size(), 4u) << what;
                EXPECT_EQ(view_.Texts(ViewEvent::PicturesEnabled).size(), 1u) << what;

                const CalculationState& s = State();
                for (std::size_t i = 1; i < s.NewMoonTable.size(); ++i) {
                    const double lunation = s.NewMoonTable[i] - s.NewMoonTable[i - 1];
                    EXPECT_TRUE(lunation > 29.2 && lunation < 29.9)
                        << what << ": new moons " << i - 1 << " and " << i << " are " << lunation
                        << " days apart";
                }
                EXPECT_LE(s.PrecedingNewMoon, s.CalculationMoment) << what;
                EXPECT_LT(s.CalculationMoment - s.PrecedingNewMoon, 30.0) << what;
                EXPECT_GE(s.LunarDay, place.polar ? 0 : 1) << what;
                EXPECT_LE(s.LunarDay, 30) << what;
            }
        }
    }
}

// Right after the conversion the coordinates must name a place: latitude
// −90 … 90, longitude −180 … 180. Texts that are no number at all (NaN and
// infinity included) are the converter's error; numbers off the Earth end
// the command with one message and nothing computed after it. The typed
// path does not read the coordinates, so any non-blank text goes through.
TEST_F(CalculationRobustnessTest, CoordinatesMustBeNumbersOnTheEarth) {
    enum Outcome { Accepted, OffTheEarth, NotANumber };
    struct Row {
        const char* latitude;
        const char* longitude;
        Outcome outcome;
    } const rows[] = {
        {"90", "180", Accepted},        {"-90", "-180", Accepted},
        {"-0", "0,0", Accepted},        {"90,000001", "0", OffTheEarth},
        {"-90,5", "0", OffTheEarth},    {"0", "180,000001", OffTheEarth},
        {"0", "-181", OffTheEarth},     {"1e300", "0", OffTheEarth},
        {"0", "-1,7e308", OffTheEarth}, {"nan", "0", NotANumber},
        {"0", "inf", NotANumber},       {"-infinity", "0", NotANumber},
        {"1e400", "0", NotANumber},     {"0", "0x10", NotANumber},
        {"55°45'", "37", NotANumber},
    };
    view_.birthDate = EncodeDateTime(1990, 5, 17);
    view_.birthTime = EncodeDateTime(1899, 12, 30, 14, 30);
    for (const Row& row : rows) {
        const std::string what = std::string(row.latitude) + " " + row.longitude;
        view_.latitude = row.latitude;
        view_.longitude = row.longitude;
        view_.lunarDay.clear();
        view_.events.clear();
        days_.lookups = 0;
        std::string error;
        try {
            RunCalculationCommand(view_, days_);
        } catch (const ConversionError& e) {
            error = e.what();
        }
        const std::vector<std::string> messages = view_.Texts(ViewEvent::Message);
        switch (row.outcome) {
        case Accepted:
            EXPECT_EQ(error, "") << what;
            EXPECT_TRUE(messages.empty()) << what;
            EXPECT_EQ(view_.ReportArea().size(), 4u) << what;
            break;
        case OffTheEarth:
            EXPECT_EQ(error, "") << what;
            EXPECT_EQ(messages, std::vector<std::string>{InvalidBirthplaceMessage}) << what;
            EXPECT_TRUE(view_.ReportArea().empty()) << what;
            EXPECT_EQ(days_.lookups, 0) << what;
            EXPECT_TRUE(view_.Texts(ViewEvent::PicturesEnabled).empty()) << what;
            break;
        case NotANumber: {
            const auto refusal = [](const char* text) {
                return "'" + std::string(text) + "' is not a valid floating point value";
            };
            EXPECT_TRUE(error == refusal(row.latitude) || error == refusal(row.longitude))
                << what << ": " << error;
            EXPECT_TRUE(messages.empty()) << what;
            EXPECT_EQ(days_.lookups, 0) << what;
            break;
        }
        }

        // The same coordinates with a typed lunar day: no error, a report.
        view_.lunarDay = "7";
        view_.events.clear();
        ASSERT_NO_THROW(RunCalculationCommand(view_, days_)) << what;
        EXPECT_TRUE(view_.Texts(ViewEvent::Message).empty()) << what;
        EXPECT_EQ(view_.ReportArea().size(), 4u) << what;
    }
}

// What a user's session reads, in the program's own working directory with
// a copy of the built db/: the city list, a computed and a typed calculation
// over the real table for a city of the list, and every picture. Neither data
// file changes by a byte or in its modification time, and no other file
// (journal, lock, temporary) appears beside them.
TEST_F(CalculationRobustnessTest, DataFilesAreNeverWritten) {
    namespace fs = std::filesystem;
    const fs::path directory =
        fs::temp_directory_path() / ("toravel-never-written-" + std::to_string(::getpid()));
    fs::remove_all(directory);
    fs::create_directories(directory / "db");
    for (const char* name : {"atlas.ini", "bd.mdb"})
        fs::copy_file(fs::path(TORAVEL_BUILT_DB_DIR) / name, directory / "db" / name);
    const fs::path previous = fs::current_path();
    fs::current_path(directory);

    struct FileState {
        std::string bytes;
        fs::file_time_type modified;
        bool operator==(const FileState&) const = default;
    };
    const auto snapshot = [] {
        std::map<std::string, FileState> files;
        for (const fs::directory_entry& entry : fs::directory_iterator("db")) {
            std::string bytes(static_cast<std::size_t>(entry.file_size()), '\0');
            std::ifstream(entry.path(), std::ios::binary)
                .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            files[entry.path().filename().string()] = {bytes, entry.last_write_time()};
        }
        return files;
    };
    const auto before = snapshot();
    ASSERT_EQ(before.size(), 2u);

    const std::vector<std::string> cities = LoadCityList(".\\db\\atlas.ini");
    ASSERT_FALSE(cities.empty());
    const CityCoordinateTexts place = ApplyCityLine(cities.front());
    view_.latitude = place.latitude;
    view_.longitude = place.longitude;
    view_.birthDate = EncodeDateTime(1990, 5, 17);
    view_.birthTime = EncodeDateTime(1899, 12, 30, 14, 30);
    HoroscopeDatabase database;
    EXPECT_NO_THROW(RunCalculationCommand(view_, database));
    view_.lunarDay = "7";
    EXPECT_NO_THROW(RunCalculationCommand(view_, database));
    EXPECT_TRUE(view_.Texts(ViewEvent::Message).empty());

    {
        const DatabaseConnection connection(HoroscopeConnectionString);
        TableCursor table(connection);
        std::vector<unsigned char> picture;
        for (const char* field : {"рас", "пмас", "гим", "моб", "жоб"}) {
            table.First();
            table.CopyFieldBytes(field, picture);
            EXPECT_NO_THROW(DecodeJpeg(picture.data(), picture.size())) << field;
        }
    }

    const auto after = snapshot();
    fs::current_path(previous);
    fs::remove_all(directory);
    EXPECT_EQ(after.size(), 2u) << "a file appeared beside the data files";
    EXPECT_TRUE(after == before) << "a data file changed";
}

} // namespace
} // namespace toravel
