#include "cli/month_command.h"

#include <algorithm>
#include <array>
#include <exception>

#include "command_line/help_formatter.h"
#include "command_line/json_document.h"
#include "command_line/month_json.h"
#include "command_line/option_values.h"
#include "horoscope/horoscope_database.h"
#include "horoscope/month_calendar_text.h"
#include "lunar/lunar_month_error.h"
#include "platform/error_display_text.h"

namespace toravel::cli {

using namespace command_line;

std::vector<std::string> MonthTableLines(const MonthRequest& request,
                                         const MonthCalendar& calendar) {
    std::vector<MonthTableCells> rows = {MonthTableTitles()};
    for (const MonthCalendarDay& day : calendar.days)
        rows.push_back(MonthTableRow(day));
    std::array<std::size_t, MonthTableColumnCount> widths{};
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], CharacterCount(row[c]));

    std::vector<std::string> lines = {MonthCalendarTitle(calendar.month),
                                      "Место: " + MonthPlaceLine(request), ""};
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line.append(widths[c] - CharacterCount(row[c]) + 2, ' ');
        }
        lines.push_back(line);
    }
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
