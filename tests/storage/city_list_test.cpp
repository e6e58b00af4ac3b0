// Loading the city list: line ends, empty lines, Windows-1251 decoding and
// the missing-file message.
#include "storage/city_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "place/city_line.h"

namespace toravel {
namespace {

using Lines = std::vector<std::string>;

TEST(DecodeCityList, SplitsAtEveryKindOfLineEnd) {
    struct Case {
        const char* name;
        std::string text;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"empty file", "", {}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone LF", "a\nb\n", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"no final line end", "a\r\nb", {"a", "b"}},
        {"mixed ends", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"empty lines are entries", "a\r\n\r\nb\r\n\r\n", {"a", "", "b", ""}},
        {"one empty line", "\r\n", {""}},
        {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
        {"NUL keeps the rest of the file",
         std::string("a\0b\r\nc", 6),
         {std::string("a\0b", 3), "c"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeCityList(c.text), c.lines) << c.name;
    }
}

TEST(DecodeCityList, DecodesWindows1251) {
    // "Москва;55°45';37°37'" in Windows-1251: the degree sign is byte B0.
    const std::string bytes = "\xCC\xEE\xF1\xEA\xE2\xE0;55\xB0"
                              "45';37\xB0"
                              "37'\r\n";
    const Lines lines = DecodeCityList(bytes);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Москва;55°45';37°37'");
    const CityCoordinateTexts fields = ApplyCityLine(lines[0]);
    EXPECT_EQ(fields.latitude, "55,45");
    EXPECT_EQ(fields.longitude, "37,37");
}

TEST(Windows1251ToUtf8, MarksTheUndefinedByteAndGoesOn) {
    EXPECT_EQ(Windows1251ToUtf8("a\x98"
                                "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Windows1251ToUtf8("\xA8\xB8\xB9"), "Ёё№");
}

class LoadCityListTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("toravel-city-list-" + std::to_string(::getpid()) + "-" +
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
    std::filesystem::path directory_;
    std::filesystem::path previous_;
};

TEST_F(LoadCityListTest, ReadsTheFileThroughAWindowsPath) {
    std::ofstream(directory_ / "db" / "atlas.ini", std::ios::binary)
        << "\xCC\xE8\xED\xF1\xEA\r\n\r\n";
    EXPECT_EQ(LoadCityList(".\\db\\atlas.ini"), (Lines{"Минск", ""}));
    EXPECT_EQ(LoadCityList(".\\DB\\ATLAS.INI"), (Lines{"Минск", ""}));
}

TEST_F(LoadCityListTest, MissingFileGivesTheFileError) {
    try {
        LoadCityList(".\\db\\atlas.ini");
        FAIL() << "no error for a missing file";
    } catch (const FileOpenError& error) {
        EXPECT_STREQ(error.what(), "Cannot open file .\\db\\atlas.ini");
    }
    EXPECT_THROW(LoadCityList(".\\db"), FileOpenError) << "a directory is not a city list";
}

TEST(BuiltCityList, HoldsTheLinesOfItsSource) {
    // db/atlas.ini as the build wrote it (Windows-1251, CR LF) reads back as
    // the UTF-8 lines of data/atlas.txt, and every city has both coordinates.
    std::ifstream source(TORAVEL_ATLAS_PATH);
    Lines expected;
    for (std::string line; std::getline(source, line);) {
        expected.push_back(line);
    }
    const Lines lines = LoadCityList(std::string(TORAVEL_BUILT_DB_DIR) + "/atlas.ini");
    EXPECT_EQ(lines, expected);
    for (const auto& line : lines) {
        const CityCoordinateTexts fields = ApplyCityLine(line);
        EXPECT_FALSE(fields.latitude.empty() || fields.longitude.empty()) << line;
        EXPECT_EQ(fields.latitude.find_first_not_of("-0123456789,"), std::string::npos) << line;
        EXPECT_EQ(fields.longitude.find_first_not_of("-0123456789,"), std::string::npos) << line;
    }
}

} // namespace
} // namespace toravel
