// What the person-file tests share: a folder of their own under the temporary
// folder, sample people, the bytes of a file, and a child process to run a
// part of a test in.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "people/person.h"

namespace toravel::testing {

class TemporaryFolder {
public:
    TemporaryFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("toravel-people-" + std::to_string(::getpid()) + "-" + test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline Person SamplePerson(const std::string& name) {
    Person p;
    p.name = name;
    p.date = "17.05.1990";
    p.time = "14:30";
    p.place = "Москва";
    p.latitude = 55.75;
    p.longitude = 37.62;
    p.zoneName = "Europe/Moscow";
    p.utcOffset = "+04:00";
    p.zoneHours = 3;
    p.sex = Sex::Female;
    p.note = "заметка";
    return p;
}

// Runs `part` in a child process and returns what it returned: the empty
// text for success, or what went wrong. The child never returns into the
// test framework; a child that dies says how.
inline std::string InChildProcess(const std::function<std::string()>& part) {
    int pipe[2];
    if (::pipe(pipe) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        std::string outcome;
        try {
            outcome = part();
        } catch (const std::exception& e) {
            outcome = std::string("exception: ") + e.what();
        }
        [[maybe_unused]] auto written = ::write(pipe[1], outcome.data(), outcome.size());
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string outcome;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        outcome.append(buffer, static_cast<std::size_t>(n));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child ended with status " + std::to_string(status) + "; " + outcome;
    return outcome;
}

} // namespace toravel::testing
