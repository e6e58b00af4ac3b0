// Paths written the Windows way (".\DB\bd.mdb"), found on a case-sensitive
// file system.
//
// The program names its data files with backslashes, relative to the working
// directory, and spells one directory both "DB" and "db". Each component is
// matched against what exists: the exact name first, else the one entry that
// equals it ignoring ASCII case (the alphabetically first if several do).
#pragma once

#include <filesystem>
#include <string_view>

namespace toravel {

// "\" and "/" both separate components; "." and empty components are
// skipped, ".." goes up; a leading separator makes the path absolute, else it
// is relative to the working directory. Components that match nothing are
// kept as written, so a missing file keeps the name it was asked for.
std::filesystem::path ResolveWindowsPath(std::string_view path);

} // namespace toravel
