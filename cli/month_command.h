// toravel-cli --month: a month's lunar calendar at a place, as a table in
// Russian or, with --json, one JSON document.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "command_line/command_options.h"
#include "command_line/month_request.h"
#include "horoscope/month_calendar.h"

namespace toravel::cli {

// Returns the exit status: 0, 1 when the database cannot be read, 2 for a
// month or place the calendar cannot be made for.
int RunMonthCommand(const command_line::CommandOptions& options, bool json, std::ostream& out,
                    std::ostream& err);

// The table's lines: a title, the place, a blank line, the column titles
// and one line per day, columns aligned by characters.
std::vector<std::string> MonthTableLines(const command_line::MonthRequest& request,
                                         const MonthCalendar& calendar);

} // namespace toravel::cli
