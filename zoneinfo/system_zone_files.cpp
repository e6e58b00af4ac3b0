#include "zoneinfo/system_zone_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "place/zone_file_source.h"

namespace toravel {
namespace {

constexpr off_t MaxZoneFileBytes = 1 << 20;

std::string ZoneFolder() {
    const char* folder = std::getenv("TZDIR");
    if (folder != nullptr && folder[0] == '/')
        return folder;
    return "/usr/share/zoneinfo";
}

} // namespace

std::optional<std::string> ReadSystemZoneFile(std::string_view zoneName) {
    const std::string path = ZoneFolder() + "/" + std::string(zoneName);
    // O_NONBLOCK: a FIFO planted in the folder must not hang the program;
    // the regular-file check below then refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxZoneFileBytes) {
        std::string content(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t done = 0;
        while (done < content.size()) {
            const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        if (done == content.size())
            bytes = std::move(content);
    }
    ::close(fd);
    return bytes;
}

void UseSystemZoneFiles() {
    SetZoneFileReader(ReadSystemZoneFile);
}

} // namespace toravel
