// toravel-cli end to end: the program built, run from the build tree's root
// on the database and city list the build made, its standard output, error
// output and exit status taken apart.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "platform/database.h"
#include "platform/database_file.h"
#include "tools/build_database/database_builder.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;

    std::vector<std::string> OutLines() const {
        std::vector<std::string> lines;
        std::istringstream stream(out);
        for (std::string line; std::getline(stream, line);)
            lines.push_back(line);
        return lines;
    }
};

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// Runs the program from the build tree's root with the given time zone and
// further environment variables ("NAME=value ...", quoted as the shell needs).
Outcome RunCli(const std::vector<std::string>& arguments, const std::string& zone = "UTC",
               const std::string& environment = "") {
    const std::string errFile = std::filesystem::temp_directory_path() /
                                ("toravel-cli-test-" + std::to_string(::getpid()) + ".err");
    std::string command = "cd " + ShellQuoted(TORAVEL_BUILD_ROOT) + " && TZ=" + ShellQuoted(zone) +
                          " " + environment + " exec " + ShellQuoted(TORAVEL_CLI);
    for (const std::string& argument : arguments)
        command += " " + ShellQuoted(argument);
    command += " 2>" + ShellQuoted(errFile);

    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return outcome;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        outcome.out.append(buffer, n);
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* err = std::fopen(errFile.c_str(), "rb")) {
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, err)) > 0;)
            outcome.err.append(buffer, n);
        std::fclose(err);
    }
    std::filesystem::remove(errFile);
    return outcome;
}

// The whole standard output as one JSON object; fails the test otherwise.
nlohmann::json Json(const Outcome& outcome) {
    try {
        return nlohmann::json::parse(outcome.out);
    } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << "standard output is not one JSON object (" << e.what() << "):\n"
                      << outcome.out;
        return {};
    }
}

const std::vector<std::string> Moscow1990 = {"--date", "17.05.1990", "--time", "14:30",
                                             "--city", "Москва",     "--zone", "4"};

std::vector<std::string> With(std::vector<std::string> arguments,
                              const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

TEST(ToravelCli, ComputedPathFromTheCityListAsJson) {
    const Outcome outcome = RunCli(With(Moscow1990, {"--json"}));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["lunar_day"], 22); // PyEphem's moonrises, counted by hand
    EXPECT_EQ(json["given_lunar_day"], 0);
    EXPECT_EQ(json["computer_zone_offset_days"], 0.0);
    EXPECT_EQ(json["preceding_new_moon"], "25.04.1990 08:27");
    EXPECT_EQ(json["messages"], nlohmann::json::array());

    const std::regex minute(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d)"), date(R"(\d\d\.\d\d\.\d{4})");
    ASSERT_EQ(json["new_moons"].size(), 14u);
    for (const auto& text : json["new_moons"]) {
        EXPECT_TRUE(std::regex_match(text.get<std::string>(), minute)) << text;
    }
    ASSERT_EQ(json["moonrises"].size(), 41u);
    for (const auto& text : json["moonrises"]) {
        const std::string entry = text.get<std::string>();
        EXPECT_TRUE(std::regex_match(entry, minute) || std::regex_match(entry, date)) << entry;
    }
    EXPECT_EQ(json["moonrises"][0], "25.04.1990 05:28");
    EXPECT_EQ(json["moonrises"][16], "11.05.1990") << "a day without moonrise";

    ASSERT_EQ(json["report"].size(), 4u);
    EXPECT_EQ(json["report"][3], std::string(49, ' ') + "22 лунный день");
    const std::string world = json["period_world"];
    EXPECT_TRUE(world == "b" || world == "c" || world == "h") << world;
    EXPECT_EQ(json["report"][1].get<std::string>().rfind(
                  std::string(37, ' ') + json["circle"].get<std::string>() + " кругу ", 0),
              0u);
}

TEST(ToravelCli, TextOutputIsTheReportAreaAndMatchesTheJson) {
    const Outcome text = RunCli(With(Moscow1990, {"--list"}));
    const Outcome json = RunCli(With(Moscow1990, {"--list", "--json"}));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.err, "");
    const std::vector<std::string> lines = text.OutLines();
    ASSERT_EQ(lines.size(), 16u + 43u + 4u);
    EXPECT_EQ(lines[0], "новолуния расчетного года");
    EXPECT_EQ(lines[16], "восходы лун от ближайшего новолуния");

    const nlohmann::json parsed = Json(json);
    std::vector<std::string> expected = parsed["listing"];
    for (const auto& line : parsed["report"])
        expected.push_back(line);
    EXPECT_EQ(lines, expected);
}

TEST(ToravelCli, TypedLunarDayNeedsNoNumbersAndComputesNothing) {
    const Outcome outcome = RunCli({"--date", "17.05.1990", "--lat", "север", "--lon", "восток",
                                    "--lunar-day", "7", "--json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["lunar_day"], 7);
    EXPECT_EQ(json["given_lunar_day"], 7);
    EXPECT_EQ(json["lunar_world"], "b");
    EXPECT_EQ(json["new_moons"], nlohmann::json::array());
    EXPECT_EQ(json["moonrises"], nlohmann::json::array());
    EXPECT_EQ(json["report"][0],
              " вы указали, что расчетная дата является 7 лунным днем, что соответствует ");
}

TEST(ToravelCli, ComputersZoneComesFromTheMachinesTimeZone) {
    // Moscow kept three hours east in January 2011: with one hour more from
    // the spin box the clock is the same as four hours at Greenwich.
    const nlohmann::json moscow = Json(RunCli(
        {"--date", "17.05.1990", "--time", "14:30", "--city", "Москва", "--zone", "1", "--json"},
        "Europe/Moscow"));
    const nlohmann::json greenwich = Json(RunCli(With(Moscow1990, {"--json"})));
    EXPECT_EQ(moscow["computer_zone_offset_days"], 0.125);
    EXPECT_EQ(moscow["new_moons"], greenwich["new_moons"]);
    EXPECT_EQ(moscow["lunar_day"], greenwich["lunar_day"]);
}

TEST(ToravelCli, ExitStatusSaysWhatWentWrong) {
    struct Row {
        std::vector<std::string> arguments;
        int status;
        const char* error; // expected in standard error
    } rows[] = {
        {{"--date", "17.05.1990"}, 1, "нет географических данных"},
        {{"--date", "17.05.1990", "--lat", "55,7"}, 1, "нет данных о долготе"},
        {{"--date", "17.05.1990", "--lat", "abc", "--lon", "37"},
         1,
         "'abc' is not a valid floating point value."},
        {{"--date", "17.05.1990", "--lat", "95", "--lon", "37"},
         1,
         "неверные географические данные"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--db", "/nonexistent"},
         1,
         "bd.mdb"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--lunar-day", "7 "},
         1,
         "'7 ' is not a valid integer value."},
        {{"--lat", "55", "--lon", "37"}, 2, "--date"},
        {{"--date", "31.02.1990", "--lat", "55", "--lon", "37"}, 2, "--date"},
        {{"--date", "01.01.0001", "--lat", "55", "--lon", "37"}, 2, "--date"},
        {{"--date", "01.01.9999", "--lat", "55", "--lon", "37"}, 2, "--date"},
        {{"--date", "17.05.1990", "--time", "24:00", "--lat", "55", "--lon", "37"}, 2, "--time"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--zone", "13"}, 2, "--zone"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--lunar-day", "123"},
         2,
         "--lunar-day"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--sex", "x"}, 2, "--sex"},
        {{"--date", "17.05.1990", "--city", "Атлантида"}, 2, "Атлантида"},
        {{"--date", "17.05.1990", "--city", "Москва", "--lat", "55"}, 2, "--city"},
    };
    for (const Row& row : rows) {
        std::string name;
        for (const std::string& argument : row.arguments)
            name += argument + " ";
        const Outcome outcome = RunCli(row.arguments);
        EXPECT_EQ(outcome.status, row.status) << name << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(row.error), std::string::npos) << name << "\n" << outcome.err;
        EXPECT_EQ(outcome.out, "") << name;
    }
}

TEST(ToravelCli, JsonModeWritesOnlyJsonAlsoWhenTheCommandFails) {
    const Outcome blank = RunCli({"--date", "17.05.1990", "--json"});
    EXPECT_EQ(blank.status, 1);
    EXPECT_EQ(Json(blank)["messages"], nlohmann::json::array({"нет географических данных"}));
    EXPECT_EQ(Json(blank)["report"], nlohmann::json::array());

    const Outcome bad = RunCli({"--date", "17.05.1990", "--lat", "abc", "--lon", "37", "--json"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(Json(bad)["error"], "'abc' is not a valid floating point value.");
    EXPECT_EQ(Json(bad)["new_moons"].size(), 14u) << "the new moons were found before the error";
    EXPECT_EQ(Json(bad)["moonrises"], nlohmann::json::array());
}

TEST(ToravelCli, EarliestAndLatestBirthYearsAreComputed) {
    for (const char* date : {"01.01.0002", "31.12.9998"}) {
        const Outcome outcome = RunCli({"--date", date, "--lat", "55", "--lon", "37", "--json"});
        EXPECT_EQ(outcome.status, 0) << date << "\n" << outcome.err;
        const std::int32_t lunarDay = Json(outcome)["lunar_day"];
        EXPECT_GE(lunarDay, 1) << date;
        EXPECT_LE(lunarDay, 30) << date;
    }
}

TEST(ToravelCli, MissingCalendarDayIsAMessageNotAFailure) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("toravel-cli-db-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    const std::string password =
        toravel::ParseConnectionString(toravel::HoroscopeConnectionString).password;
    const auto file = toravel::DatabaseFileOfImage(
        toravel::tools::BuildDatabaseImage({{1, 1, "b", "Первому"}}, {}), password);
    std::ofstream(directory / "bd.mdb", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));

    const Outcome outcome = RunCli({"--date", "17.05.1990", "--lat", "55", "--lon", "37",
                                    "--lunar-day", "3", "--db", directory.string()});
    std::filesystem::remove_all(directory);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "К сожалению соответствие не найдено, обратитесь к разработчику\n");
    const auto lines = outcome.OutLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], std::string(37, ' ') + " кругу ");
}

TEST(ToravelCli, HelpIsInRussian) {
    const Outcome outcome = RunCli({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("Параметры:"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("--date ДД.ММ.ГГГГ"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("дата рождения"), std::string::npos) << outcome.out;
}

} // namespace

// --auto-zone: the spin box's hours from the city's zone at the birth moment.
namespace {

const std::vector<std::string> MoscowJuly1990 = {"--date", "17.07.1990", "--time",
                                                 "12:00",  "--city",     "Москва"};

// A data directory with its own city list (ASCII names, so that only the
// degree sign needs the list's code page) and
// the database the build made.
class OwnCityList {
public:
    explicit OwnCityList(const std::string& lines)
        : directory_(std::filesystem::temp_directory_path() /
                     ("toravel-cli-atlas-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(directory_);
        std::ofstream(directory_ / "atlas.ini", std::ios::binary) << lines;
        std::filesystem::copy_file(std::filesystem::path(TORAVEL_BUILD_ROOT) / "db" / "bd.mdb",
                                   directory_ / "bd.mdb",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ~OwnCityList() { std::filesystem::remove_all(directory_); }
    std::string Path() const { return directory_.string(); }

private:
    std::filesystem::path directory_;
};

TEST(ToravelCliAutoZone, SpinValueIsTheBirthplacesOffsetMinusTheComputers) {
    struct Row {
        const char* computerZone;
        int zoneHours;
    } rows[] = {{"UTC", 4}, {"Europe/Moscow", 1}, {"Asia/Tokyo", -5}};
    std::optional<nlohmann::json> first;
    for (const Row& row : rows) {
        const Outcome outcome =
            RunCli(With(MoscowJuly1990, {"--auto-zone", "--json"}), row.computerZone);
        ASSERT_EQ(outcome.status, 0) << row.computerZone << "\n" << outcome.err;
        const nlohmann::json json = Json(outcome);
        EXPECT_EQ(json["zone_offset_days"], row.zoneHours / 24.0) << row.computerZone;
        EXPECT_EQ(json["birthplace_utc_offset"], "+04:00") << row.computerZone;
        EXPECT_EQ(json["birthplace_zone"], "Europe/Moscow") << row.computerZone;
        EXPECT_NE(outcome.err.find("UTC+4:00 (летнее время)"), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("взято --zone " + std::to_string(row.zoneHours) + "\n"),
                  std::string::npos)
            << outcome.err;
        // Every computer then runs the calculation on the birthplace's clock.
        if (!first)
            first = json;
        EXPECT_EQ(json["new_moons"], (*first)["new_moons"]) << row.computerZone;
        EXPECT_EQ(json["lunar_day"], (*first)["lunar_day"]) << row.computerZone;
    }
}

TEST(ToravelCliAutoZone, WinterAndSteadyOffsetsOfTheTzDatabase) {
    struct Row {
        const char* date;
        const char* utcOffset;
        int zoneHours; // with the computer at Greenwich
    } rows[] = {
        {"17.01.1990", "+03:00", 3}, // winter time
        {"17.07.2012", "+04:00", 4}, // all year on summer time
        {"17.07.2015", "+03:00", 3}, // back to three hours east, no change of clocks
    };
    for (const Row& row : rows) {
        const Outcome outcome =
            RunCli({"--date", row.date, "--city", "Москва", "--auto-zone", "--json"});
        ASSERT_EQ(outcome.status, 0) << row.date << "\n" << outcome.err;
        const nlohmann::json json = Json(outcome);
        EXPECT_EQ(json["birthplace_utc_offset"], row.utcOffset) << row.date;
        EXPECT_EQ(json["zone_offset_days"], row.zoneHours / 24.0) << row.date;
    }
}

TEST(ToravelCliAutoZone, HalfHourZoneTakesTheNearestHourAndSaysSo) {
    // The degree sign is byte B0 in the list's code page.
    const OwnCityList list("Kolkata;22\xB0"
                           "5726';88\xB0"
                           "3639';Asia/Kolkata\r\n");
    const Outcome outcome = RunCli({"--date", "17.07.1990", "--city", "Kolkata", "--auto-zone",
                                    "--json", "--db", list.Path()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["birthplace_utc_offset"], "+05:30");
    EXPECT_EQ(json["zone_offset_days"], 6 / 24.0) << "halves away from zero";
    EXPECT_NE(outcome.err.find("ближайший целый час"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("30 мин"), std::string::npos) << outcome.err;
}

TEST(ToravelCliAutoZone, RefusedWhereNoZoneCanBeTaken) {
    const OwnCityList list("Nowhere;55\xB0"
                           "45';37\xB0"
                           "37'\r\n"
                           "Atlantis;10\xB0"
                           "0';20\xB0"
                           "0';Atlantic/Atlantis\r\n");
    struct Row {
        std::vector<std::string> arguments;
        const char* computerZone;
        const char* error;
    } rows[] = {
        {{"--date", "17.07.1990", "--auto-zone"},
         "UTC",
         "--auto-zone требует --city, --place или --lat с --lon"},
        {{"--date", "17.07.1990", "--lat", "55", "--auto-zone"}, "UTC", "--lat с --lon"},
        {{"--date", "17.07.1990", "--lat", "0", "--lon", "-30", "--auto-zone"},
         "UTC",
         "в 50 км от 0; -30 нет места атласа"},
        {{"--date", "17.07.1990", "--lat", "север", "--lon", "37", "--auto-zone"},
         "UTC",
         "нужны числа"},
        {{"--date", "17.07.1990", "--city", "Москва", "--auto-zone", "--zone", "3"},
         "UTC",
         "--zone"},
        {{"--date", "17.07.1990", "--city", "Nowhere", "--auto-zone", "--db", list.Path()},
         "UTC",
         "у населенного пункта «Nowhere» в списке не указан часовой пояс"},
        {{"--date", "17.07.1990", "--city", "Atlantis", "--auto-zone", "--db", list.Path()},
         "UTC",
         "часовой пояс «Atlantic/Atlantis» населенного пункта «Atlantis» неизвестен"},
        // Four hours east against ten hours west: 14 hours, beyond the spin box.
        {{"--date", "17.07.1990", "--city", "Москва", "--auto-zone", "--json"},
         "Pacific/Honolulu",
         "нужно 14, а поле принимает от -12 до 12"},
    };
    for (const Row& row : rows) {
        std::string name;
        for (const std::string& argument : row.arguments)
            name += argument + " ";
        const Outcome outcome = RunCli(row.arguments, row.computerZone);
        EXPECT_EQ(outcome.status, 2) << name << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(row.error), std::string::npos) << name << "\n" << outcome.err;
        EXPECT_EQ(outcome.out, "") << name;
    }
}

TEST(ToravelCliAutoZone, WithoutItTheJsonHasNoBirthplaceOffset) {
    const nlohmann::json json = Json(RunCli(With(Moscow1990, {"--json"})));
    EXPECT_TRUE(json["birthplace_utc_offset"].is_null());
    EXPECT_TRUE(json["birthplace_zone"].is_null());
}

} // namespace

// The world atlas: --place, --places, --auto-zone from the atlas.
namespace {

TEST(ToravelCliAtlas, PlaceGivesCoordinatesAndZone) {
    const Outcome outcome = RunCli(
        {"--date", "17.07.1990", "--time", "12:00", "--place", "кинешма", "--auto-zone", "--json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.err.find("место: Кинешма, Ивановская область, Россия (57,4391; 42,1289), "
                               "Europe/Moscow\n"),
              std::string::npos)
        << outcome.err;
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["birthplace"]["name"], "Кинешма");
    EXPECT_EQ(json["birthplace"]["region"], "Ивановская область");
    EXPECT_EQ(json["birthplace"]["country"], "Россия");
    EXPECT_EQ(json["birthplace"]["zone"], "Europe/Moscow");
    EXPECT_NEAR(json["birthplace"]["latitude"].get<double>(), 57.44, 0.01);
    EXPECT_TRUE(json["birthplace"]["distance_km"].is_null());
    EXPECT_EQ(json["birthplace_zone"], "Europe/Moscow");
    EXPECT_EQ(json["zone_offset_days"], 4 / 24.0) << "summer time of 1990";

    const nlohmann::json volgograd =
        Json(RunCli({"--date", "17.01.2021", "--place", "Урюпинск", "--auto-zone", "--json"}));
    EXPECT_EQ(volgograd["birthplace"]["zone"], "Europe/Volgograd");
    EXPECT_EQ(volgograd["birthplace_utc_offset"], "+03:00");
}

TEST(ToravelCliAtlas, TypedCoordinatesTakeTheZoneOfTheNearestPlace) {
    const Outcome outcome = RunCli({"--date", "15.06.2020", "--time", "12:00", "--lat", "55,03",
                                    "--lon", "82,92", "--auto-zone", "--json"},
                                   "Europe/Moscow");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.err.find("ближайшее место атласа — Новосибирск, 2 км: UTC+7:00; для расчёта "
                               "укажите 4; взято --zone 4"),
              std::string::npos)
        << outcome.err;
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["birthplace"]["name"], "Новосибирск");
    EXPECT_EQ(json["birthplace"]["zone"], "Asia/Novosibirsk");
    EXPECT_NEAR(json["birthplace"]["distance_km"].get<double>(), 1.6, 0.5);
    EXPECT_EQ(json["zone_offset_days"], 4 / 24.0);

    // Without --auto-zone typed coordinates stand alone.
    const nlohmann::json typed =
        Json(RunCli({"--date", "15.06.2020", "--lat", "55,03", "--lon", "82,92", "--json"}));
    EXPECT_TRUE(typed["birthplace"].is_null());
}

TEST(ToravelCliAtlas, PlacesListsTheMatches) {
    const Outcome text = RunCli({"--places", "Моск"});
    ASSERT_EQ(text.status, 0) << text.err;
    const auto lines = text.OutLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_LE(lines.size(), 20u);
    EXPECT_EQ(lines[0], "Москва, Россия (55,7522; 37,6156), Europe/Moscow");

    const Outcome json = RunCli({"--places", "москва", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json list = Json(json);
    ASSERT_TRUE(list.is_array());
    EXPECT_EQ(list[0]["name"], "Москва");
    EXPECT_EQ(list[0]["country"], "Россия");
    EXPECT_GT(list[0]["population"].get<int>(), list[1]["population"].get<int>());

    EXPECT_EQ(RunCli({"--places", "м"}).OutLines().size(), 20u) << "at most 20";
    // The installed launcher adds --db to every command line.
    EXPECT_EQ(RunCli({"--db", "/usr/share/toravel/db", "--places", "Кинешма"}).status, 0);
}

TEST(ToravelCliAtlas, SearchTextsThatFindNothing) {
    const std::string texts[] = {"Шамбалаград",      "",     "   ",
                                 "\xCC\xEE\xF1\xEA", "\xD0", std::string(10000, 'x')};
    for (const std::string& text : texts) {
        const Outcome listed = RunCli({"--places", text});
        EXPECT_EQ(listed.status, 1) << text.size();
        EXPECT_EQ(listed.out, "");
        EXPECT_NE(listed.err.find("в атласе нет места, чье название начинается с"),
                  std::string::npos)
            << listed.err;
        const Outcome placed = RunCli({"--date", "17.05.1990", "--place", text});
        EXPECT_EQ(placed.status, 2) << text.size();
        EXPECT_NE(placed.err.find("--place: в атласе нет места"), std::string::npos) << placed.err;
    }
}

TEST(ToravelCliAtlas, OptionsThatDoNotGoTogether) {
    struct Row {
        std::vector<std::string> arguments;
        const char* error;
    } rows[] = {
        {{"--date", "17.05.1990", "--place", "Кинешма", "--city", "Москва"}, "--place"},
        {{"--date", "17.05.1990", "--place", "Кинешма", "--lat", "55"}, "--place"},
        {{"--place", "Кинешма"}, "не задан обязательный параметр --date"},
        {{"--places", "Кин", "--date", "17.05.1990"}, "--places"},
        {{"--places", "Кин", "--auto-zone"}, "--places нельзя задавать вместе с --auto-zone"},
        {{"--places", "Кин", "--sex", "female"}, "--places нельзя задавать вместе с --sex"},
    };
    for (const Row& row : rows) {
        const Outcome outcome = RunCli(row.arguments);
        EXPECT_EQ(outcome.status, 2) << row.arguments[0] << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(row.error), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

// A broken library found first on the loader's path: the options that need
// the atlas say so, and a plain calculation runs as before (it would not
// even start were the library linked to the program).
TEST(ToravelCliAtlas, WithoutTheAtlasLibraryOnlyTheAtlasOptionsFail) {
    const std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                            ("toravel-cli-geonames-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    std::ofstream(directory / "libgeonames.so.0") << "not a library";
    const std::string environment = "LD_LIBRARY_PATH=" + ShellQuoted(directory.string());

    const Outcome places = RunCli({"--places", "Кинешма"}, "UTC", environment);
    const Outcome place =
        RunCli({"--date", "17.05.1990", "--place", "Кинешма"}, "UTC", environment);
    const Outcome nearest = RunCli(
        {"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--auto-zone"}, "UTC", environment);
    const Outcome plain =
        RunCli({"--date", "17.05.1990", "--lat", "55", "--lon", "37"}, "UTC", environment);
    std::filesystem::remove_all(directory);

    for (const Outcome* outcome : {&places, &place, &nearest}) {
        EXPECT_EQ(outcome->status, 1) << outcome->err;
        EXPECT_NE(outcome->err.find("атлас мест недоступен: не загружается библиотека "
                                    "libgeonames.so.0"),
                  std::string::npos)
            << outcome->err;
        EXPECT_EQ(outcome->out, "");
    }
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.OutLines().size(), 4u);
}

} // namespace
