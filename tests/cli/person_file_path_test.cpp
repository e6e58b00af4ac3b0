// toravel-cli's default person file is the window's: the same path as Qt's
// QStandardPaths::AppDataLocation for the application "toravel", whatever
// HOME and XDG_DATA_HOME say (the test sets them; nothing is created).
#include "cli/person_file_path.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <string>

namespace {

TEST(PersonFilePath, IsTheWindowsAppDataLocation) {
    int argc = 1;
    char name[] = "toravel";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("toravel"));
    const struct {
        const char* xdgDataHome; // nullptr: unset
        const char* home;
    } rows[] = {
        {nullptr, "/home/anna"},  {"", "/home/anna"},         {"/data", "/home/anna"},
        {"/data/", "/home/anna"}, {"relative", "/home/anna"}, {nullptr, ""},
        {nullptr, nullptr},
    };
    for (const auto& row : rows) {
        row.xdgDataHome ? ::setenv("XDG_DATA_HOME", row.xdgDataHome, 1)
                        : ::unsetenv("XDG_DATA_HOME");
        row.home ? ::setenv("HOME", row.home, 1) : ::unsetenv("HOME");
        const std::string qt =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() +
            "/people.sqlite";
        EXPECT_EQ(toravel::cli::DefaultPersonFilePath(), qt)
            << "XDG_DATA_HOME=" << (row.xdgDataHome ? row.xdgDataHome : "(unset)")
            << " HOME=" << (row.home ? row.home : "(unset)");
    }
}

} // namespace
