#include "command_line/command_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <memory>
#include <string_view>

#include "command_line/help_formatter.h"
#include "command_line/option_values.h"

namespace toravel::command_line {
namespace {

std::string CheckWholeHours(std::string& text) {
    const std::string_view digits =
        text.starts_with('+') ? std::string_view(text).substr(1) : std::string_view(text);
    int value = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || r.ec != std::errc() || r.ptr != digits.data() + digits.size() ||
        value < -12 || value > 12) {
        return "нужно целое число от -12 до 12: " + QuotedValue(text);
    }
    return {};
}

std::string CheckUtcOffset(std::string& text) {
    if (ParseUtcOffset(text))
        return {};
    return "нужно смещение ±ЧЧ[:ММ] не больше 14 часов (+03, +05:30, -08:00): " + QuotedValue(text);
}

} // namespace

void DescribeCommandOptions(CLI::App& app, CommandOptions& o, const std::string& sexHelp) {
    app.formatter(std::make_shared<RussianHelpFormatter>());
    app.option_defaults()->group("Параметры");
    app.set_help_flag("-h,--help", "показать эту справку и выйти");
    app.failure_message(RussianUsageFailure);
    app.footer("Часы места рождения: без --utc-offset, --zone-name, --auto-zone и --zone расчет "
               "идет по часовому поясу самого места рождения, как с --auto-zone; для --lat и "
               "--lon дальше 50 км от мест атласа (в открытом море) часы нужно задать.\n"
               "Коды выхода: 0 — результат, 1 — ошибка расчета или данных, 2 — ошибка в "
               "параметрах.");

    app.add_option("--date", o.date,
                   "дата рождения, ДД.ММ.ГГГГ или ГГГГ-ММ-ДД (годы 2 … 9998); "
                   "обязательна для расчета")
        ->type_name("ДД.ММ.ГГГГ");
    app.add_option("--time", o.time,
                   "время рождения по часам места рождения, ЧЧ:ММ или ЧЧ:ММ:СС (по "
                   "умолчанию 00:00)")
        ->type_name("ЧЧ:ММ[:СС]");
    auto* lat = app.add_option("--lat", o.latitude,
                               "широта места рождения в градусах, как в поле «Широта» (55,75 "
                               "или 55.75)")
                    ->type_name("ТЕКСТ");
    auto* lon = app.add_option("--lon", o.longitude,
                               "долгота места рождения в градусах, как в поле «Долгота» "
                               "(37,62 или 37.62)")
                    ->type_name("ТЕКСТ");
    auto* city = app.add_option("--city", o.city,
                                "населенный пункт из списка atlas.ini (первое поле строки, точно)")
                     ->type_name("НАЗВАНИЕ")
                     ->excludes(lat)
                     ->excludes(lon);
    app.add_option("--place", o.place,
                   "место рождения из атласа мира: самое крупное из мест, чье "
                   "название начинается с ТЕКСТ (Кинешма, Берлин); его широта, "
                   "долгота и часовой пояс")
        ->type_name("ТЕКСТ")
        ->excludes(lat)
        ->excludes(lon)
        ->excludes(city);

    auto* utcOffset = app.add_option("--utc-offset", o.utcOffset,
                                     "разница времени места рождения с Гринвичем, ±ЧЧ[:ММ] "
                                     "(+03, +05:30); расчет идет по этим часам, от часового "
                                     "пояса компьютера он не зависит")
                          ->type_name("±ЧЧ[:ММ]")
                          ->check(CLI::Validator(CheckUtcOffset, ""));
    auto* zoneName = app.add_option("--zone-name", o.zoneName,
                                    "часовой пояс места рождения из базы часовых поясов "
                                    "(Europe/Moscow); берется его смещение на момент рождения, "
                                    "с летним временем; от компьютера не зависит")
                         ->type_name("ПОЯС")
                         ->excludes(utcOffset);
    auto* autoZone = app.add_flag("--auto-zone", o.autoZone,
                                  "то же по часовому поясу самого места рождения: населенного "
                                  "пункта (--city), места атласа (--place) или ближайшего к "
                                  "--lat и --lon места атласа не дальше 50 км; так считается и "
                                  "без параметров часов")
                         ->excludes(utcOffset)
                         ->excludes(zoneName);
    app.add_option("--zone", o.zone,
                   "как поле разницы в часах в окне программы: целые часы от -12 до 12, "
                   "которые расчет прибавляет к разнице компьютера с Гринвичем (часовой "
                   "пояс компьютера задает TZ), так что результат зависит от компьютера")
        ->type_name("ЧАСЫ")
        ->check(CLI::Validator(CheckWholeHours, ""))
        ->excludes(utcOffset)
        ->excludes(zoneName)
        ->excludes(autoZone);

    app.add_option("--lunar-day", o.lunarDay,
                   "лунный день, если он известен, как в поле лунного дня (не более двух "
                   "знаков); вне 1 … 30 мир не определяется")
        ->type_name("ТЕКСТ");
    app.add_option("--sex", o.sex, sexHelp)
        ->type_name("male|female")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return text == "male" || text == "female"
                           ? ""
                           : "нужно male или female: " + QuotedValue(text);
            },
            ""));

    app.add_flag("--list", o.list, "добавить даты для проверки: новолуния и восходы лун");
    app.add_option("--db", o.db, "каталог с bd.mdb и atlas.ini (по умолчанию ./db)")
        ->type_name("КАТАЛОГ");
    app.add_option("--places", o.places,
                   "показать до 20 мест атласа мира, чье название начинается с ТЕКСТ, с "
                   "областью, страной, широтой, долготой и часовым поясом, и выйти, без "
                   "расчета")
        ->type_name("ТЕКСТ");
    app.add_option("--month", o.month,
                   "лунный календарь месяца ММ.ГГГГ для места (--place, --city или --lat с "
                   "--lon) по его часам (--zone-name, --utc-offset или, по умолчанию, "
                   "--auto-zone): лунные дни с их началами, полнолуния, миры и круги")
        ->type_name("ММ.ГГГГ");
}

void CheckRunModes(const CLI::App& app, const std::vector<RunMode>& modes) {
    const CLI::Option* chosen = nullptr;
    const RunMode* chosenMode = nullptr;
    for (const RunMode& mode : modes) {
        const CLI::Option* option = app.get_option_no_throw(mode.option);
        if (option == nullptr || option->count() == 0)
            continue;
        if (chosen != nullptr)
            throw CLI::ExcludesError(chosen->get_name(), option->get_name());
        chosen = option;
        chosenMode = &mode;
    }
    if (chosen == nullptr)
        return;
    // --db is let through for the installed launcher, which adds it to every
    // command line.
    for (const CLI::Option* option : app.get_options()) {
        const std::string name = option->get_name();
        if (option == chosen || option->count() == 0 || name == "--db" || name == "--help")
            continue;
        const auto& companions = chosenMode->companions;
        if (std::find(companions.begin(), companions.end(), name) == companions.end())
            throw CLI::ExcludesError(chosen->get_name(), name);
    }
}

const std::vector<std::string>& PlaceAndClockOptions() {
    static const std::vector<std::string> options = {
        "--place", "--city", "--lat", "--lon", "--utc-offset", "--zone-name", "--auto-zone"};
    return options;
}

} // namespace toravel::command_line
