// Торавель: start-up of the desktop application.
//
// The title, the test of the two data files (relative to the working
// directory), the main window with its start-up steps, the hidden picture
// window, then the event loop. A missing data file shows no message of its
// own: the application only ends by itself right after start-up.
#include <QApplication>
#include <QMetaObject>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/application_setup.h"
#include "app/message_presenter.h"
#include "app/paths.h"
#include "app/termination.h"
#include "lunar/working_stream.h"

int main(int argc, char* argv[]) {
    using namespace toravel;

    QApplication application(argc, argv);
    RunHandler([&application] {
        // The lunar calendar's working texts are not shown by the windows.
        SetLunarWorkingStream(&DiscardingStream());
        InstallRussianTranslations(application);
        QApplication::setApplicationName(QStringLiteral("toravel"));
        QApplication::setApplicationDisplayName(QString::fromUtf8(
            ApplicationTitle.data(), static_cast<qsizetype>(ApplicationTitle.size())));

        if (!DataFileExists(paths::CityListFile))
            RequestTermination();
        if (!DataFileExists(paths::DatabaseFile))
            RequestTermination();

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
    });
    return 0;
}
