// The one way outputs are written: the target is either as it was, byte for
// byte, or the whole new content, with its permissions; nothing that is no
// regular file is replaced, and no link planted in the folder is followed.
#include "files/output_file.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
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
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("toravel-output-file-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path Path(const std::string& name) const { return folder_ / name; }

    // The names in the folder, so that a temporary file left behind shows.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
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

TEST_F(OutputFileTest, ReplacesTheFileWholeAndKeepsItsPermissions) {
    const fs::path target = Path("люди.csv");
    Put(target, "an old content that is longer than the new one");
    ::chmod(target.c_str(), 0600);
    EXPECT_EQ(WriteError(target, "new"), "");
    EXPECT_EQ(Bytes(target), "new");
    // Before, an export over a private file left it readable by everyone.
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Names(), std::vector<std::string>{"люди.csv"}) << "nothing left beside it";

    // A new file gets the permissions the process's umask allows.
    const mode_t mask = ::umask(022);
    EXPECT_EQ(WriteError(Path("new.csv"), "x"), "");
    ::umask(mask);
    EXPECT_EQ(fs::status(Path("new.csv")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);

    // Not committed: nothing changes, nothing is left.
    {
        OutputFile abandoned(target);
        abandoned.Stream() << "half";
    }
    EXPECT_EQ(Bytes(target), "new");
    EXPECT_EQ(Names(), (std::vector<std::string>{"new.csv", "люди.csv"}));
}

// Before, --people-export /dev/full run as root turned the device into a
// regular file and said it had written; a pipe or a folder fared alike.
TEST_F(OutputFileTest, WhatIsNoRegularFileIsRefusedAndLeftAsItWas) {
    struct Case {
        const char* name;
        std::function<bool(const fs::path&)> make;
        bool (*still)(const fs::path&);
    };
    const auto isFifo = [](const fs::path& p) { return fs::is_fifo(fs::symlink_status(p)); };
    const Case cases[] = {
        {"a named pipe", [](const fs::path& p) { return ::mkfifo(p.c_str(), 0644) == 0; }, isFifo},
        {"a folder", [](const fs::path& p) { return fs::create_directory(p); },
         [](const fs::path& p) { return fs::is_directory(fs::symlink_status(p)); }},
        {"a socket",
         [](const fs::path& p) {
             const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             p.string().copy(address.sun_path, sizeof address.sun_path - 1);
             const bool bound =
                 ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
             ::close(s);
             return bound;
         },
         [](const fs::path& p) { return fs::is_socket(fs::symlink_status(p)); }},
        // The device of /dev/full, made in the test's folder (root only).
        {"a device",
         [](const fs::path& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0; },
         [](const fs::path& p) { return fs::is_character_file(fs::symlink_status(p)); }},
        {"a link to a pipe",
         [this](const fs::path& p) {
             return ::mkfifo(Path("pipe").c_str(), 0644) == 0 &&
                    ::symlink(Path("pipe").c_str(), p.c_str()) == 0;
         },
         [](const fs::path& p) { return fs::is_symlink(fs::symlink_status(p)); }},
    };
    for (const Case& c : cases) {
        const fs::path target = Path("target");
        fs::remove_all(target);
        fs::remove(Path("pipe"));
        if (!c.make(target)) {
            ASSERT_NE(::geteuid(), 0u) << c.name << " could not be made";
            std::cout << "[ SKIPPED  ] " << c.name << ": only root may make one\n";
            continue;
        }
        const std::string error = WriteError(target, "data");
        EXPECT_NE(
            error.find(fs::is_directory(target) ? "это каталог, а не файл" : "не обычный файл"),
            std::string::npos)
            << c.name << ": " << error;
        EXPECT_TRUE(c.still(target)) << c.name << " was replaced";
        for (const std::string& name : Names())
            EXPECT_EQ(name.find(".tmp-"), std::string::npos) << c.name << ": " << name;
    }
}

// Before, the temporary file was "<target>.tmp-<pid>", opened with truncation
// through whatever stood there: a link planted at that name made the export
// overwrite the link's victim.
TEST_F(OutputFileTest, ALinkPlantedInTheFolderIsNeverFollowed) {
    const fs::path victim = Path("victim");
    Put(victim, "precious");
    const fs::path target = Path("export.csv");
    for (const std::string& suffix : {".tmp-" + std::to_string(::getpid()), std::string(".tmp")})
        fs::create_symlink(victim, target.string() + suffix);
    EXPECT_EQ(WriteError(target, "exported"), "");
    EXPECT_EQ(Bytes(target), "exported");
    EXPECT_EQ(Bytes(victim), "precious");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(target.string() + ".tmp")));

    // A link the user names as the target is the file it leads to; a link to
    // nothing is refused rather than turned into a file.
    fs::create_symlink(victim, Path("to-victim"));
    EXPECT_EQ(WriteError(Path("to-victim"), "meant"), "");
    EXPECT_EQ(Bytes(victim), "meant");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(Path("to-victim"))));
    fs::create_symlink(Path("nothing"), Path("dangling"));
    EXPECT_NE(WriteError(Path("dangling"), "x").find("ссылка на файл, которого нет"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(Path("nothing")));
}

} // namespace
} // namespace toravel
