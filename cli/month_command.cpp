#include "cli/month_command.h"

#include <exception>

#include "cli/text_columns.h"
#include "command_line/help_formatter.h"
#include "command_line/json_document.h"
#include "command_line/month_json.h"
#include "command_line/option_values.h"
#include "horoscope/month_calendar_text.h"
#include "lunar/lunar_month_error.h"
#include "platform/error_display_text.h"
#include "storage/horoscope_database.h"

namespace toravel::cli {

using namespace command_line;

std::vector<std::string> MonthTableLines(const MonthRequest& request,
                                         const MonthCalendar& calendar) {
    std::vector<MonthTableCells> rows = {MonthTableTitles()};
    for (const MonthCalendarDay& day : calendar.days)
        rows.push_back(MonthTableRow(day));
    std::vector<std::string> lines = {MonthCalendarTitle(calendar.month),
                                      "Место: " + MonthPlaceLine(request), ""};
    for (std::string& line : AlignedColumns(rows))
        lines.push_back(std::move(line));
    return lines;
}

int RunMonthCommand(const CommandOptions& options, bool json, std::ostream& out,
                    std::ostream& err) {
    const auto fail = [&](const CommandError& error) {
        err << ErrorText(error, "toravel-cli");
        if (json)
            out << JsonText(FailureJson(JsonKind::Month, error));
        return error.status;
    };
    const PreparedMonth prepared = PrepareMonth(options, err);
    if (prepared.error)
        return fail(*prepared.error);
    const MonthRequest& request = *prepared.request;

    MonthCalendar calendar;
    try {
        HoroscopeDatabase database(ConnectionStringForDirectory(options.db));
        calendar = ComputeMonthCalendar(request.place, request.month, database);
    } catch (const LunarMonthError& e) {
        return fail(UsageError(std::string("--month: ") + e.what()));
    } catch (const std::exception& e) {
        return fail({ExitFailed, error_code::Database, ErrorDisplayText(e.what())});
    }
    if (json) {
        out << JsonText(MonthJson(request, calendar));
    } else {
        for (const std::string& line : MonthTableLines(request, calendar))
            out << line << '\n';
    }
    return ExitDone;
}

} // namespace toravel::cli
