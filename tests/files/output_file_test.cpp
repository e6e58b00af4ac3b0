// The one way outputs are written: the target is either as it was, byte for
// byte, or the whole new content, with its permissions; nothing that is no
// regular file is replaced, and no link planted in the folder is followed.
#include "files/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace toravel {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
protected:
    OutputFileTest() { fs::create_directories(folder_); }
    ~OutputFileTest() override { fs::remove_all(folder_); }

    fs::path Path(const std::string& name) const { return folder_ / name; }

    // The names in the folder, so that a temporary file left behind shows.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    const fs::path folder_ =
        fs::temp_directory_path() / ("toravel-output-file-" + std::to_string(::getpid()));
};

std::string Bytes(const fs::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

unsigned Mode(const fs::path& path) {
    return static_cast<unsigned>(fs::status(path).permissions() & fs::perms::all);
}

// The message of the OutputFileError that writing `content` to `target`
// gives; empty when it was written.
std::string WriteError(const fs::path& target, const std::string& content) {
    try {
        OutputFile file(target);
        file.Stream() << content;
        file.Commit();
    } catch (const OutputFileError& e) {
        return e.what();
    }
    return {};
}

// Before, the temporary file was "<target>.tmp-<pid>", opened with truncation
// through whatever stood there: a link planted at that name made the export
// overwrite the link's victim. And an export over a private file left it
// readable by everyone.
TEST_F(OutputFileTest, ReplacesTheFileWholeWithItsPermissionsThroughNoPlantedLink) {
    const fs::path victim = Path("victim");
    std::ofstream(victim) << "precious";
    const fs::path target = Path("люди.csv");
    for (const std::string& suffix : {".tmp-" + std::to_string(::getpid()), std::string(".tmp")})
        fs::create_symlink(victim, target.string() + suffix);
    std::ofstream(target) << "an old content that is longer than the new one";
    ::chmod(target.c_str(), 0600);
    EXPECT_EQ(WriteError(target, "new"), "");
    EXPECT_EQ(Bytes(target), "new");
    EXPECT_EQ(Mode(target), 0600u);
    EXPECT_EQ(Bytes(victim), "precious");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(target.string() + ".tmp")));

    // A new file gets the permissions the process's umask allows.
    const mode_t mask = ::umask(022);
    EXPECT_EQ(WriteError(Path("new.csv"), "x"), "");
    ::umask(mask);
    EXPECT_EQ(Mode(Path("new.csv")), 0644u);

    // Not committed: nothing changes.
    OutputFile(target).Stream() << "half";
    EXPECT_EQ(Bytes(target), "new");
    EXPECT_EQ(Names(), (std::vector<std::string>{"new.csv", "victim", "люди.csv", "люди.csv.tmp",
                                                 "люди.csv.tmp-" + std::to_string(::getpid())}));

    // A link the user names as the target is the file it leads to.
    fs::create_symlink(victim, Path("to-victim"));
    EXPECT_EQ(WriteError(Path("to-victim"), "meant"), "");
    EXPECT_EQ(Bytes(victim), "meant");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(Path("to-victim"))));
}

// Before, --people-export /dev/full run as root turned the device into a
// regular file and said it had written; a pipe or a folder fared alike.
TEST_F(OutputFileTest, WhatIsNoRegularFileIsRefusedAndLeftAsItWas) {
    const struct {
        const char* name;
        std::function<bool(const fs::path&)> make;
        const char* reason;
    } cases[] = {
        {"a named pipe", [](const fs::path& p) { return ::mkfifo(p.c_str(), 0644) == 0; },
         "не обычный файл"},
        {"a folder", [](const fs::path& p) { return fs::create_directory(p); },
         "это каталог, а не файл"},
        {"a socket", [](const fs::path& p) { return ::mknod(p.c_str(), S_IFSOCK | 0644, 0) == 0; },
         "не обычный файл"},
        // The device of /dev/full, made in the test's folder (root only).
        {"a device",
         [](const fs::path& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0; },
         "не обычный файл"},
        {"a link to a pipe",
         [this](const fs::path& p) {
             return ::mkfifo(Path("pipe").c_str(), 0644) == 0 &&
                    ::symlink(Path("pipe").c_str(), p.c_str()) == 0;
         },
         "не обычный файл"},
        // Rather than turned into a file.
        {"a link to nothing",
         [this](const fs::path& p) { return ::symlink(Path("nothing").c_str(), p.c_str()) == 0; },
         "ссылка на файл, которого нет"},
    };
    const fs::path target = Path("target");
    for (const auto& c : cases) {
        fs::remove_all(target);
        fs::remove(Path("pipe"));
        if (!c.make(target)) {
            ASSERT_NE(::geteuid(), 0u) << c.name << " could not be made";
            std::cout << "[ SKIPPED  ] " << c.name << ": only root may make one\n";
            continue;
        }
        const fs::file_type type = fs::symlink_status(target).type();
        const std::string error = WriteError(target, "data");
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(fs::symlink_status(target).type(), type) << c.name << " was replaced";
        for (const std::string& name : Names())
            EXPECT_TRUE(name == "target" || name == "pipe") << c.name << ": left " << name;
    }
}

} // namespace
} // namespace toravel
