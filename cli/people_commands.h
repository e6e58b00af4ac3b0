// toravel-cli's commands on the person file: --people lists it, --person
// calculates for a saved person (and keeps the result with the person),
// --people-export writes it as a birth CSV, --people-import reads one into it
// (--on-conflict skip|replace). The file is --people-file, or the window's own
// (people/person_file_path.h).
//
// Reading never creates the file: a file that is not there is an empty list.
#pragma once

#include <ostream>
#include <string>

#include "command_line/command_options.h"
#include "people/person_file.h"

namespace toravel::cli {

enum class PeopleAction { List, Person, Export, Import };

struct PeopleCommand {
    PeopleAction action = PeopleAction::List;
    std::string argument; // --person's name, or the file of an export or import ("-")
    std::string file;     // the person file; empty: the window's own
    OnConflict onConflict = OnConflict::Skip;
};

// Returns the exit status: 0; 1 when the person file refused or has no
// place (no HOME), a person's inputs cannot be calculated, import lines were
// faulty, or the export could not be written; 2 for no such
// person, or a file to import that cannot be opened. `options` gives the
// data directory and --list to --person.
int RunPeopleCommand(const PeopleCommand& command, const command_line::CommandOptions& options,
                     bool json, std::ostream& out, std::ostream& err);

} // namespace toravel::cli
