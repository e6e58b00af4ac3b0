// The options the command-line front ends share (toravel-cli, toravel-pdf):
// the window's inputs as options, the data directory, the birthplace from
// the world atlas (--place), --auto-zone, which takes the spin box's hours
// from the birthplace's time zone at the birth moment, and --places, which
// lists the atlas's matches instead of calculating.
// Each program adds its own output options to the same CLI::App.
#pragma once

#include <optional>
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
    std::optional<std::string> place;  // --place: the first match of the atlas
    std::optional<std::string> places; // --places: list the matches and end
    int zone = 0;
    bool autoZone = false;
    std::string lunarDay;
    std::string sex = "male";
    bool list = false;
    std::string db = "./db";
};

// Russian help and usage errors, and the shared options. sexHelp describes
// --sex, whose meaning depends on whether the program shows pictures.
// --date is required for a calculation, not for --places: the front ends
// check it with MissingRequiredOption.
void DescribeCommandOptions(CLI::App& app, CommandOptions& options, const std::string& sexHelp);

// The usage problem of an option that a calculation needs and was not given
// ("не задан обязательный параметр --date"), as CLI11 words it.
std::string MissingRequiredOption(const std::string& name);

} // namespace toravel::cli
