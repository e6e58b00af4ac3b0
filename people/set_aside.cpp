#include "people/set_aside.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "people/person_file.h"
#include "people/sqlite_statement.h"

namespace toravel {
namespace {

namespace fs = std::filesystem;

// Renames without ever replacing an existing file; errno on failure.
int RenameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without RENAME_NOREPLACE: a hard link fails on an
    // existing name just the same.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(from.c_str());
    return 0;
}

std::string Stamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

} // namespace

fs::path SetAsidePersonFile(const fs::path& path) {
    const std::string base = path.string() + ".set-aside-" + Stamp();
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const fs::path aside = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        const int error = RenameNoReplace(path, aside);
        if (error == EEXIST)
            continue;
        if (error != 0) {
            std::string reason = SystemReason(error);
            throw PersonFileError(PersonFileProblem::Unavailable,
                                  "Не удалось отложить файл «" + path.string() + "»: " +
                                      (reason.empty() ? std::strerror(error) : reason) + ".");
        }
        // The companions belong to the file: a -wal may hold its latest changes.
        for (const char* suffix : {"-wal", "-shm", "-journal"}) {
            const fs::path companion = path.string() + suffix;
            std::error_code exists;
            if (fs::exists(companion, exists))
                RenameNoReplace(companion, aside.string() + suffix);
        }
        return aside;
    }
    throw PersonFileError(PersonFileProblem::Unavailable,
                          "Не удалось отложить файл «" + path.string() + "»: все имена заняты.");
}

} // namespace toravel
