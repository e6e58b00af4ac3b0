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

// Before, a relative XDG_DATA_HOME put the file under the working directory,
// and without HOME the window made /.local/share/toravel at the root.
TEST(PersonFilePath, IsQtsAppDataLocationWhereTheEnvironmentIsSoundAndNoPlaceWhereNot) {
    int argc = 1;
    char name[] = "toravel";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("toravel"));
    const char* const qt = "(Qt's)";
    const char* const noHome = "не задана домашняя папка (переменная HOME)";
    const struct {
        const char* xdgDataHome; // nullptr: unset
        const char* home;
        const char* path;
        const char* problem;
    } rows[] = {
        {nullptr, "/home/anna", qt, ""},
        {"", "/home/anna", qt, ""},
        {"/data", "/home/anna", qt, ""},
        {"/data/", "/home/anna", qt, ""},
        {"relative", "/home/anna", "/home/anna/.local/share/toravel/people.sqlite", ""},
        {"/data", nullptr, "/data/toravel/people.sqlite", ""},
        {nullptr, nullptr, "", noHome},
        {nullptr, "", "", noHome},
        {"relative", nullptr, "", noHome},
        {nullptr, "anna", "", "домашняя папка задана не полным путём (HOME=anna)"},
    };
    for (const auto& row : rows) {
        row.xdgDataHome ? ::setenv("XDG_DATA_HOME", row.xdgDataHome, 1)
                        : ::unsetenv("XDG_DATA_HOME");
        row.home ? ::setenv("HOME", row.home, 1) : ::unsetenv("HOME");
        std::filesystem::path path = row.path;
        if (row.path == qt)
            path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() +
                   "/people.sqlite";
        const auto location = toravel::DefaultPersonFileLocation();
        const std::string given = std::string("XDG_DATA_HOME=") +
                                  (row.xdgDataHome ? row.xdgDataHome : "(unset)") +
                                  " HOME=" + (row.home ? row.home : "(unset)");
        EXPECT_EQ(location.path, path.lexically_normal()) << given;
        EXPECT_EQ(location.problem, row.problem) << given;
    }
}

} // namespace
