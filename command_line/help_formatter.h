// CLI11's help layout with Russian labels, aligned by characters rather than
// bytes, so that Cyrillic option texts keep the description column; and the
// usage errors in Russian.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace toravel::cli {

class RussianHelpFormatter : public CLI::Formatter {
public:
    RussianHelpFormatter();
    std::string make_option(const CLI::Option* option, bool isPositional) const override;
};

// A usage error's text, for App::failure_message.
std::string RussianUsageFailure(const CLI::App* app, const CLI::Error& error);

// The text of a usage error found after parsing, with the hint to the
// program's --help.
std::string UsageErrorText(const std::string& problem, const std::string& program = "toravel-cli");

} // namespace toravel::cli
