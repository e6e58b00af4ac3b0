// The options the command-line front ends share (toravel-cli, toravel-pdf):
// the window's inputs as options, the data directory, and --auto-zone, which
// takes the spin box's hours from the city's time zone at the birth moment.
// Each program adds its own output options to the same CLI::App.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace toravel::cli {

struct CommandOptions {
    std::string date;
    std::string time = "00:00";
    std::string latitude;
    std::string longitude;
    std::string city;
    int zone = 0;
    bool autoZone = false;
    std::string lunarDay;
    std::string sex = "male";
    bool list = false;
    std::string db = "./db";
};

// Russian help and usage errors, and the shared options. sexHelp describes
// --sex, whose meaning depends on whether the program shows pictures.
void DescribeCommandOptions(CLI::App& app, CommandOptions& options, const std::string& sexHelp);

} // namespace toravel::cli
