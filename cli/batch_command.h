// toravel-cli --batch: a birth CSV from a file or standard input ("-"), the
// results on standard output, the count of failed lines and, on a terminal,
// a progress line on standard error.
#pragma once

#include <ostream>
#include <string>

namespace toravel::cli {

struct BatchCommand {
    std::string input;  // a path, or "-"
    std::string format; // "jsonl" or "csv"
    std::string db = "./db";
    bool listing = false;
};

// Returns the exit status: 0 when every line was calculated, 1 when a line
// failed or the file cannot be used, 2 when it cannot be opened.
int RunBatchCommand(const BatchCommand& command, std::ostream& out, std::ostream& err);

} // namespace toravel::cli
