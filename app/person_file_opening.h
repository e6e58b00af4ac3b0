// Where the window's person file lives and how it is opened: people.sqlite
// in the application's data folder (on Linux ~/.local/share/toravel, the
// folder of the application's name under XDG_DATA_HOME), never beside the
// program or its read-only data.
//
// A file that cannot be used is said in Russian through the presenter; one
// that is damaged or not a person file is offered to be set aside under a
// new name (nothing is deleted) before a new, empty one is started.
#pragma once

#include <filesystem>
#include <optional>

#include "people/person_file.h"

namespace toravel {

// The file name inside the data folder.
inline constexpr const char* PersonFileName = "people.sqlite";

// The application data folder's people.sqlite. Empty when Qt knows no
// writable data folder (no HOME): the window then has no person file.
std::filesystem::path PersonFilePath();

// Opens the file. Nothing when it cannot be used: the reason was shown, or
// the user chose to leave a damaged file where it is.
std::optional<PersonFile> OpenPersonFileAsking(const std::filesystem::path& path);

} // namespace toravel
