// toravel-cli end to end: the program built, run from the build tree's root
// on the database and city list the build made, its standard output, error
// output and exit status taken apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "people/person_file.h"
#include "platform/utf8_text.h"
#include "storage/database.h"
#include "storage/database_file.h"
#include "tests/cli/run_program.h"
#include "tools/build_database/database_builder.h"

namespace {

using namespace toravel::testing;

Outcome RunCli(const std::vector<std::string>& arguments, const std::string& zone = "UTC",
               const std::string& environment = "") {
    return RunProgram(TORAVEL_CLI, arguments, {zone, environment, std::nullopt});
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

const std::vector<std::string> Moscow1990 = {"--date", "17.05.1990", "--time",       "14:30",
                                             "--city", "Москва",     "--utc-offset", "+04:00"};

TEST(ToravelCli, ComputedPathAsJson) {
    const Outcome outcome = RunCli(With(Moscow1990, {"--json"}));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["format"], "toravel/1");
    EXPECT_EQ(json["kind"], "horoscope");
    EXPECT_EQ(json["path"], "computed");
    EXPECT_EQ(json["lunar_day"], 22); // PyEphem's moonrises, counted by hand
    EXPECT_TRUE(json["given_lunar_day"].is_null());
    EXPECT_EQ(json["clock"]["utc_offset"], "+04:00");
    EXPECT_EQ(json["clock"]["source"], "utc_offset");
    EXPECT_EQ(json["moment"], "1990-05-17T14:30:00+04:00");
    EXPECT_EQ(json["moment_text"], "17.05.1990 14:30:00");
    EXPECT_EQ(json["preceding_new_moon"], "1990-04-25T08:27:00+04:00");
    EXPECT_EQ(json["preceding_new_moon_text"], "25.04.1990 8:27:00");
    EXPECT_EQ(json["input"]["date"], "1990-05-17");
    EXPECT_EQ(json["input"]["latitude"], 55.7558);
    EXPECT_EQ(json["birthplace"]["name"], "Москва");
    EXPECT_TRUE(json["listing"].is_null()) << "not asked for";
    EXPECT_EQ(json["messages"], nlohmann::json::array());
    EXPECT_EQ(json["warnings"], nlohmann::json::array());
    EXPECT_TRUE(json["error"].is_null());

    // Worlds as words with their names, the circle as a number.
    const std::string world = json["period_world"]["code"];
    EXPECT_TRUE(world == "prav" || world == "yav" || world == "nav") << world;
    EXPECT_EQ(json["lunar_world"]["code"], "yav") << "lunar day 22";
    EXPECT_EQ(json["lunar_world"]["name"], "Явь");
    EXPECT_EQ(json["circle"]["number"], 2) << "17 May: the second circle of spring";
    EXPECT_EQ(json["circle"]["report_word"], "Второму");

    // Report lines without their centring blanks, their formats as data.
    ASSERT_EQ(json["report"].size(), 4u);
    EXPECT_EQ(json["report"][0]["text"], "расчетный период соответствует");
    EXPECT_EQ(json["report"][1]["text"], "Второму кругу Среднего мира (Яви)");
    EXPECT_EQ(json["report"][1]["color"], "#ff0000");
    EXPECT_EQ(json["report"][1]["size"], 16);
    EXPECT_EQ(json["report"][3]["text"], "22 лунный день");
    EXPECT_EQ(json["report"][3]["color"], "#ff00ff");
    EXPECT_EQ(json["report"][3]["bold"], true);
}

TEST(ToravelCli, ListingsInTextAndJsonAgree) {
    const Outcome text = RunCli(With(Moscow1990, {"--list"}));
    const Outcome json = RunCli(With(Moscow1990, {"--list", "--json"}));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.err, "");
    const std::vector<std::string> lines = text.OutLines();
    ASSERT_EQ(lines.size(), 16u + 43u + 4u);
    EXPECT_EQ(lines[0], "новолуния расчетного года");
    EXPECT_EQ(lines[16], "восходы лун от ближайшего новолуния");
    EXPECT_EQ(lines.back(), std::string(49, ' ') + "22 лунный день") << "the window's blanks";

    const nlohmann::json listing = Json(json)["listing"];
    ASSERT_EQ(listing["new_moons"].size(), 14u);
    ASSERT_EQ(listing["moonrises"].size(), 41u);
    for (std::size_t i = 0; i < 14; ++i)
        EXPECT_EQ(listing["new_moons"][i]["text"], lines[1 + i]) << i;
    for (std::size_t i = 0; i < 41; ++i)
        EXPECT_EQ(listing["moonrises"][i]["text"], lines[17 + i]) << i;
    EXPECT_EQ(listing["moonrises"][0]["moment"], "1990-04-25T05:28:00+04:00");
    EXPECT_EQ(listing["moonrises"][16]["date"], "1990-05-11");
    EXPECT_TRUE(listing["moonrises"][16]["moment"].is_null()) << "a day without moonrise";
    const std::regex iso(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:00\+04:00)");
    for (const auto& newMoon : listing["new_moons"])
        EXPECT_TRUE(std::regex_match(newMoon["moment"].get<std::string>(), iso)) << newMoon;
}

TEST(ToravelCli, TypedLunarDayNeedsNoNumbersAndComputesNothing) {
    const Outcome outcome = RunCli({"--date", "17.05.1990", "--lat", "север", "--lon", "восток",
                                    "--lunar-day", "7", "--utc-offset", "+3", "--json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["path"], "typed");
    EXPECT_EQ(json["lunar_day"], 7);
    EXPECT_EQ(json["given_lunar_day"], 7);
    EXPECT_EQ(json["lunar_world"]["code"], "prav");
    EXPECT_TRUE(json["preceding_new_moon"].is_null());
    EXPECT_TRUE(json["input"]["latitude"].is_null()) << "no number";
    EXPECT_EQ(json["report"][0]["text"],
              "вы указали, что расчетная дата является 7 лунным днем, что соответствует");
}

TEST(ToravelCli, LunarDayOutsideTheTableIsReportedWithAWarning) {
    for (const char* day : {"-5", "31", "99"}) {
        const Outcome outcome = RunCli(
            {"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--lunar-day", day, "--json"});
        EXPECT_EQ(outcome.status, 0) << day << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find("внимание: лунный день " + std::string(day) + " вне 1 … 30"),
                  std::string::npos)
            << outcome.err;
        const nlohmann::json json = Json(outcome);
        EXPECT_EQ(json["lunar_day"], std::stoi(day));
        EXPECT_TRUE(json["lunar_world"].is_null()) << day;
        EXPECT_TRUE(json["period_world"].is_null()) << day;
        ASSERT_EQ(json["warnings"].size(), 1u) << day;
        EXPECT_EQ(json["report"][3]["text"], std::string(day) + " лунный день");
    }
}

// The machine-independent clocks give one answer on every computer; --zone
// keeps the window's meaning, the computer's own offset added.
TEST(ToravelCli, ResultDoesNotDependOnTheComputersZone) {
    const std::vector<std::vector<std::string>> commands = {
        With(Moscow1990, {"--json", "--list"}),
        {"--date", "17.05.1990", "--time", "14:30", "--lat", "55,7558", "--lon", "37,6173",
         "--zone-name", "Europe/Moscow", "--json"},
        {"--date", "17.05.1990", "--time", "14:30", "--city", "Москва", "--auto-zone", "--json"},
        {"--date", "15.06.2020", "--time", "12:00", "--place", "Новосибирск", "--auto-zone",
         "--json"},
    };
    for (const auto& command : commands) {
        std::optional<std::string> first;
        for (const char* zone : {"UTC", "Asia/Vladivostok", "America/New_York"}) {
            const Outcome outcome = RunCli(command, zone);
            ASSERT_EQ(outcome.status, 0) << zone << "\n" << outcome.err;
            if (!first)
                first = outcome.out;
            EXPECT_EQ(outcome.out, *first) << "TZ=" << zone << ", " << command[5];
        }
        if (command[1] == "17.05.1990") {
            EXPECT_EQ(Json(RunCli(command))["lunar_day"], 22) << "and it is the right one";
        }
    }

    // Vladivostok kept ten hours east in January 2011: with --zone 4 the
    // window's clock is 14 hours east there, four at Greenwich.
    const std::vector<std::string> window = {"--date", "17.05.1990", "--time", "14:30", "--city",
                                             "Москва", "--zone",     "4",      "--json"};
    const nlohmann::json greenwich = Json(RunCli(window, "UTC"));
    const nlohmann::json vladivostok = Json(RunCli(window, "Asia/Vladivostok"));
    EXPECT_EQ(greenwich["clock"]["source"], "zone");
    EXPECT_EQ(greenwich["clock"]["utc_offset"], "+04:00");
    EXPECT_EQ(vladivostok["clock"]["utc_offset"], "+14:00");
    EXPECT_EQ(vladivostok["clock"]["computer_utc_offset"], "+10:00");
    EXPECT_EQ(vladivostok["clock"]["zone_hours"], 4);
    EXPECT_EQ(greenwich["lunar_day"], 22);
    EXPECT_EQ(greenwich["preceding_new_moon_text"], "25.04.1990 8:27:00");
    EXPECT_EQ(vladivostok["preceding_new_moon_text"], "25.04.1990 18:27:00");
}

// Without a clock option a birth in Novosibirsk was calculated on the
// computer's clock, silently: 28 at Moscow or Greenwich, 27 in Novosibirsk.
// A place, or a point within 50 km of one, now runs on that place's clock.
TEST(ToravelCli, WithoutAClockOptionTheBirthplaceKeepsItsOwnClock) {
    const std::vector<std::string> birth = {"--date", "20.06.1982", "--time", "03:00", "--json"};
    const std::vector<std::string> typed = {"--lat", "55,03", "--lon", "82,92"};
    for (const auto& place : {std::vector<std::string>{"--place", "Новосибирск"},
                              std::vector<std::string>{"--city", "Новосибирск"}, typed}) {
        const Outcome greenwich = RunCli(With(birth, place));
        ASSERT_EQ(greenwich.status, 0) << place[0] << "\n" << greenwich.err;
        EXPECT_NE(greenwich.err.find("часы места рождения: +08:00, Asia/Novosibirsk, летнее время"),
                  std::string::npos)
            << place[0] << "\n"
            << greenwich.err;
        EXPECT_EQ(Json(greenwich)["lunar_day"], 27) << place[0];
        EXPECT_EQ(Json(greenwich)["clock"]["source"], "auto_zone") << place[0];
        for (const char* zone : {"Europe/Moscow", "Asia/Novosibirsk"})
            EXPECT_EQ(RunCli(With(birth, place), zone).out, greenwich.out)
                << place[0] << " TZ=" << zone;
    }
    const nlohmann::json window =
        Json(RunCli(With(birth, {"--place", "Новосибирск", "--zone", "0"})));
    EXPECT_EQ(window["clock"]["source"], "zone");
    EXPECT_EQ(window["lunar_day"], 28) << "the computer's Greenwich clock";
    // At sea a clock option is needed (see the exit statuses), and does.
    EXPECT_EQ(RunCli(With(birth, {"--lat", "0", "--lon", "-30", "--utc-offset", "-02"})).status, 0);
}

TEST(ToravelCli, ExitStatusAndErrorSayWhatWentWrong) {
    struct Row {
        std::vector<std::string> arguments;
        int status;
        const char* code;
        const char* message; // in the error's message and on standard error
    } rows[] = {
        {{"--date", "17.05.1990"}, 1, "no_birthplace", "нет географических данных"},
        {{"--date", "17.05.1990", "--lat", "55,7"}, 1, "no_birthplace", "нет данных о долготе"},
        {{"--date", "17.05.1990", "--lat", "abc", "--lon", "37"},
         1,
         "not_a_number",
         "«abc» — не число"},
        {{"--date", "17.05.1990", "--lat", "95", "--lon", "37"},
         1,
         "invalid_birthplace",
         "неверные географические данные"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--db", "/nonexistent"},
         1,
         "database",
         "bd.mdb"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--lunar-day", "7 "},
         1,
         "not_a_number",
         "«7 » — не целое число"},
        {{"--lat", "55", "--lon", "37"}, 2, "usage", "--date"},
        {{"--date", "31.02.1990", "--lat", "55", "--lon", "37"}, 2, "usage", "--date"},
        {{"--date", "01.01.0001", "--lat", "55", "--lon", "37"}, 2, "usage", "--date"},
        {{"--date", "01.01.9999", "--lat", "55", "--lon", "37"}, 2, "usage", "--date"},
        {{"--date", "17.05.1990", "--time", "24:00", "--lat", "55", "--lon", "37"},
         2,
         "usage",
         "--time"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--zone", "13"},
         2,
         "usage",
         "--zone"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--lunar-day", "123"},
         2,
         "usage",
         "--lunar-day"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--sex", "x"}, 2, "usage", "--sex"},
        {{"--date", "17.05.1990", "--city", "Шамбалаград"}, 2, "usage", "Шамбалаград"},
        {{"--date", "17.05.1990", "--city", "Москва", "--lat", "55"}, 2, "usage", "--city"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--zone", "3", "--utc-offset",
          "+03"},
         2,
         "usage",
         "--utc-offset"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--frobnicate"},
         2,
         "usage",
         "лишние аргументы"},
        {{"--date", "17.05.1990", "--lat", "0", "--lon", "-30"},
         2,
         "usage",
         "в 50 км от 0; -30 нет места атласа: часы места не определить, задайте --utc-offset, "
         "--zone-name или --zone"},
    };
    for (const Row& row : rows) {
        std::string name;
        for (const std::string& argument : row.arguments)
            name += argument + " ";
        const Outcome text = RunCli(row.arguments);
        EXPECT_EQ(text.status, row.status) << name << "\n" << text.err;
        EXPECT_NE(text.err.find(row.message), std::string::npos) << name << "\n" << text.err;
        EXPECT_EQ(text.out, "") << name;
        if (row.status == 2) {
            EXPECT_NE(text.err.find("Справка: toravel-cli --help"), std::string::npos) << name;
        }

        // With --json standard output carries the error too, and only JSON.
        const Outcome json = RunCli(With(row.arguments, {"--json"}));
        EXPECT_EQ(json.status, row.status) << name;
        const nlohmann::json document = Json(json);
        EXPECT_EQ(document["format"], "toravel/1") << name;
        EXPECT_EQ(document["error"]["code"], row.code) << name;
        EXPECT_NE(document["error"]["message"].get<std::string>().find(row.message),
                  std::string::npos)
            << name << "\n"
            << document;
    }
}

// Hostile values of the options that take text: a Russian usage error, the
// value quoted short and as valid text, never a crash. The longest value is
// near the longest argument Linux passes to a program (128 KiB).
TEST(ToravelCli, HostileOptionValuesAreUsageErrors) {
    const std::string longest(120'000, '9');
    const std::string invalid = "\xff\xfe\xd0";
    struct Row {
        const char* option;
        std::string value;
        const char* problem;
    } rows[] = {
        {"--utc-offset", "", "нужно смещение"},
        {"--utc-offset", "+25:00", "нужно смещение"},
        {"--utc-offset", "+03:60", "нужно смещение"},
        {"--utc-offset", "+03:6", "нужно смещение"},
        {"--utc-offset", "+14:01", "нужно смещение"},
        {"--utc-offset", "три", "нужно смещение"},
        {"--utc-offset", longest, "нужно смещение"},
        {"--utc-offset", invalid, "нужно смещение"},
        {"--zone-name", "", "такого часового пояса нет"},
        {"--zone-name", "Europe/Atlantis", "такого часового пояса нет"},
        {"--zone-name", "../../etc/passwd", "такого часового пояса нет"},
        {"--zone-name", "/usr/share/zoneinfo/Europe/Moscow", "такого часового пояса нет"},
        {"--zone-name", "localtime", "такого часового пояса нет"},
        {"--zone-name", longest, "такого часового пояса нет"},
        {"--zone-name", invalid, "такого часового пояса нет"},
        {"--date", "", "--date"},
        {"--date", longest, "--date"},
        {"--date", invalid, "--date"},
        {"--time", longest, "--time"},
        {"--lunar-day", longest, "--lunar-day"},
        {"--city", longest, "--city"},
        {"--city", invalid, "--city"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> arguments = {"--lat", "55", "--lon", "37"};
        if (std::string(row.option) != "--date")
            arguments = With(arguments, {"--date", "17.05.1990"});
        if (std::string(row.option) == "--city")
            arguments = {"--date", "17.05.1990"};
        arguments = With(arguments, {row.option, row.value});
        const std::string name =
            std::string(row.option) + " of " + std::to_string(row.value.size()) + " bytes";
        const Outcome outcome = RunCli(With(arguments, {"--json"}));
        EXPECT_EQ(outcome.status, 2) << name << "\n" << outcome.err.substr(0, 300);
        EXPECT_NE(outcome.err.find(row.problem), std::string::npos) << name << "\n"
                                                                    << outcome.err.substr(0, 300);
        EXPECT_LT(outcome.err.size(), 1000u) << name << ": the value is quoted short";
        const nlohmann::json document = Json(outcome);
        EXPECT_EQ(document["error"]["code"], "usage") << name;
    }
}

TEST(ToravelCli, OffsetsOfTheClockOptions) {
    struct Row {
        std::vector<std::string> clock;
        const char* utcOffset;
        const char* moment;
    } rows[] = {
        {{"--utc-offset", "+3"}, "+03:00", "1990-05-17T14:30:00+03:00"},
        {{"--utc-offset", "-05:30"}, "-05:30", "1990-05-17T14:30:00-05:30"},
        {{"--utc-offset", "0"}, "+00:00", "1990-05-17T14:30:00+00:00"},
        {{"--zone-name", "Asia/Kolkata"}, "+05:30", "1990-05-17T14:30:00+05:30"},
        {{"--zone-name", "America/New_York"}, "-04:00", "1990-05-17T14:30:00-04:00"},
    };
    for (const Row& row : rows) {
        const nlohmann::json json = Json(RunCli(With(
            {"--date", "17.05.1990", "--time", "14:30", "--lat", "55", "--lon", "37", "--json"},
            row.clock)));
        EXPECT_EQ(json["clock"]["utc_offset"], row.utcOffset) << row.clock[1];
        EXPECT_EQ(json["moment"], row.moment) << row.clock[1];
    }
    // Moscow kept its local mean time before 1919: the offset has seconds.
    const nlohmann::json lmt = Json(RunCli({"--date", "17.05.1900", "--lat", "55", "--lon", "37",
                                            "--zone-name", "Europe/Moscow", "--json"}));
    EXPECT_EQ(lmt["clock"]["utc_offset"], "+02:30:17");
}

TEST(ToravelCli, ClockReadingsASpringForwardSkips) {
    // Berlin put its clocks from 2:00 to 3:00 on 28 March 2021.
    const Outcome outcome = RunCli({"--date", "28.03.2021", "--time", "02:30", "--lat", "52,52",
                                    "--lon", "13,40", "--zone-name", "Europe/Berlin", "--json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["clock"]["utc_offset"], "+01:00") << "the offset before the change";
    ASSERT_EQ(json["warnings"].size(), 1u);
    EXPECT_NE(json["warnings"][0].get<std::string>().find("пропустили"), std::string::npos);
    EXPECT_NE(outcome.err.find("внимание:"), std::string::npos);
}

TEST(ToravelCli, EarliestAndLatestBirthYearsAreComputed) {
    for (const char* date : {"01.01.0002", "31.12.9998", "9998-12-31"}) {
        const Outcome outcome =
            RunCli({"--date", date, "--lat", "55", "--lon", "37", "--utc-offset", "+03", "--json"});
        EXPECT_EQ(outcome.status, 0) << date << "\n" << outcome.err;
        const std::int32_t lunarDay = Json(outcome)["lunar_day"];
        EXPECT_GE(lunarDay, 1) << date;
        EXPECT_LE(lunarDay, 30) << date;
    }
}

TEST(ToravelCli, MissingCalendarDayIsAMessageNotAFailure) {
    const TemporaryFolder directory("toravel-cli-db");
    const std::string password =
        toravel::ParseConnectionString(toravel::HoroscopeConnectionString).password;
    const auto file = toravel::DatabaseFileOfImage(
        toravel::tools::BuildDatabaseImage({{1, 1, "b", "Первому"}}, {}), password);
    std::ofstream(directory / "bd.mdb", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));

    const std::vector<std::string> arguments = {
        "--date",       "17.05.1990", "--lat",       "55", "--lon", "37",
        "--utc-offset", "+04",        "--lunar-day", "3",  "--db",  directory.Path().string()};
    const Outcome outcome = RunCli(arguments);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "К сожалению соответствие не найдено, обратитесь к разработчику\n");
    const auto lines = outcome.OutLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], std::string(37, ' ') + " кругу ");

    const nlohmann::json json = Json(RunCli(With(arguments, {"--json"})));
    EXPECT_TRUE(json["error"].is_null());
    EXPECT_TRUE(json["day_world"].is_null());
    EXPECT_TRUE(json["circle"].is_null());
    EXPECT_EQ(json["messages"][0],
              "К сожалению соответствие не найдено, обратитесь к разработчику");
}

TEST(ToravelCli, HelpIsInRussianAndSaysWhatZoneMeans) {
    const Outcome outcome = RunCli({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("Параметры:"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("--date ДД.ММ.ГГГГ"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("как поле разницы в часах в окне программы"), std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("от часового пояса компьютера он не зависит"), std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("без --utc-offset, --zone-name, --auto-zone и --zone расчет идет "
                               "по часовому поясу самого места рождения"),
              std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("Коды выхода: 0 — результат, 1 — ошибка расчета или данных, 2 — "
                               "ошибка в параметрах."),
              std::string::npos)
        << outcome.out;
}

} // namespace

// --auto-zone: the birthplace's own offset at the birth moment.
namespace {

// A data directory with its own city list (ASCII names, so that only the
// degree sign needs the list's code page) and the database the build made.
class OwnCityList {
public:
    explicit OwnCityList(const std::string& lines) {
        std::ofstream(folder_ / "atlas.ini", std::ios::binary) << lines;
        std::filesystem::copy_file(std::filesystem::path(TORAVEL_BUILD_ROOT) / "db" / "bd.mdb",
                                   folder_ / "bd.mdb",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::string Path() const { return folder_.Path().string(); }

private:
    TemporaryFolder folder_{"toravel-cli-atlas"};
};

TEST(ToravelCliAutoZone, OffsetsOfTheTzDatabaseAtTheBirthMoment) {
    struct Row {
        const char* date;
        const char* utcOffset;
        bool summerTime;
    } rows[] = {
        {"17.01.1990", "+03:00", false}, // winter time
        {"17.07.1990", "+04:00", true},  // summer time
        {"17.07.2012", "+04:00", false}, // all year on one clock
        {"17.07.2015", "+03:00", false}, // back to three hours east, no change of clocks
    };
    for (const Row& row : rows) {
        const Outcome outcome =
            RunCli({"--date", row.date, "--city", "Москва", "--auto-zone", "--json"});
        ASSERT_EQ(outcome.status, 0) << row.date << "\n" << outcome.err;
        const nlohmann::json json = Json(outcome);
        EXPECT_EQ(json["clock"]["utc_offset"], row.utcOffset) << row.date;
        EXPECT_EQ(json["clock"]["source"], "auto_zone");
        EXPECT_EQ(json["clock"]["zone_name"], "Europe/Moscow");
        EXPECT_EQ(json["clock"]["summer_time"], row.summerTime) << row.date;
        EXPECT_NE(outcome.err.find("--auto-zone: " + std::string(row.utcOffset)), std::string::npos)
            << outcome.err;
    }
}

// After 2037 the zone files' lasting rule keeps summer time: without it this
// birth fell an hour early and a lunar day late (23).
TEST(ToravelCliAutoZone, SummerTimeAfter2037MovesTheLunarDay) {
    const Outcome outcome = RunCli(
        {"--date", "10.07.2050", "--time", "23:28", "--place", "Чикаго", "--auto-zone", "--json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["clock"]["utc_offset"], "-05:00");
    EXPECT_EQ(json["clock"]["summer_time"], true);
    EXPECT_EQ(json["lunar_day"], 22);
}

TEST(ToravelCliAutoZone, HalfHourZonesAndFarZonesKeepTheirOffset) {
    // The degree sign is byte B0 in the list's code page.
    const OwnCityList list("Kolkata;22\xB0"
                           "5726';88\xB0"
                           "3639';Asia/Kolkata\r\n");
    const Outcome kolkata = RunCli({"--date", "17.07.1990", "--city", "Kolkata", "--auto-zone",
                                    "--json", "--db", list.Path()});
    ASSERT_EQ(kolkata.status, 0) << kolkata.err;
    EXPECT_EQ(Json(kolkata)["clock"]["utc_offset"], "+05:30");

    // Ten hours west of the computer's zone is no obstacle: no spin box.
    const Outcome far = RunCli(
        {"--date", "17.07.1990", "--city", "Москва", "--auto-zone", "--json"}, "Pacific/Honolulu");
    ASSERT_EQ(far.status, 0) << far.err;
    EXPECT_EQ(Json(far)["clock"]["utc_offset"], "+04:00");
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
        const char* error;
    } rows[] = {
        {{"--date", "17.07.1990", "--auto-zone"},
         "--auto-zone требует --city, --place или --lat с --lon"},
        {{"--date", "17.07.1990", "--lat", "55", "--auto-zone"}, "--lat с --lon"},
        {{"--date", "17.07.1990", "--lat", "0", "--lon", "-30", "--auto-zone"},
         "в 50 км от 0; -30 нет места атласа"},
        {{"--date", "17.07.1990", "--lat", "север", "--lon", "37", "--auto-zone"}, "нужны числа"},
        {{"--date", "17.07.1990", "--city", "Москва", "--auto-zone", "--zone", "3"}, "--zone"},
        {{"--date", "17.07.1990", "--city", "Nowhere", "--auto-zone", "--db", list.Path()},
         "у населенного пункта «Nowhere» в списке не указан часовой пояс"},
        {{"--date", "17.07.1990", "--city", "Atlantis", "--auto-zone", "--db", list.Path()},
         "часовой пояс «Atlantic/Atlantis» населенного пункта «Atlantis» неизвестен"},
    };
    for (const Row& row : rows) {
        std::string name;
        for (const std::string& argument : row.arguments)
            name += argument + " ";
        const Outcome outcome = RunCli(row.arguments);
        EXPECT_EQ(outcome.status, 2) << name << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(row.error), std::string::npos) << name << "\n" << outcome.err;
        EXPECT_EQ(outcome.out, "") << name;
    }
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
    EXPECT_EQ(json["input"]["place"], "кинешма");
    EXPECT_EQ(json["clock"]["utc_offset"], "+04:00") << "summer time of 1990";

    const nlohmann::json volgograd =
        Json(RunCli({"--date", "17.01.2021", "--place", "Урюпинск", "--auto-zone", "--json"}));
    EXPECT_EQ(volgograd["birthplace"]["zone"], "Europe/Volgograd");
    EXPECT_EQ(volgograd["clock"]["utc_offset"], "+03:00");
}

TEST(ToravelCliAtlas, TypedCoordinatesTakeTheZoneOfTheNearestPlace) {
    const Outcome outcome = RunCli({"--date", "15.06.2020", "--time", "12:00", "--lat", "55,03",
                                    "--lon", "82,92", "--auto-zone", "--json"},
                                   "Europe/Moscow");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.err.find("место: ближайшее место атласа, 2 км: Новосибирск"),
              std::string::npos)
        << outcome.err;
    const nlohmann::json json = Json(outcome);
    EXPECT_EQ(json["birthplace"]["name"], "Новосибирск");
    EXPECT_EQ(json["birthplace"]["zone"], "Asia/Novosibirsk");
    EXPECT_NEAR(json["birthplace"]["distance_km"].get<double>(), 1.6, 0.5);
    EXPECT_EQ(json["clock"]["utc_offset"], "+07:00");

    // Without --auto-zone typed coordinates stand alone.
    const nlohmann::json typed = Json(RunCli({"--date", "15.06.2020", "--lat", "55,03", "--lon",
                                              "82,92", "--utc-offset", "+07", "--json"}));
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
    const nlohmann::json document = Json(json);
    EXPECT_EQ(document["kind"], "places");
    const nlohmann::json& list = document["places"];
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
        EXPECT_EQ(Json(RunCli({"--places", text, "--json"}))["error"]["code"], "not_found");
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
        {{"--places", "Кин", "--month", "12.2026"}, "--places нельзя задавать вместе с --month"},
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
    const TemporaryFolder directory("toravel-cli-geonames");
    std::ofstream(directory / "libgeonames.so.0") << "not a library";
    const std::string environment = "LD_LIBRARY_PATH=" + ShellQuoted(directory.Path().string());

    const Outcome places = RunCli({"--places", "Кинешма"}, "UTC", environment);
    const Outcome place =
        RunCli({"--date", "17.05.1990", "--place", "Кинешма"}, "UTC", environment);
    const Outcome nearest = RunCli(
        {"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--auto-zone"}, "UTC", environment);
    const Outcome ownClock =
        RunCli({"--date", "17.05.1990", "--lat", "55", "--lon", "37"}, "UTC", environment);
    const Outcome plain =
        RunCli({"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--utc-offset", "+04"}, "UTC",
               environment);
    const Outcome json =
        RunCli({"--date", "17.05.1990", "--place", "Кинешма", "--json"}, "UTC", environment);

    for (const Outcome* outcome : {&places, &place, &nearest, &ownClock}) {
        EXPECT_EQ(outcome->status, 1) << outcome->err;
        EXPECT_NE(outcome->err.find("атлас мест недоступен: не загружается библиотека "
                                    "libgeonames.so.0"),
                  std::string::npos)
            << outcome->err;
        EXPECT_EQ(outcome->out, "");
    }
    EXPECT_EQ(Json(json)["error"]["code"], "atlas_unavailable");
    // Typed coordinates whose clock only the atlas could give say which
    // options would do without it.
    EXPECT_NE(ownClock.err.find("задайте --utc-offset, --zone-name или --zone"), std::string::npos)
        << ownClock.err;
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.OutLines().size(), 4u);
}

} // namespace

// --batch as a program: standard input or a file, JSON Lines or CSV, the
// count of failed lines and the exit status.
namespace {

Outcome RunBatch(const std::vector<std::string>& arguments, const std::string& input,
                 const std::string& zone = "UTC") {
    return RunProgram(TORAVEL_CLI, arguments, {zone, "", input});
}

const std::string Births = "name,date,time,latitude,longitude,utc_offset,zone_name\r\n"
                           "Анна,17.05.1990,14:30,55.7558,37.6173,+04:00,\r\n"
                           "Борис,17.07.1990,12:00,55.03,82.92,,Asia/Novosibirsk\r\n";

TEST(ToravelCliBatch, EachLineIsTheSingleRunsDocument) {
    const Outcome batch = RunBatch({"--batch", "-"}, Births);
    ASSERT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(batch.err, "");
    const std::vector<std::string> lines = batch.OutLines();
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<std::vector<std::string>> singles = {
        {"--date", "17.05.1990", "--time", "14:30", "--lat", "55.7558", "--lon", "37.6173",
         "--utc-offset", "+04:00", "--json"},
        {"--date", "17.07.1990", "--time", "12:00", "--lat", "55.03", "--lon", "82.92",
         "--zone-name", "Asia/Novosibirsk", "--json"}};
    for (std::size_t i = 0; i < 2; ++i) {
        nlohmann::json line = nlohmann::json::parse(lines[i]);
        EXPECT_EQ(line["line"], i + 2);
        line.erase("line");
        line.erase("name");
        EXPECT_EQ(line, Json(RunCli(singles[i]))) << i;
    }
    // The same lines whatever the computer's zone.
    EXPECT_EQ(RunBatch({"--batch", "-"}, Births, "Asia/Vladivostok").out, batch.out);
}

TEST(ToravelCliBatch, FailedLinesAreCountedAndEndWithStatusOne) {
    const TemporaryFolder folder("toravel-cli-batch");
    std::ofstream(folder / "births.csv", std::ios::binary)
        << Births << "Глеб,31.02.1990,,55,37,+03:00,\r\nДарья,17.05.1990,,95,37,+03:00,\r\n";
    const Outcome outcome = RunCli({"--batch", folder / "births.csv", "--batch-format", "csv"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "строк с ошибкой: 2 из 4\n");
    const std::vector<std::string> lines = outcome.OutLines();
    ASSERT_EQ(lines.size(), 5u) << outcome.out;
    EXPECT_EQ(lines[0].rfind("line,name,date,time,", 0), 0u) << lines[0];
    EXPECT_NE(lines[3].find("input"), std::string::npos) << lines[3];
    EXPECT_NE(lines[4].find("широта вне"), std::string::npos) << lines[4];

    const Outcome missing = RunCli({"--batch", folder / "no-such.csv"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("--batch: не открыть файл"), std::string::npos) << missing.err;

    const Outcome empty = RunBatch({"--batch", "-"}, "");
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("пустой файл"), std::string::npos) << empty.err;
    EXPECT_EQ(nlohmann::json::parse(empty.out)["error"]["code"], "input");
}

// The progress line is for a person watching a long file on a terminal;
// `script` gives the program one.
TEST(ToravelCliBatch, ProgressLineOnATerminalOnly) {
    if (!std::filesystem::exists("/usr/bin/script"))
        GTEST_SKIP() << "no /usr/bin/script (bsdutils) to give the program a terminal";
    const TemporaryFolder folder("toravel-cli-progress");
    {
        std::ofstream births(folder / "births.csv", std::ios::binary);
        births << "date,time,latitude,longitude,utc_offset\n";
        for (int i = 0; i < 10'050; ++i)
            births << "17.05.1990,14:30,55.7558,37.6173,+04:00\n";
    }
    const std::string typescript = folder / "typescript";
    const Outcome terminal =
        RunProgram("/usr/bin/script", {"-qec",
                                       ShellQuoted(TORAVEL_CLI) + " --batch " +
                                           ShellQuoted(folder / "births.csv") + " >/dev/null",
                                       typescript});
    EXPECT_EQ(terminal.status, 0) << terminal.err;
    const std::string shown = FileText(typescript);
    EXPECT_NE(shown.find("\rстрок: 10051 из 10051 (100 %)"), std::string::npos) << shown;

    const Outcome pipe = RunCli({"--batch", folder / "births.csv"});
    EXPECT_EQ(pipe.status, 0);
    EXPECT_EQ(pipe.err, "") << "no terminal, no progress line";
}

TEST(ToravelCliBatch, OptionsThatDoNotGoWithABatch) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--batch", "-", "--date", "17.05.1990"},
             {"--batch", "-", "--json"},
             {"--batch", "-", "--batch-format", "xml"},
             {"--batch-format", "csv", "--date", "17.05.1990", "--lat", "55", "--lon", "37"}}) {
        const Outcome outcome = RunBatch(arguments, Births);
        EXPECT_EQ(outcome.status, 2) << arguments[2] << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find("ошибка в параметрах"), std::string::npos) << outcome.err;
    }
}

} // namespace

// --month: a month's lunar calendar at a place.
namespace {

// The lunar day a calendar day shows in force at a time of the day
// ("12:00"), from the month's JSON: the last beginning by then (a moonrise's
// own minute still belongs to the lunar day it ends), or the day's first.
int LunarDayInForce(const nlohmann::json& day, const std::string& time) {
    int lunarDay = day["lunar_day_at_start"];
    for (const auto& beginning : day["beginnings"]) {
        const std::string at = beginning["moment"].get<std::string>().substr(11, 5);
        if (at < time || (at == time && beginning["in_force_at_its_minute"].get<bool>()))
            lunarDay = beginning["lunar_day"];
    }
    return lunarDay;
}

TEST(ToravelCliMonth, EveryDayAgreesWithTheCalculationAtNoon) {
    struct Row {
        std::vector<std::string> place;
        const char* month;
        const char* zone;
    } rows[] = {
        {{"--place", "Мурманск"}, "12.2026", "Europe/Moscow"}, // polar night
        {{"--lat", "52.52", "--lon", "13.405", "--zone-name", "Europe/Berlin"},
         "03.2021",
         "Europe/Berlin"}, // the clocks go forward on the 28th
        {{"--lat", "22.5726", "--lon", "88.3639", "--zone-name", "Asia/Kolkata"},
         "01.2026",
         "Asia/Kolkata"}, // half an hour: the calculation runs on it, no whole hours
    };
    for (const Row& row : rows) {
        const Outcome outcome = RunCli(With({"--month", row.month, "--json"}, row.place));
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const nlohmann::json month = Json(outcome);
        const std::string latitude = month["coordinates"]["latitude"].dump();
        const std::string longitude = month["coordinates"]["longitude"].dump();
        for (const auto& day : month["days"]) {
            const std::string date = day["date"];
            const Outcome single = RunCli({"--date", date, "--time", "12:00", "--lat", latitude,
                                           "--lon", longitude, "--zone-name", row.zone, "--json"});
            EXPECT_EQ(Json(single)["lunar_day"], LunarDayInForce(day, "12:00"))
                << row.month << ", " << date;
        }
    }
}

TEST(ToravelCliMonth, JsonOfAPolarMonthAndOfAMonthWithAClockChange) {
    const nlohmann::json murmansk =
        Json(RunCli({"--month", "12.2026", "--place", "Мурманск", "--json"}));
    EXPECT_EQ(murmansk["kind"], "month");
    EXPECT_EQ(murmansk["month"], "2026-12");
    EXPECT_EQ(murmansk["clock"]["zone_name"], "Europe/Moscow");
    ASSERT_EQ(murmansk["days"].size(), 31u);
    int moonless = 0, newMoons = 0;
    for (const auto& day : murmansk["days"]) {
        moonless += day["no_moonrise"].get<bool>();
        for (const auto& beginning : day["beginnings"]) {
            newMoons += beginning["kind"] == "new_moon";
            EXPECT_EQ(beginning["moment"].get<std::string>().substr(0, 10), day["date"]);
            EXPECT_EQ(beginning["moment"].get<std::string>().substr(19), "+03:00");
        }
    }
    EXPECT_GE(moonless, 10) << "the Moon stays below the horizon for days";
    EXPECT_EQ(newMoons, 1);
    EXPECT_EQ(murmansk["days"][0]["date"], "2026-12-01");
    EXPECT_EQ(murmansk["days"][0]["weekday"], 2) << "a Tuesday";
    EXPECT_EQ(murmansk["days"][23]["full_moon"], "2026-12-24T04:28:00+03:00");

    const nlohmann::json berlin =
        Json(RunCli({"--month", "03.2021", "--lat", "52.52", "--lon", "13.405", "--zone-name",
                     "Europe/Berlin", "--json"}));
    EXPECT_EQ(berlin["days"][26]["utc_offset_at_noon"], "+01:00");
    EXPECT_EQ(berlin["days"][27]["utc_offset_at_noon"], "+02:00");
    for (const auto& day : berlin["days"]) {
        for (const auto& beginning : day["beginnings"]) {
            const std::string moment = beginning["moment"];
            EXPECT_TRUE(moment.ends_with("+01:00") || moment.ends_with("+02:00")) << moment;
            EXPECT_EQ(moment.substr(0, 10), day["date"]) << "each moment on its own day";
        }
    }

    // A fixed offset of a half hour.
    const nlohmann::json kolkata = Json(RunCli({"--month", "01.2026", "--lat", "22.57", "--lon",
                                                "88.36", "--utc-offset", "+05:30", "--json"}));
    EXPECT_EQ(kolkata["clock"]["utc_offset"], "+05:30");
    int beginnings = 0;
    for (const auto& day : kolkata["days"]) {
        for (const auto& beginning : day["beginnings"]) {
            EXPECT_TRUE(beginning["moment"].get<std::string>().ends_with("+05:30")) << beginning;
            ++beginnings;
        }
    }
    EXPECT_GE(beginnings, 29);
}

TEST(ToravelCliMonth, ReadableTable) {
    const Outcome outcome = RunCli({"--month", "12.2026", "--place", "Москва"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<std::string> lines = outcome.OutLines();
    ASSERT_EQ(lines.size(), 3u + 1u + 31u);
    EXPECT_EQ(lines[0], "Лунный календарь: декабрь 2026");
    EXPECT_EQ(lines[1], "Место: Москва, Россия (55,7522; 37,6156), Europe/Moscow");
    EXPECT_EQ(lines[3].rfind("Дата", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4].rfind("вт 01.12", 0), 0u) << lines[4];
    EXPECT_EQ(lines[34].rfind("чт 31.12", 0), 0u) << lines[34];
    const std::size_t newMoon = outcome.out.find("новолуние");
    ASSERT_NE(newMoon, std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("полнолуние"), std::string::npos);
}

// Tromsø, 11.06.2026: the Moon rises at 00:24, which begins lunar day 14,
// and again at 23:38, which begins none; the table's «Луна» column and the
// JSON show the second.
TEST(ToravelCliMonth, ASecondMoonriseIsShown) {
    const std::vector<std::string> tromso = {"--month", "06.2026", "--lat",       "69,6492",
                                             "--lon",   "18,9553", "--zone-name", "Europe/Oslo"};
    const std::vector<std::string> lines = RunCli(tromso).OutLines();
    ASSERT_EQ(lines.size(), 3u + 1u + 30u);
    EXPECT_EQ(lines[14].rfind("чт 11.06", 0), 0u) << lines[14];
    EXPECT_NE(lines[14].find("14 с 00:24"), std::string::npos) << lines[14];
    EXPECT_NE(lines[14].find("второй восход 23:38"), std::string::npos) << lines[14];
    const nlohmann::json days = Json(RunCli(With(tromso, {"--json"})))["days"];
    ASSERT_EQ(days.size(), 30u);
    EXPECT_EQ(days[10]["other_moonrises"], nlohmann::json::array({"2026-06-11T23:38:00+02:00"}));
    EXPECT_EQ(days[11]["other_moonrises"], nlohmann::json::array());
}

TEST(ToravelCliMonth, MonthsAndPlacesItCannotBeMadeFor) {
    struct Row {
        std::vector<std::string> arguments;
        const char* problem;
    } rows[] = {
        {{"--month", "13.2026", "--place", "Москва"}, "нет месяца с номером 13"},
        {{"--month", "00.2026", "--place", "Москва"}, "нет месяца с номером 0"},
        {{"--month", "декабрь", "--place", "Москва"}, "нужен месяц в виде ММ.ГГГГ"},
        {{"--month", "01.0001", "--place", "Москва"}, "год 1 вне диапазона"},
        {{"--month", "01.9999", "--place", "Москва"}, "год 9999 вне диапазона"},
        {{"--month", std::string(100'000, '1'), "--place", "Москва"}, "нужен месяц"},
        {{"--month", "\xff\xfe.2026", "--place", "Москва"}, "нужен месяц"},
        {{"--month", "12.2026"}, "нужно место"},
        {{"--month", "12.2026", "--lat", "95", "--lon", "37", "--utc-offset", "+3"},
         "неверные географические данные"},
        {{"--month", "12.2026", "--lat", "север", "--lon", "37", "--utc-offset", "+3"},
         "числами градусов"},
        {{"--month", "12.2026", "--lat", "0", "--lon", "-30"}, "нет места атласа"},
        {{"--month", "12.2026", "--place", "Москва", "--date", "17.05.1990"},
         "--month нельзя задавать вместе с --date"},
        {{"--month", "12.2026", "--place", "Москва", "--zone", "3"},
         "--month нельзя задавать вместе с --zone"},
    };
    for (const Row& row : rows) {
        const Outcome outcome = RunCli(With(row.arguments, {"--json"}));
        EXPECT_EQ(outcome.status, 2) << row.arguments[1].substr(0, 20) << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(row.problem), std::string::npos) << outcome.err.substr(0, 300);
        EXPECT_LT(outcome.err.size(), 1000u);
        EXPECT_EQ(Json(outcome)["error"]["code"], "usage") << outcome.out.substr(0, 300);
    }
}

} // namespace

// The person file from the command line. Every run names its own file or
// its own home: nothing here touches the real home folder.
namespace {

class ToravelCliPeople : public ::testing::Test {
protected:
    std::string PeopleFile() const { return folder_ / "people.sqlite"; }

    Outcome Run(const std::vector<std::string>& arguments, const std::string& input = "") {
        return RunProgram(TORAVEL_CLI, With(arguments, {"--people-file", PeopleFile()}),
                          {"UTC", Home(), input});
    }
    // HOME and XDG_DATA_HOME inside the test's folder.
    std::string Home() const { return "HOME=" + ShellQuoted(folder_ / "home") + " XDG_DATA_HOME="; }

    TemporaryFolder folder_{"toravel-cli-people"};
};

const std::string People =
    "name,date,time,place,latitude,longitude,zone_name,zone,sex,note\r\n"
    "Анна,17.05.1990,14:30,Москва,55.7558,37.6173,Europe/Moscow,4,female,\"кавычки \"\"и\"\"; "
    "точка с запятой, запятая\"\r\n"
    "Борис,1990-07-17,12:00,Новосибирск,55.03,82.92,Asia/Novosibirsk,,male,\r\n"
    "Вера,17.05.1990,12:00,,55,37,,3,,\r\n";

TEST_F(ToravelCliPeople, ImportListCalculateAndExport) {
    const Outcome imported = Run({"--people-import", "-"}, People);
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.err, "добавлено: 3, заменено: 0, пропущено: 0\n");

    const Outcome listed = Run({"--people"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const std::vector<std::string> lines = listed.OutLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("Имя", 0), 0u);
    EXPECT_EQ(lines[1], "Анна   17.05.1990  14:30  Москва");
    const nlohmann::json list = Json(Run({"--people", "--json"}));
    EXPECT_EQ(list["kind"], "people");
    ASSERT_EQ(list["people"].size(), 3u);
    EXPECT_EQ(list["people"][1]["name"], "Борис");
    EXPECT_EQ(list["people"][1]["date"], "1990-07-17");

    // A saved person is calculated as a batch line of the same inputs would
    // be, and keeps the result.
    const Outcome anna = Run({"--person", "анна", "--json"});
    ASSERT_EQ(anna.status, 0) << anna.err;
    const nlohmann::json json = Json(anna);
    EXPECT_EQ(json["name"], "Анна");
    EXPECT_EQ(json["lunar_day"], 22);
    EXPECT_EQ(json["clock"]["zone_name"], "Europe/Moscow") << "the zone before the window's hours";
    EXPECT_EQ(json["input"]["place"], "Москва");
    EXPECT_EQ(json["input"]["sex"], "female");
    const toravel::PersonFile file(PeopleFile());
    const auto saved = file.Find("Анна");
    ASSERT_TRUE(saved && saved->lastResult);
    EXPECT_EQ(saved->lastResult->lunarDay, 22);
    EXPECT_EQ(saved->lastResult->lunarWorld, "c");
    EXPECT_EQ(Run({"--person", "Вера"}).OutLines().size(), 4u) << "the window's hours, no zone";

    // Exported and imported again into another file, and exported from it:
    // the same text.
    const std::string exported = folder_ / "people.csv";
    const Outcome written = Run({"--people-export", exported});
    ASSERT_EQ(written.status, 0) << written.err;
    const std::string first = FileText(exported);
    EXPECT_NE(first.find("\"кавычки \"\"и\"\"; точка с запятой, запятая\""), std::string::npos)
        << first;
    const std::string other = folder_ / "other.sqlite";
    ASSERT_EQ(RunProgram(TORAVEL_CLI, {"--people-import", exported, "--people-file", other},
                         {"UTC", Home(), std::nullopt})
                  .status,
              0);
    EXPECT_EQ(RunProgram(TORAVEL_CLI, {"--people-export", "-", "--people-file", other},
                         {"UTC", Home(), std::nullopt})
                  .out,
              first);
}

// A very long name pushed the other columns off the line: it is cut with
// «…» and the columns stay where the other names put them.
TEST_F(ToravelCliPeople, AVeryLongNameKeepsTheColumns) {
    std::string longName;
    for (int i = 0; i < 500; ++i)
        longName += "Ёж"; // two-byte letters: cut by characters, not bytes
    ASSERT_EQ(Run({"--people-import", "-"},
                  "name,date\r\n" + longName + ",01.02.1990\r\nЯна,03.04.1991\r\n")
                  .status,
              0);
    const std::vector<std::string> lines = Run({"--people"}).OutLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].substr(0, lines[1].find("  01.02.1990")), longName.substr(0, 39 * 2) + "…");
    // The date column begins at the same character on every line, after 40
    // characters and two blanks.
    const auto column = [](const std::string& line, const std::string& text) {
        return toravel::CodePointCount(line.substr(0, line.find(text)));
    };
    for (const auto& [line, date] :
         {std::pair{0, "Дата"}, std::pair{1, "01.02.1990"}, std::pair{2, "03.04.1991"}})
        EXPECT_EQ(column(lines[line], date), 42u) << lines[line];
}

TEST_F(ToravelCliPeople, ConflictsAreSkippedUnlessReplacingIsAsked) {
    ASSERT_EQ(Run({"--people-import", "-"}, People).status, 0);
    const std::string again = "name,date,time\r\nанна,01.01.2000,10:00\r\nГлеб,02.02.2002,\r\n";

    const Outcome skipped = Run({"--people-import", "-"}, again);
    EXPECT_EQ(skipped.status, 0) << "a name already there is no fault\n" << skipped.err;
    EXPECT_NE(skipped.err.find("добавлено: 1, заменено: 0, пропущено: 1"), std::string::npos)
        << skipped.err;
    EXPECT_NE(Run({"--people"}).out.find("Анна   17.05.1990"), std::string::npos);

    const Outcome replaced = Run({"--people-import", "-", "--on-conflict", "replace"}, again);
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_NE(replaced.err.find("добавлено: 0, заменено: 2"), std::string::npos) << replaced.err;
    EXPECT_NE(Run({"--people"}).out.find("анна   01.01.2000"), std::string::npos)
        << Run({"--people"}).out;

    const Outcome faulty = Run({"--people-import", "-"}, "name,date\r\nДарья,31.02.2000\r\n");
    EXPECT_EQ(faulty.status, 1);
    EXPECT_NE(faulty.err.find("строка 2: "), std::string::npos) << faulty.err;
    const Outcome refused = Run({"--people-import", "-"}, "date\r\n17.05.1990\r\n");
    EXPECT_EQ(refused.status, 1);
}

TEST_F(ToravelCliPeople, FilesThatAreNotThereOrNotOursAreLeftAsTheyAre) {
    // Reading creates nothing.
    const Outcome empty = Run({"--people"});
    EXPECT_EQ(empty.status, 0);
    EXPECT_NE(empty.err.find("в картотеке никого нет"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(PeopleFile()));
    const Outcome nobody = Run({"--person", "Анна", "--json"});
    EXPECT_EQ(nobody.status, 2);
    EXPECT_EQ(Json(nobody)["error"]["code"], "usage");
    EXPECT_FALSE(std::filesystem::exists(PeopleFile()));

    const std::string notOurs = "SQLite format 3? no, a letter to a friend\n";
    std::ofstream(PeopleFile(), std::ios::binary) << notOurs;
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--people", "--json"}, {"--person", "Анна", "--json"}}) {
        const Outcome outcome = Run(arguments);
        EXPECT_EQ(outcome.status, 1) << arguments[0] << "\n" << outcome.err;
        EXPECT_EQ(Json(outcome)["error"]["code"], "person_file") << arguments[0];
    }
    EXPECT_EQ(Run({"--people-import", "-"}, People).status, 1);
    EXPECT_EQ(FileText(PeopleFile()), notOurs) << "byte for byte";
}

TEST_F(ToravelCliPeople, WithoutPeopleFileTheWindowsOwnInTheDataFolder) {
    const std::string home = "HOME=" + ShellQuoted(folder_ / "home");
    const Outcome imported = RunProgram(TORAVEL_CLI, {"--people-import", "-"},
                                        {"UTC", home + " XDG_DATA_HOME=", People});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_TRUE(
        std::filesystem::exists(folder_.Path() / "home/.local/share/toravel/people.sqlite"));
    const std::string data = "XDG_DATA_HOME=" + ShellQuoted(folder_ / "data");
    ASSERT_EQ(RunProgram(TORAVEL_CLI, {"--people-import", "-"}, {"UTC", home + " " + data, People})
                  .status,
              0);
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "data/toravel/people.sqlite"));
}

TEST_F(ToravelCliPeople, OptionsThatDoNotGoTogether) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--people-file", "x.sqlite"},
                                               {"--people", "--people-file", ""},
                                               {"--people", "--date", "17.05.1990"},
                                               {"--person", "Анна", "--utc-offset", "+03"},
                                               {"--people", "--person", "Анна"},
                                               {"--on-conflict", "replace"},
                                               {"--people-import", "-", "--on-conflict", "merge"},
                                               {"--people-export", "-", "--json"}}) {
        const Outcome outcome = RunProgram(TORAVEL_CLI, arguments, {"UTC", Home(), std::nullopt});
        EXPECT_EQ(outcome.status, 2) << arguments[0] << " " << arguments[1] << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find("ошибка в параметрах"), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "home")) << "nothing was written";
}

} // namespace
