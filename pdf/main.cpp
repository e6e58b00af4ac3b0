// toravel-pdf: the horoscope's calculation written as a PDF file, without a
// window. Takes the options of toravel-cli (its clock options included) plus
// the output file, and with --pictures appends the four pictures of the
// database, each on its page. With --month it writes a month's lunar
// calendar at a place on one A4 page instead.
//
// Notes, message-box texts and errors go to standard error. Exit status as
// toravel-cli's: 0 written (also after the not-found message of the calendar
// day), 1 nothing written (blank or impossible coordinates, an error, no
// world atlas where one is needed, a file that cannot be written), 2 a usage
// error. --places lists the world atlas's matches as toravel-cli does. Runs
// headless: the offscreen platform is chosen unless QT_QPA_PLATFORM says
// otherwise.
#include <QGuiApplication>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "atlas/geonames_atlas.h"
#include "command_line/birthplace_lookup.h"
#include "command_line/calculation_clock.h"
#include "command_line/calculation_request.h"
#include "command_line/calculation_run.h"
#include "command_line/help_formatter.h"
#include "command_line/month_request.h"
#include "command_line/option_values.h"
#include "files/standard_output.h"
#include "horoscope/month_calendar_text.h"
#include "lunar/lunar_month_error.h"
#include "pdf/month_document.h"
#include "pdf/pdf_options.h"
#include "pdf/report_document.h"
#include "pdf/report_pictures.h"
#include "place/city_list_source.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"
#include "storage/city_list.h"
#include "storage/horoscope_database.h"
#include "zoneinfo/system_zone_files.h"

namespace {

using namespace toravel;
using namespace toravel::command_line;

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

ReportDocument DocumentOfRun(const CalculationRequest& request, const CalculationResult& result) {
    ReportDocument document;
    BirthData& birth = document.birth;
    birth.date = DateToStr(request.birthDate);
    birth.time = ClockText(request.birthTime);
    // Named for a place of the city list or the atlas; typed coordinates
    // stand alone, also where the nearest atlas place gave the zone (the
    // zone's line names that place).
    if (request.birthplace && !request.birthplace->distanceKm)
        birth.place = BirthplaceName(*request.birthplace);
    birth.latitude = request.latitude;
    birth.longitude = request.longitude;
    const CalculationClock& clock = request.clock;
    if (DependsOnTheComputer(clock)) {
        birth.zoneHours = clock.zoneHours;
        birth.computerOffsetSeconds = clock.computer.offsetSeconds;
    } else {
        birth.clock = ClockLabel(clock);
    }
    birth.female = request.female;

    // The report area holds the listings, then the report lines.
    document.listing = result.view.ListingLines();
    for (std::size_t i = 0; i < result.view.reportLines.size(); ++i)
        document.report.push_back({result.view.reportFormats[i], result.view.reportLines[i]});
    return document;
}

// The toolkit starts once the calculation is done, since it sets the C
// locale from the environment.
void StartToolkit(char* program) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int toolkitArgc = 1;
    static char* toolkitArgv[] = {program, nullptr};
    static const QGuiApplication application(toolkitArgc, toolkitArgv);
}

int WriteCalculation(const pdf::PdfOptions& options, char* program) {
    const PreparedCalculation prepared = PrepareCalculation(options.command, std::cerr);
    if (prepared.error) {
        std::cerr << ErrorText(*prepared.error, pdf::kPdfProgramName);
        return prepared.error->status;
    }
    HoroscopeDatabase database(ConnectionStringForDirectory(options.command.db));
    const CalculationResult result =
        RunCalculation(*prepared.request, database, SearchedLunarTables(), &std::cerr);
    for (const std::string& warning : result.warnings)
        std::cerr << "внимание: " << warning << '\n';
    if (result.error) {
        if (result.error->code != error_code::NoBirthplace &&
            result.error->code != error_code::InvalidBirthplace)
            std::cerr << ErrorText(*result.error, pdf::kPdfProgramName);
        return result.status;
    }

    ReportDocument document;
    try {
        document = DocumentOfRun(*prepared.request, result);
        if (options.pictures) {
            document.pictures = LoadReportPictures(ConnectionStringForDirectory(options.command.db),
                                                   document.birth.female);
        }
    } catch (const std::exception& e) {
        std::cerr << ErrorDisplayText(e.what()) << '\n';
        return ExitFailed;
    }

    StartToolkit(program);
    std::string problem;
    if (!WriteReportPdf(options.output, document, problem)) {
        std::cerr << "не удалось записать " << options.output << ": " << problem << '\n';
        return ExitFailed;
    }
    return ExitDone;
}

int WriteMonth(const pdf::PdfOptions& options, char* program) {
    const auto fail = [](const CommandError& error) {
        std::cerr << ErrorText(error, pdf::kPdfProgramName);
        return error.status;
    };
    const PreparedMonth prepared = PrepareMonth(options.command, std::cerr);
    if (prepared.error)
        return fail(*prepared.error);
    MonthCalendarDocument document;
    try {
        HoroscopeDatabase database(ConnectionStringForDirectory(options.command.db));
        document.calendar =
            ComputeMonthCalendar(prepared.request->place, prepared.request->month, database);
    } catch (const LunarMonthError& e) {
        return fail(UsageError(std::string("--month: ") + e.what()));
    } catch (const std::exception& e) {
        return fail({ExitFailed, error_code::Database, ErrorDisplayText(e.what())});
    }
    document.title = MonthCalendarTitle(prepared.request->month);
    document.place = MonthPlaceLine(*prepared.request);

    StartToolkit(program);
    std::string problem;
    if (!WriteMonthCalendarPdf(options.output, document, problem)) {
        std::cerr << "не удалось записать " << options.output << ": " << problem << '\n';
        return ExitFailed;
    }
    return ExitDone;
}

int Run(int argc, char** argv) {
    UseSystemZoneFiles();
    UseGeonamesAtlas();
    SetCityListReader(LoadCityList);
    const pdf::ParsedPdfOptions parsed = pdf::ParsePdfOptions(argc, argv);
    if (parsed.exitStatus)
        return *parsed.exitStatus;
    const CommandOptions& options = parsed.options.command;
    if (options.places)
        return ListPlaces(*options.places, false, std::cout, std::cerr);
    if (options.month)
        return WriteMonth(parsed.options, argv[0]);
    return WriteCalculation(parsed.options, argv[0]);
}

} // namespace

int main(int argc, char** argv) {
    // --places and --help print to standard output: checked as toravel-cli's.
    toravel::CheckedStandardOutput output;
    const int status = Run(argc, argv);
    return output.Finish(status, std::cerr);
}
