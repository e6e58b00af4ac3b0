// Setting a person file aside: when the file at the caller's path is damaged
// or not a person file at all, and the user agrees, it is renamed (with its
// -wal, -shm and -journal companions) so that a new file can be started in
// its place. Nothing is deleted or overwritten.
//
//     try { PersonFile file(path); ... }
//     catch (const PersonFileError& e) {
//         if (e.CanSetAside() && userAgrees(e.what())) {
//             const auto aside = SetAsidePersonFile(path); // tell the user where it went
//             PersonFile file(path);                        // a new, empty file
//         }
//     }
#pragma once

#include <filesystem>

namespace toravel {

// Renames the file to "<name>.set-aside-ГГГГММДД-ЧЧММСС" in its folder (with
// "-2", "-3" … when that name is taken) and returns the new path. Throws
// PersonFileError (Unavailable) when it cannot be renamed; the file stays.
std::filesystem::path SetAsidePersonFile(const std::filesystem::path& path);

} // namespace toravel
