// toravel-cli's single calculation: the request checked, the calculation run
// on the data directory's database, and its outcome written: the report
// area's lines, or one JSON document.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "command_line/calculation_request.h"
#include "command_line/calculation_run.h"
#include "command_line/command_options.h"

namespace toravel::cli {

struct SingleCalculation {
    bool json = false;
    // The person the inputs are (--person): named in the JSON after "kind".
    std::optional<std::string> name;
    // Called with a calculation that ran, before its outcome is written; a
    // warning it returns joins the calculation's warnings.
    std::function<std::optional<std::string>(const command_line::CalculationRequest&,
                                             const command_line::CalculationResult&)>
        onResult;
};

// Returns the exit status. Notes, message boxes, warnings and errors go to
// `err`; with `json` standard output carries one document whatever happens.
int RunSingleCalculation(const command_line::CommandOptions& options,
                         const SingleCalculation& settings, std::ostream& out, std::ostream& err);

} // namespace toravel::cli
