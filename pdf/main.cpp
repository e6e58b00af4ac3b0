// toravel-pdf: the horoscope's calculation written as a PDF file, without a
// window. Takes the options of toravel-cli (the computer's offset from the
// machine's time zone, TZ selects it) plus the output file, and with
// --pictures appends the four pictures of the database, each on its page.
//
// Message-box texts and errors go to standard error. Exit status as
// toravel-cli's: 0 written (also after the not-found message of the calendar
// day), 1 nothing written (blank or impossible coordinates, an error, no
// world atlas where one is needed, a file that cannot be written), 2 a usage
// error. --places lists the world atlas's matches as toravel-cli does. Runs headless: the offscreen
// platform is chosen unless QT_QPA_PLATFORM says otherwise.
#include <QGuiApplication>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "cli/birthplace_lookup.h"
#include "cli/cli_view.h"
#include "cli/command_run.h"
#include "cli/json_output.h"
#include "cli/option_values.h"
#include "horoscope/horoscope_database.h"
#include "pdf/pdf_options.h"
#include "pdf/report_document.h"
#include "pdf/report_pictures.h"
#include "platform/tdatetime.h"

namespace {

using namespace toravel;

std::string TwoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// "14:30", with the seconds only where there are any.
std::string ClockText(TDateTime time) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(time, year, month, day, hour, minute, second, millisecond);
    std::string text = TwoDigits(hour) + ":" + TwoDigits(minute);
    if (second != 0)
        text += ":" + TwoDigits(second);
    return text;
}

ReportDocument DocumentOfRun(const cli::CommandOptions& options, const cli::CliView& view,
                             const cli::CommandRun& run) {
    ReportDocument document;
    BirthData& birth = document.birth;
    birth.date = cli::MinuteText(view.birthDate, true);
    birth.time = ClockText(view.birthTime);
    // Named for a place of the city list or the atlas; typed coordinates
    // stand alone, also where the nearest atlas place gave the zone (the
    // zone's line names that place).
    if (run.birthplace && !run.birthplace->distanceKm)
        birth.place = cli::BirthplaceName(*run.birthplace);
    birth.latitude = view.latitude;
    birth.longitude = view.longitude;
    birth.zoneHours = run.zoneHours;
    birth.computerOffsetSeconds = run.computerOffsetSeconds;
    if (run.autoZone)
        birth.birthplaceOffset = run.autoZone->hintText + " (" + run.autoZone->zoneName + ")";
    birth.female = options.sex == "female";

    // The report area holds the listings, then the report lines.
    const std::size_t listed = view.area.size() - view.reportLines.size();
    document.listing.assign(view.area.begin(), view.area.begin() + static_cast<long>(listed));
    for (std::size_t i = 0; i < view.reportLines.size(); ++i)
        document.report.push_back({view.reportFormats[i], view.reportLines[i]});
    return document;
}

} // namespace

int main(int argc, char** argv) {
    const pdf::ParsedPdfOptions parsed = pdf::ParsePdfOptions(argc, argv);
    if (parsed.exitStatus)
        return *parsed.exitStatus;
    const cli::CommandOptions& options = parsed.options.command;
    if (options.places)
        return cli::ListPlaces(*options.places, false, std::cout, std::cerr);

    // The calculation runs before the toolkit starts, which sets the C locale
    // from the environment.
    cli::CliView view(std::cerr);
    const cli::CommandRun run =
        cli::RunCommandFromOptions(options, view, std::cerr, pdf::kPdfProgramName);
    if (run.status != cli::ExitDone)
        return run.status;

    ReportDocument document;
    try {
        document = DocumentOfRun(options, view, run);
        if (parsed.options.pictures) {
            document.pictures =
                LoadReportPictures(ConnectionStringForDirectory(options.db), document.birth.female);
        }
    } catch (const std::exception& e) {
        std::cerr << cli::ErrorDisplayText(e.what()) << '\n';
        return cli::ExitFailed;
    }

    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    const QGuiApplication application(toolkitArgc, toolkitArgv);

    std::string problem;
    if (!WriteReportPdf(parsed.options.output, document, problem)) {
        std::cerr << "не удалось записать " << parsed.options.output << ": " << problem << '\n';
        return cli::ExitFailed;
    }
    return cli::ExitDone;
}
