// toravel-pdf's command line: the options of toravel-cli plus the output
// file and --pictures. Kept apart from the toolkit's code, so that the option
// parser is compiled without the toolkit's flags.
#pragma once

#include <optional>
#include <string>

#include "command_line/command_options.h"

namespace toravel::pdf {

struct PdfOptions {
    command_line::CommandOptions command;
    std::string output;
    bool pictures = false;
};

struct ParsedPdfOptions {
    PdfOptions options;
    // Set when the program ends at once: 0 after the help, 2 after a usage
    // error (both already written).
    std::optional<int> exitStatus;
};

inline constexpr const char* kPdfProgramName = "toravel-pdf";

ParsedPdfOptions ParsePdfOptions(int argc, char** argv);

} // namespace toravel::pdf
