// Where the window's person file lives and how it is opened: people.sqlite
// in the application's data folder (~/.local/share/toravel, or toravel under
// an absolute XDG_DATA_HOME), never beside the program, its read-only data,
// at the root or in the working directory.
//
// A file that cannot be used is said in Russian through the presenter; one
// that is damaged or not a person file is offered to be set aside under a
// new name (nothing is deleted) before a new, empty one is started.
#pragma once

#include <filesystem>
#include <optional>

#include "people/person_file.h"

namespace toravel {

// The application data folder's people.sqlite (people/person_file_path.h),
// the same file toravel-cli uses. Empty when there is no data folder (no
// HOME): the window then has no person file, and says why when asked for it.
std::filesystem::path PersonFilePath();

// Opens the file. Nothing when it cannot be used: the reason was shown, or
// the user chose to leave a damaged file where it is.
std::optional<PersonFile> OpenPersonFileAsking(const std::filesystem::path& path);

} // namespace toravel
