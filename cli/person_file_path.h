// Where the person file is when --people-file does not say: the window's own,
// people.sqlite in the application's data folder as Qt's
// QStandardPaths::AppDataLocation names it on Linux for an application named
// "toravel" without an organisation: $XDG_DATA_HOME/toravel, or
// $HOME/.local/share/toravel. Worked out here without Qt, the same way
// (XDG_DATA_HOME taken as it is when not empty; HOME empty is the root).
#pragma once

#include <string>

namespace toravel::cli {

inline constexpr const char* PersonFileName = "people.sqlite";

// From the environment variables' values (empty when unset).
std::string PersonFilePath(const std::string& xdgDataHome, const std::string& home);

// From the process's environment.
std::string DefaultPersonFilePath();

} // namespace toravel::cli
