#include "pdf/pdf_options.h"

#include "command_line/cli11.h"
#include "command_line/command_error.h"
#include "command_line/help_formatter.h"
#include "command_line/option_values.h"

#include <iostream>

namespace toravel::pdf {

ParsedPdfOptions ParsePdfOptions(int argc, char** argv) {
    using namespace command_line;
    CLI::App app{"Торавель: славянский гороскоп по лунному дню момента рождения, в файл PDF",
                 kPdfProgramName};
    ParsedPdfOptions parsed;
    PdfOptions& o = parsed.options;
    DescribeCommandOptions(
        app, o.command,
        "пол: male (мужской) или female (женский); выбирает оберег среди картинок (--pictures)");
    app.add_option("--output", o.output,
                   "файл PDF, который записать (A4); обязателен, кроме --places")
        ->type_name("ФАЙЛ.pdf");
    app.add_flag("--pictures", o.pictures,
                 "добавить картинки, каждую на своей странице: значение периода, "
                 "оберегающий массаж, гимнастика, оберег");
    app.final_callback([&app] {
        std::vector<std::string> month = PlaceAndClockOptions();
        month.push_back("--output");
        CheckRunModes(app, {{"--places", {}}, {"--month", month}});
    });
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        parsed.exitStatus = status == 0 ? ExitDone : ExitUsage;
        return parsed;
    }
    // The file is needed for a calculation and a month, not for --places.
    if (!o.command.places && o.output.empty()) {
        std::cerr << UsageErrorText(MissingRequiredOption("--output"), kPdfProgramName);
        parsed.exitStatus = ExitUsage;
    }
    return parsed;
}

} // namespace toravel::pdf
