// CLI11's help layout with Russian labels, aligned by characters rather than
// bytes, so that Cyrillic option texts keep the description column; and the
// usage errors in Russian.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "command_line/command_error.h"

namespace toravel::command_line {

class RussianHelpFormatter : public CLI::Formatter {
public:
    RussianHelpFormatter();
    std::string make_option(const CLI::Option* option, bool isPositional) const override;
};

// A usage error's text, for App::failure_message.
std::string RussianUsageFailure(const CLI::App* app, const CLI::Error& error);

// The problem a usage error names, in Russian ("не задан обязательный
// параметр --date").
std::string RussianUsageProblem(const CLI::Error& error);

// The text of a usage error found after parsing, with the hint to the
// program's --help.
std::string UsageErrorText(const std::string& problem, const std::string& program = "toravel-cli");

// A check that the value is one of `values`, refusing others in Russian
// ("нужно jsonl или csv: «xml»") and adding nothing to the help.
CLI::Validator OneOf(std::vector<std::string> values);

// An error as standard error shows it: its message on a line, and after a
// usage error the hint to the program's --help.
std::string ErrorText(const CommandError& error, const std::string& program);

} // namespace toravel::command_line
