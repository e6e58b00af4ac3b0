// One calculation from the shared command-line options: the options checked,
// the birthplace looked up in the city list or the world atlas (with its time
// zone for --auto-zone), the computer's own offset worked out from the
// machine's time zone, and the calculation command run into a CliView on the
// horoscope database of the data directory.
//
// The front ends then write the view their own way (text, JSON, PDF).
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/birthplace_lookup.h"
#include "cli/cli_view.h"
#include "cli/command_options.h"

namespace toravel::cli {

// Exit statuses of the front ends.
inline constexpr int ExitDone = 0;   // done, also after the not-found message of the calendar day
inline constexpr int ExitFailed = 1; // blank or impossible coordinates, or an error
inline constexpr int ExitUsage = 2;  // the options were wrong; nothing was computed

// The spin box's hours that --auto-zone worked out.
struct AutoZoneChoice {
    std::string zoneName;  // the birthplace's IANA zone, "Europe/Moscow"
    int offsetSeconds = 0; // the birthplace's offset at the birth moment, positive east
    int zoneHours = 0;     // the value used as --zone
    std::string hintText;  // the window's hint for the same place and moment
};

struct CommandRun {
    int status = ExitDone;
    // The error that ended the calculation, as the error display shows it.
    std::optional<std::string> error;
    // The new moons, the birth moment and the preceding new moon in the
    // calculation state are this run's.
    bool computedPath = false;
    // So are the moonrises.
    bool moonrisesComputed = false;
    // The spin box's hours the calculation ran with (--zone or --auto-zone).
    int zoneHours = 0;
    std::optional<AutoZoneChoice> autoZone;
    // The place of the city list or the atlas the birthplace came from; none
    // for typed coordinates without --auto-zone.
    std::optional<Birthplace> birthplace;
    // The computer's own offset the calculation added, with its label text.
    int computerOffsetSeconds = 0;
    std::string computerZoneLabel;
};

// Runs the calculation. Usage errors, the offset --auto-zone took, message-box
// texts (through the view) and errors are written to `err`; `program` names
// the front end in the usage errors' hint to --help. With status ExitUsage the
// front end writes nothing else.
CommandRun RunCommandFromOptions(const CommandOptions& options, CliView& view, std::ostream& err,
                                 const std::string& program);

} // namespace toravel::cli
