// Where the person file is when the user does not say: people.sqlite in the
// application's data folder, the one the window and toravel-cli share. The
// XDG Base Directory rules name it: $XDG_DATA_HOME/toravel when
// XDG_DATA_HOME is an absolute path (a relative one is ignored, as the rules
// say), otherwise $HOME/.local/share/toravel. Without an absolute HOME there
// is no such folder: nothing is made at the root or in the working directory,
// and the reason is given instead.
#pragma once

#include <filesystem>
#include <string>

namespace toravel {

inline constexpr const char* PersonFileName = "people.sqlite";

struct PersonFileLocation {
    std::filesystem::path path; // empty when there is none
    std::string problem;        // why there is none, in Russian
};

// From the variables' values; nullptr for one that is not set.
PersonFileLocation DefaultPersonFileLocation(const char* xdgDataHome, const char* home);

// From the process's environment.
PersonFileLocation DefaultPersonFileLocation();

} // namespace toravel
