// What start-up sets on the application before the windows exist: Qt's own
// Russian texts for the standard buttons, the windows' font, and the test of
// the data files.
#pragma once

#include <string_view>

#include <QFont>

class QApplication;

namespace toravel {

// The application's names: "toravel" (its data folder) and its desktop
// entry, whose name «Торавель» desktops show for its windows. No display
// name: Qt would append it to every window's caption on X11, and the main
// window's caption is its own alone. Message boxes name the application
// themselves (ApplicationTitle).
void NameApplication();

// Loads and installs Qt's Russian translations ("OK" of the message boxes,
// the context menus of the edit fields). False when they are not installed;
// the application then goes on with Qt's English texts.
bool InstallRussianTranslations(QApplication& application);

// The windows' font: "MS Sans Serif" at 11 pixels (8 points at 96 dpi); where
// it is missing, Liberation Sans, whose metrics are close to it, before
// DejaVu Sans, so that the labels of fixed size do not clip.
QFont WindowFont();

// Whether the data file at a Windows-style path relative to the working
// directory exists as a file (a directory of that name does not count).
bool DataFileExists(std::string_view windowsPath);

} // namespace toravel
