// The options the command-line front ends share (toravel-cli, toravel-pdf):
// the window's inputs as options, the data directory, the birthplace from
// the city list (--city) or the world atlas (--place), its clock (--zone as
// the window has it, or one that does not depend on the machine: --utc-offset,
// --zone-name, --auto-zone), --places, which lists the atlas's matches
// instead of calculating, and --month, a month's lunar calendar.
// Each program adds its own output options to the same CLI::App.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace toravel::command_line {

struct CommandOptions {
    std::string date;
    std::string time = "00:00";
    std::string latitude;
    std::string longitude;
    std::string city;
    std::optional<std::string> place; // --place: the first match of the atlas
    // The birthplace's name where the coordinates are given beside it (a
    // batch line's place, a saved person's); not looked up.
    std::optional<std::string> placeLabel;
    std::optional<std::string> places;    // --places: list the matches and end
    std::optional<int> zone;              // --zone: the window's hours, added to the computer's
    std::optional<std::string> utcOffset; // --utc-offset: the birthplace's offset itself
    std::optional<std::string> zoneName;  // --zone-name: its offset at the birth moment
    bool autoZone = false;                // the birthplace's own zone at the birth moment
    // The clock options as a message asking for one names them: the
    // command line's, or a batch file's columns.
    std::string clockNaming = "--utc-offset, --zone-name или --zone";
    std::string lunarDay;
    std::string sex = "male";
    bool list = false;
    std::string db = "./db";
    std::optional<std::string> month; // --month ММ.ГГГГ: the month's lunar calendar
};

// Russian help and usage errors, and the shared options. sexHelp describes
// --sex, whose meaning depends on whether the program shows pictures.
// --date is required for a calculation only: the front ends check it with
// MissingRequiredOption (command_line/option_values.h).
void DescribeCommandOptions(CLI::App& app, CommandOptions& options, const std::string& sexHelp);

// A way of running a front end other than a calculation, chosen by its option
// (--places, --month, --batch, …), and the options that go with it.
struct RunMode {
    std::string option;
    std::vector<std::string> companions;
};

// After parsing: throws CLI::ExcludesError when two modes are given, or an
// option beside a mode that does not go with it (--db always does). Checked
// once the whole line is parsed rather than declared option by option, which
// would list every pair under the options of the help.
void CheckRunModes(const CLI::App& app, const std::vector<RunMode>& modes);

// The birthplace's options and its clock's, which a month goes with.
const std::vector<std::string>& PlaceAndClockOptions();

} // namespace toravel::command_line
