#include "cli/command_options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <memory>
#include <string_view>

#include "cli/help_formatter.h"

namespace toravel::cli {
namespace {

std::string CheckWholeHours(std::string& text) {
    const std::string_view digits =
        text.starts_with('+') ? std::string_view(text).substr(1) : std::string_view(text);
    int value = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || r.ec != std::errc() || r.ptr != digits.data() + digits.size() ||
        value < -12 || value > 12) {
        return "нужно целое число от -12 до 12: " + text;
    }
    return {};
}

} // namespace

void DescribeCommandOptions(CLI::App& app, CommandOptions& o, const std::string& sexHelp) {
    app.formatter(std::make_shared<RussianHelpFormatter>());
    app.option_defaults()->group("Параметры");
    app.set_help_flag("-h,--help", "показать эту справку и выйти");
    app.failure_message(RussianUsageFailure);

    app.add_option("--date", o.date,
                   "дата рождения, ДД.ММ.ГГГГ (годы 2 … 9998); обязательна, "
                   "кроме --places")
        ->type_name("ДД.ММ.ГГГГ");
    app.add_option("--time", o.time, "время рождения, ЧЧ:ММ или ЧЧ:ММ:СС (по умолчанию 00:00)")
        ->type_name("ЧЧ:ММ[:СС]");
    auto* lat = app.add_option("--lat", o.latitude,
                               "широта места рождения в градусах, как в поле «Широта» (55,75)")
                    ->type_name("ТЕКСТ");
    auto* lon = app.add_option("--lon", o.longitude,
                               "долгота места рождения в градусах, как в поле «Долгота» (37,62)")
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
    auto* zone = app.add_option("--zone", o.zone,
                                "разница времени места рождения с Гринвичем, целые часы от -12 "
                                "до 12 (по умолчанию 0)")
                     ->type_name("ЧАСЫ")
                     ->check(CLI::Validator(CheckWholeHours, ""));
    app.add_flag("--auto-zone", o.autoZone,
                 "взять --zone из часового пояса места рождения на момент рождения: "
                 "населенного пункта (--city), места атласа (--place) или ближайшего к "
                 "--lat и --lon места атласа не дальше 50 км; смещение места рождения "
                 "минус смещение компьютера")
        ->excludes(zone);
    app.add_option("--lunar-day", o.lunarDay,
                   "лунный день, если он известен, как в поле лунного дня (не более двух "
                   "знаков)")
        ->type_name("ТЕКСТ");
    app.add_option("--sex", o.sex, sexHelp)
        ->type_name("male|female")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return text == "male" || text == "female" ? "" : "нужно male или female: " + text;
            },
            ""));

    app.add_flag("--list", o.list, "добавить даты для проверки: новолуния и восходы лун");
    app.add_option("--db", o.db, "каталог с bd.mdb и atlas.ini (по умолчанию ./db)")
        ->type_name("КАТАЛОГ");
    auto* places = app.add_option("--places", o.places,
                                  "показать до 20 мест атласа мира, чье название начинается с "
                                  "ТЕКСТ, с областью, страной, широтой, долготой и часовым "
                                  "поясом, и выйти, без расчета (из других параметров с ним "
                                  "задаются только --json и --db)")
                       ->type_name("ТЕКСТ");
    // --places goes with no option of a calculation, the front ends' own
    // ones included; --db is let through for the installed launcher, which
    // adds it to every command line. Checked once the whole line is parsed
    // rather than declared option by option, which would list it under
    // every option of the help.
    app.final_callback([&app, places] {
        if (places->count() == 0)
            return;
        for (const CLI::Option* option : app.get_options()) {
            const std::string name = option->get_name();
            if (option != places && option->count() > 0 && name != "--json" && name != "--db" &&
                name != "--help")
                throw CLI::ExcludesError(places->get_name(), name);
        }
    });
}

std::string MissingRequiredOption(const std::string& name) {
    return "не задан обязательный параметр " + name;
}

} // namespace toravel::cli
