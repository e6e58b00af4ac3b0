#include "pdf/pdf_options.h"

#include "cli/cli11.h"
#include "cli/command_run.h"
#include "cli/help_formatter.h"

#include <iostream>

namespace toravel::pdf {

ParsedPdfOptions ParsePdfOptions(int argc, char** argv) {
    CLI::App app{"Торавель: славянский гороскоп по лунному дню момента рождения, в файл PDF",
                 kPdfProgramName};
    ParsedPdfOptions parsed;
    PdfOptions& o = parsed.options;
    cli::DescribeCommandOptions(
        app, o.command,
        "пол: male (мужской) или female (женский); выбирает оберег среди картинок (--pictures)");
    app.add_option("--output", o.output,
                   "файл PDF, который записать (A4); обязателен, кроме --places")
        ->type_name("ФАЙЛ.pdf");
    app.add_flag("--pictures", o.pictures,
                 "добавить картинки, каждую на своей странице: значение периода, "
                 "оберегающий массаж, гимнастика, оберег");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        parsed.exitStatus = status == 0 ? cli::ExitDone : cli::ExitUsage;
        return parsed;
    }
    // The file is needed for a calculation only, not for --places.
    if (!o.command.places && o.output.empty()) {
        std::cerr << cli::UsageErrorText(cli::MissingRequiredOption("--output"), kPdfProgramName);
        parsed.exitStatus = cli::ExitUsage;
    }
    return parsed;
}

} // namespace toravel::pdf
