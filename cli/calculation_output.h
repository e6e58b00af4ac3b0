// toravel-cli's single calculation: the request checked, the calculation run
// on the data directory's database, and its outcome written: the report
// area's lines, or one JSON document.
#pragma once

#include <ostream>

#include "command_line/command_options.h"

namespace toravel::cli {

// Returns the exit status. Notes, message boxes, warnings and errors go to
// `err`; with `json` standard output carries one document whatever happens.
int RunSingleCalculation(const command_line::CommandOptions& options, bool json, std::ostream& out,
                         std::ostream& err);

} // namespace toravel::cli
