// The person file's default place, shared by the window and toravel-cli: Qt's
// QStandardPaths::AppDataLocation for the application "toravel" wherever the
// environment is sound, and the XDG rules where Qt is lax: a relative
// XDG_DATA_HOME is ignored, and without an absolute HOME there is no place at
// all (Qt would give the root, or the working directory). The test sets
// HOME and XDG_DATA_HOME; nothing is created.
#include "people/person_file_path.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <string>

namespace {

TEST(PersonFilePath, IsTheWindowsAppDataLocationWhereTheEnvironmentIsSound) {
    int argc = 1;
    char name[] = "toravel";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("toravel"));
    const struct {
        const char* xdgDataHome; // nullptr: unset
        const char* home;
    } rows[] = {
        {nullptr, "/home/anna"},
        {"", "/home/anna"},
        {"/data", "/home/anna"},
        {"/data/", "/home/anna"},
    };
    for (const auto& row : rows) {
        row.xdgDataHome ? ::setenv("XDG_DATA_HOME", row.xdgDataHome, 1)
                        : ::unsetenv("XDG_DATA_HOME");
        ::setenv("HOME", row.home, 1);
        const std::filesystem::path qt =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() +
            "/people.sqlite";
        EXPECT_EQ(toravel::DefaultPersonFileLocation().path, qt.lexically_normal())
            << "XDG_DATA_HOME=" << (row.xdgDataHome ? row.xdgDataHome : "(unset)");
    }
}

// Before, a relative XDG_DATA_HOME put the file under the working directory,
// and without HOME the window made /.local/share/toravel at the root.
TEST(PersonFilePath, RelativeOrMissingFoldersAreNoPlace) {
    using toravel::DefaultPersonFileLocation;
    EXPECT_EQ(DefaultPersonFileLocation("relative", "/home/anna").path,
              "/home/anna/.local/share/toravel/people.sqlite")
        << "a relative XDG_DATA_HOME is ignored";
    const struct {
        const char* xdgDataHome;
        const char* home;
        const char* problem;
    } refused[] = {
        {nullptr, nullptr, "не задана домашняя папка (переменная HOME)"},
        {nullptr, "", "не задана домашняя папка (переменная HOME)"},
        {"relative", nullptr, "не задана домашняя папка (переменная HOME)"},
        {nullptr, "anna", "домашняя папка задана не полным путём (HOME=anna)"},
    };
    for (const auto& row : refused) {
        const auto location = DefaultPersonFileLocation(row.xdgDataHome, row.home);
        EXPECT_TRUE(location.path.empty()) << location.path;
        EXPECT_EQ(location.problem, row.problem);
    }
    EXPECT_EQ(DefaultPersonFileLocation("/data", nullptr).path, "/data/toravel/people.sqlite")
        << "an absolute XDG_DATA_HOME needs no HOME";
}

} // namespace
