// The application's data paths and addresses, in one place.
//
// Both data files are named the Windows way, relative to the process's
// working directory, and found through ResolveWindowsPath, so ".\db" and the
// database connection's ".\DB" reach the same directory.
#pragma once

#include <string_view>

namespace toravel::paths {

// The city list the birthplace drop-down list is filled from.
inline constexpr std::string_view CityListFile = ".\\db\\atlas.ini";

// The horoscope database; the connection string names the same file.
inline constexpr std::string_view DatabaseFile = ".\\db\\bd.mdb";

// The maker's page that the link label opens.
inline constexpr std::string_view MakerPage = "https://toravel.ru";

// Qt's own Russian translations (standard button texts), looked for in Qt's
// translations directory.
inline constexpr std::string_view QtTranslationName = "qtbase_ru";

} // namespace toravel::paths
