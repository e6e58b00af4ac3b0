// Running a built command-line program as a user would: from the build
// tree's root (where db/ is), with the time zone and further environment
// given, its standard input from a text, its standard output, error output
// and exit status kept apart.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace toravel::testing {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;

    std::vector<std::string> OutLines() const {
        std::vector<std::string> lines;
        std::istringstream stream(out);
        for (std::string line; std::getline(stream, line);)
            lines.push_back(line);
        return lines;
    }
};

inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

inline std::string FileText(const std::filesystem::path& path) {
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

struct RunSettings {
    std::string zone = "UTC"; // TZ
    // Further variables, "NAME=value ...", quoted as the shell needs.
    std::string environment;
    std::optional<std::string> input; // standard input; none: /dev/null
};

// Runs `program` with the arguments from the build tree's root.
inline Outcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const RunSettings& settings = {}) {
    static int runs = 0;
    const std::filesystem::path stem =
        std::filesystem::temp_directory_path() /
        ("toravel-run-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
    const std::string errFile = stem.string() + ".err";
    const std::string inFile = stem.string() + ".in";
    if (settings.input)
        std::ofstream(inFile, std::ios::binary) << *settings.input;
    std::string command = "cd " + ShellQuoted(TORAVEL_BUILD_ROOT) +
                          " && TZ=" + ShellQuoted(settings.zone) + " " + settings.environment +
                          " exec " + ShellQuoted(program);
    for (const std::string& argument : arguments)
        command += " " + ShellQuoted(argument);
    command += " 2>" + ShellQuoted(errFile);
    command += " <" + (settings.input ? ShellQuoted(inFile) : std::string("/dev/null"));

    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return outcome;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        outcome.out.append(buffer, n);
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = FileText(errFile);
    std::filesystem::remove(errFile);
    std::filesystem::remove(inFile);
    return outcome;
}

inline std::vector<std::string> With(std::vector<std::string> arguments,
                                     const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// A folder of its own in the temporary folder, removed with the object.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                (name + "-" + std::to_string(::getpid()) + "-" + std::to_string(++count_))) {
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path_); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    static inline int count_ = 0;
    std::filesystem::path path_;
};

// Runs `scenario` in a child process with a tmpfs of `size` ("size=200k")
// mounted at `folder` in a mount namespace of its own, so that nothing
// outlives the test; returns what the scenario returned ("" for success), or
// "skip" where the process may not mount (not root).
inline std::string OnTmpfs(const std::filesystem::path& folder, const std::string& size,
                           const std::function<std::string()>& scenario) {
    int pipe[2];
    if (::pipe(pipe) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        const bool mounted = ::unshare(CLONE_NEWNS) == 0 &&
                             ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                             ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) == 0;
        const std::string outcome = mounted ? scenario() : "skip";
        [[maybe_unused]] auto written = ::write(pipe[1], outcome.data(), outcome.size());
        ::_exit(0);
    }
    ::close(pipe[1]);
    const std::string outcome = FileText("/proc/self/fd/" + std::to_string(pipe[0]));
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return outcome;
}

// Fills the file system of `folder` up to about `leave` bytes.
inline void FillDisk(const std::filesystem::path& folder, std::uintmax_t leave) {
    const std::uintmax_t available = std::filesystem::space(folder).available;
    std::ofstream filler(folder / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    for (std::uintmax_t left = available > leave ? available - leave : 0; left >= block.size();
         left -= block.size()) {
        if (!filler.write(block.data(), static_cast<std::streamsize>(block.size())))
            break;
    }
}

} // namespace toravel::testing
