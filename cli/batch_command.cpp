#include "cli/batch_command.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "batch/batch_run.h"
#include "command_line/help_formatter.h"
#include "command_line/option_values.h"

namespace toravel::cli {
namespace {

// Inputs longer than this get a progress line on a terminal.
constexpr std::uint64_t kLinesWorthAProgressLine = 10'000;

std::uint64_t LineCount(std::istream& in) {
    std::uint64_t lines = 0;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i)
            lines += buffer[i] == '\n';
    }
    return lines;
}

} // namespace

int RunBatchCommand(const BatchCommand& command, std::ostream& out, std::ostream& err) {
    using namespace command_line;
    batch::BatchSettings settings;
    settings.db = command.db;
    settings.listing = command.listing;
    settings.format =
        command.format == "csv" ? batch::BatchFormat::Csv : batch::BatchFormat::JsonLines;

    std::ifstream file;
    std::istream* in = &std::cin;
    if (command.input == "-") {
        // Another program may wait for each answer before it writes more.
        settings.flushEachLine = true;
    } else {
        std::error_code ignored;
        const std::filesystem::file_status status = std::filesystem::status(command.input, ignored);
        if (std::filesystem::is_directory(status)) {
            err << ErrorText(
                UsageError("--batch: " + QuotedValue(command.input) + " — каталог, а не файл"),
                "toravel-cli");
            return ExitUsage;
        }
        file.open(command.input, std::ios::binary);
        if (!file) {
            err << ErrorText(UsageError("--batch: не открыть файл " + QuotedValue(command.input)),
                             "toravel-cli");
            return ExitUsage;
        }
        in = &file;
        if (::isatty(STDERR_FILENO) == 1) {
            if (std::filesystem::is_regular_file(status)) {
                // Only a regular file can be read twice: a pipe or a device
                // would be drained, or read without end, by the count.
                std::ifstream counted(command.input, std::ios::binary);
                const std::uint64_t lines = LineCount(counted);
                if (lines > kLinesWorthAProgressLine) {
                    settings.progress = &err;
                    settings.totalLines = lines;
                }
            } else {
                settings.progress = &err; // the lines done, without a total
            }
        }
    }

    const batch::BatchSummary summary = batch::RunBatch(*in, out, settings);
    if (summary.fileError) {
        err << summary.fileError->message << '\n';
        return ExitFailed;
    }
    if (summary.outputFailed)
        return ExitFailed; // the caller names the output's failure
    if (summary.failed > 0) {
        err << "строк с ошибкой: " << summary.failed << " из " << summary.results << '\n';
        return ExitFailed;
    }
    return ExitDone;
}

} // namespace toravel::cli
