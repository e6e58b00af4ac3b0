#include "people/person_file_path.h"

#include <cstdlib>

namespace toravel {
namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

} // namespace

PersonFileLocation DefaultPersonFileLocation(const char* xdgDataHome, const char* home) {
    std::filesystem::path dataHome;
    if (IsAbsolute(xdgDataHome)) {
        dataHome = xdgDataHome;
    } else if (IsAbsolute(home)) {
        dataHome = std::filesystem::path(home) / ".local/share";
    } else if (home == nullptr || home[0] == '\0') {
        return {{}, "не задана домашняя папка (переменная HOME)"};
    } else {
        return {{}, "домашняя папка задана не полным путём (HOME=" + std::string(home) + ")"};
    }
    return {dataHome.lexically_normal() / "toravel" / PersonFileName, {}};
}

PersonFileLocation DefaultPersonFileLocation() {
    return DefaultPersonFileLocation(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

} // namespace toravel
