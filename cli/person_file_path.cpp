#include "cli/person_file_path.h"

#include <cstdlib>

namespace toravel::cli {

std::string PersonFilePath(const std::string& xdgDataHome, const std::string& home) {
    const std::string dataHome =
        !xdgDataHome.empty() ? xdgDataHome : (home.empty() ? "/" : home) + "/.local/share";
    return dataHome + "/toravel/" + PersonFileName;
}

std::string DefaultPersonFilePath() {
    const char* xdgDataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    return PersonFilePath(xdgDataHome ? xdgDataHome : "", home ? home : "");
}

} // namespace toravel::cli
