// Торавель: start-up of the desktop application.
//
// The title, the test of the two data files (relative to the working
// directory), the main window with its start-up steps, the hidden picture
// window, then the event loop. A missing data file shows no message of its
// own: the application only ends by itself right after start-up.
//
// Exit status: 0 when the user ended the application; 1 when start-up could
// not run (a data file missing, the database unusable, an error that left
// start-up), each reason on standard error.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include <QApplication>
#include <QMetaObject>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/application_setup.h"
#include "app/message_presenter.h"
#include "app/paths.h"
#include "app/termination.h"
#include "lunar/working_stream.h"
#include "zoneinfo/system_zone_files.h"

namespace {

using namespace toravel;

std::string MissingFileReason(std::string_view windowsPath) {
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    return "нет файла данных " + std::string(windowsPath) + " в рабочем каталоге " +
           (error ? std::string("(неизвестен)") : directory.string());
}

void RunApplication(QApplication& application) {
    // The lunar calendar's working texts are not shown by the windows.
    SetLunarWorkingStream(&DiscardingStream());
    InstallRussianTranslations(application);
    NameApplication();

    if (!DataFileExists(paths::CityListFile))
        RequestTermination(MissingFileReason(paths::CityListFile));
    if (!DataFileExists(paths::DatabaseFile))
        RequestTermination(MissingFileReason(paths::DatabaseFile));

    TForm1 mainWindow;
    // Run after construction and inside its own catch: an error in the
    // start-up steps skips the rest of them, and the window is still
    // created and shown.
    mainWindow.FormCreate();

    TForm2 pictureWindow;
    mainWindow.SetPictureWindow(&pictureWindow);
    mainWindow.show();

    // Queued only now: a quit requested earlier would be lost, and one
    // queued before a modal message box would end that box's own loop
    // instead of this one.
    if (TerminationRequested()) {
        QMetaObject::invokeMethod(&application, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    QApplication::exec();
    mainWindow.SetPictureWindow(nullptr);
}

} // namespace

int main(int argc, char* argv[]) {
    UseSystemZoneFiles();
    QApplication application(argc, argv);
    try {
        RunApplication(application);
    } catch (const std::exception& error) {
        ShowCurrentException();
        RequestTermination(std::string("запуск прервала ошибка: ") + error.what());
    } catch (...) {
        ShowCurrentException();
        RequestTermination("запуск прервала ошибка");
    }
    if (!TerminationRequested())
        return 0;
    for (const std::string& reason : TerminationReasons())
        std::cerr << "toravel: " << reason << '\n';
    return 1;
}
