// toravel-cli: the horoscope's calculation without a window.
//
// Runs the same calculation command as the desktop application, with the
// computer's offset taken from the machine's time zone (TZ selects it), and
// prints the report area's lines, or with --json one JSON object. Message-box
// texts go to standard error. Exit status: 0 done (also after the not-found
// message of the calendar day), 1 blank or impossible coordinates or an
// error, 2 a usage error. The lunar calendar's working texts are discarded.
#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <exception>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_view.h"
#include "cli/help_formatter.h"
#include "cli/json_output.h"
#include "cli/option_values.h"
#include "horoscope/calculation_command.h"
#include "horoscope/horoscope_database.h"
#include "lunar/calculation_state.h"
#include "lunar/moonrise_count.h"
#include "lunar/working_stream.h"
#include "platform/city_line.h"
#include "platform/city_list.h"
#include "platform/computer_zone.h"

namespace {

using namespace toravel;

constexpr int ExitDone = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

struct Options {
    std::string date;
    std::string time = "00:00";
    std::string latitude;
    std::string longitude;
    std::string city;
    int zone = 0;
    std::string lunarDay;
    std::string sex = "male";
    bool list = false;
    std::string db = "./db";
    bool json = false;
};

void DescribeOptions(CLI::App& app, Options& o) {
    app.formatter(std::make_shared<cli::RussianHelpFormatter>());
    app.option_defaults()->group("Параметры");
    app.set_help_flag("-h,--help", "показать эту справку и выйти");
    app.failure_message(cli::RussianUsageFailure);

    app.add_option("--date", o.date, "дата рождения, ДД.ММ.ГГГГ (годы 2 … 9998)")
        ->required()
        ->type_name("ДД.ММ.ГГГГ");
    app.add_option("--time", o.time, "время рождения, ЧЧ:ММ или ЧЧ:ММ:СС (по умолчанию 00:00)")
        ->type_name("ЧЧ:ММ[:СС]");
    auto* lat = app.add_option("--lat", o.latitude,
                               "широта места рождения в градусах, как в поле «Широта» (55,75)")
                    ->type_name("ТЕКСТ");
    auto* lon = app.add_option("--lon", o.longitude,
                               "долгота места рождения в градусах, как в поле «Долгота» (37,62)")
                    ->type_name("ТЕКСТ");
    app.add_option("--city", o.city,
                   "населенный пункт из списка atlas.ini (первое поле строки, точно)")
        ->type_name("НАЗВАНИЕ")
        ->excludes(lat)
        ->excludes(lon);
    app.add_option("--zone", o.zone,
                   "разница времени места рождения с Гринвичем, целые часы от -12 до 12 "
                   "(по умолчанию 0)")
        ->type_name("ЧАСЫ")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const std::string_view digits = text.starts_with('+')
                                                    ? std::string_view(text).substr(1)
                                                    : std::string_view(text);
                int value = 0;
                const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value);
                if (digits.empty() || r.ec != std::errc() ||
                    r.ptr != digits.data() + digits.size() || value < -12 || value > 12) {
                    return "нужно целое число от -12 до 12: " + text;
                }
                return {};
            },
            ""));
    app.add_option("--lunar-day", o.lunarDay,
                   "лунный день, если он известен, как в поле лунного дня (не более двух знаков)")
        ->type_name("ТЕКСТ");
    app.add_option("--sex", o.sex,
                   "пол: male (мужской) или female (женский); выбирает оберег, картинок здесь нет")
        ->type_name("male|female")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return text == "male" || text == "female" ? "" : "нужно male или female: " + text;
            },
            ""));
    app.add_flag("--list", o.list, "добавить даты для проверки: новолуния и восходы лун");
    app.add_option("--db", o.db, "каталог с bd.mdb и atlas.ini (по умолчанию ./db)")
        ->type_name("КАТАЛОГ");
    app.add_flag("--json", o.json, "вывести результат одним объектом JSON");
}

// The latitude and longitude texts of the city whose name is exactly `name`.
std::optional<CityCoordinateTexts> FindCity(const std::string& directory, const std::string& name) {
    for (const std::string& line : LoadCityList(directory + "/atlas.ini")) {
        if (CityIdentityOfLine(line).name == name)
            return ApplyCityLine(line);
    }
    return std::nullopt;
}

bool IsBirthplaceMessage(const std::string& text) {
    return text == NoPlaceMessage || text == NoLatitudeMessage || text == NoLongitudeMessage ||
           text == InvalidBirthplaceMessage;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Торавель: славянский гороскоп по лунному дню момента рождения", "toravel-cli"};
    Options o;
    DescribeOptions(app, o);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? ExitDone : ExitUsage;
    }

    const auto usageError = [](const std::string& problem) {
        std::cerr << cli::UsageErrorText(problem);
        return ExitUsage;
    };
    const auto birthDate = cli::ParseBirthDate(o.date);
    if (!birthDate)
        return usageError("--date: нет такой даты: " + o.date +
                          " (нужна ДД.ММ.ГГГГ, годы 2 … 9998)");
    const auto birthTime = cli::ParseBirthTime(o.time);
    if (!birthTime)
        return usageError("--time: нужно время ЧЧ:ММ или ЧЧ:ММ:СС: " + o.time);
    if (cli::CharacterCount(o.lunarDay) > 2) {
        return usageError("--lunar-day: в поле лунного дня не более двух знаков: " + o.lunarDay);
    }

    cli::CliView view(std::cerr);
    view.birthDate = *birthDate;
    view.birthTime = *birthTime;
    view.latitude = o.latitude;
    view.longitude = o.longitude;
    view.listing = o.list;
    view.lunarDay = o.lunarDay;
    view.zoneHours = std::to_string(o.zone);

    SetLunarWorkingStream(&DiscardingStream());
    CalculationState& state = SharedCalculationState();
    // Marks the tables, so that only what this run computed is reported.
    state.NewMoonTable.fill(std::numeric_limits<double>::quiet_NaN());
    state.MoonriseTable.fill(std::numeric_limits<double>::quiet_NaN());

    std::optional<std::string> error;
    try {
        if (!o.city.empty()) {
            const auto city = FindCity(o.db, o.city);
            if (!city)
                return usageError("--city: нет населенного пункта «" + o.city + "» в списке");
            view.latitude = city->latitude;
            view.longitude = city->longitude;
        }
        state.ComputerZoneOffset = ComputeComputerZoneOffset().offsetDays;
        HoroscopeDatabase database(ConnectionStringForDirectory(o.db));
        RunCalculationCommand(view, database);
    } catch (const std::exception& e) {
        error = cli::ErrorDisplayText(e.what());
        std::cerr << *error << '\n';
    }

    bool failed = error.has_value();
    for (const std::string& message : view.messages)
        failed = failed || IsBirthplaceMessage(message);

    if (o.json) {
        // The new moons were computed by this run exactly when the marks are gone.
        const bool computedPath = !std::isnan(state.NewMoonTable[0]);
        std::cout << cli::OutcomeJson(state, view, computedPath, error)
                         .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                  << '\n';
    } else {
        for (const std::string& line : view.area)
            std::cout << line << '\n';
    }
    return failed ? ExitFailed : ExitDone;
}
