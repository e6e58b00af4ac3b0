// Start-up: the standard error display, the window's start-up steps with and
// without the data files, Qt's Russian button texts, and the real program
// ending by itself when it is started without db/.
#include <stdexcept>

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "app/application_setup.h"
#include "lunar/calculation_state.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void errorDisplayText_data();
    void errorDisplayText();
    void handlersStopEveryException();
    void messageBoxes_data();
    void messageBoxes();
    void russianStandardButtons();
    void dataFileTestIgnoresDirectories();
    void startUpWithoutDatabaseSkipsTheRest();
    void startUpWithoutCityListSkipsTheRest();
    void programWithoutDataEndsByItself();
    void programWithDataKeepsRunning();
};

void StartupTest::errorDisplayText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Latin letter") << "'7 ' is not a valid integer value"
                                  << "'7 ' is not a valid integer value.";
    QTest::newRow("Cyrillic letter, last byte above 0x7F") << "нет данных"
                                                           << "нет данных.";
    QTest::newRow("full stop kept") << "Готово."
                                    << "Готово.";
    QTest::newRow("apostrophe sorts before the full stop") << "Field 'x' not found'"
                                                           << "Field 'x' not found'";
    QTest::newRow("exclamation mark sorts before") << "Стоп!"
                                                   << "Стоп!";
    QTest::newRow("hyphen sorts before") << "a-"
                                         << "a-";
    QTest::newRow("slash sorts after") << "a/"
                                       << "a/.";
    QTest::newRow("digit sorts after") << "10"
                                       << "10.";
    QTest::newRow("empty stays empty") << ""
                                       << "";
}

void StartupTest::errorDisplayText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(ErrorDisplayText(message.toStdString())), shown);
}

void StartupTest::handlersStopEveryException() {
    RecordingPresenter presenter;
    RunHandler([] { throw std::runtime_error("Cannot open file .\\db\\atlas.ini"); });
    RunHandler([] { throw 42; }); // a kind of exception that carries no message
    bool ran = false;
    RunHandler([&] { ran = true; });
    QVERIFY(ran);
    QCOMPARE(presenter.errors,
             QStringList({QStringLiteral("Cannot open file .\\db\\atlas.ini."), QString()}));
    QVERIFY(presenter.messages.isEmpty());
}

void StartupTest::messageBoxes_data() {
    QTest::addColumn<bool>("error");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("shown");
    QTest::newRow("message") << false << int(QMessageBox::NoIcon) << "нет данных о широте";
    QTest::newRow("error display")
        << true << int(QMessageBox::Critical) << "'x' is not a valid integer value.";
}

// The real boxes: modal, the title as caption, one OK button, the icon.
void StartupTest::messageBoxes() {
    QFETCH(bool, error);
    QFETCH(int, icon);
    QFETCH(QString, shown);
    QString caption;
    QString text;
    int shownIcon = -1;
    int buttons = 0;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        caption = box->windowTitle();
        text = box->text();
        shownIcon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        modal = box->isModal();
        box->accept();
    });
    if (error) {
        ShowErrorDisplay("'x' is not a valid integer value");
    } else {
        Presenter().ShowMessage(shown);
    }
    QCOMPARE(caption, QStringLiteral("Торавель"));
    QCOMPARE(text, shown);
    QCOMPARE(shownIcon, icon);
    QCOMPARE(buttons, 1);
    QVERIFY(modal);
}

void StartupTest::russianStandardButtons() {
    QVERIFY(InstallRussianTranslations(*qApp));
    // Russian keeps "OK" as it is; a button it does translate shows the
    // translations are in use.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Торавель"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    const QString cancel = box.button(QMessageBox::Cancel)->text();
    QVERIFY2(cancel.contains(QStringLiteral("Отмена")), qPrintable(cancel));
}

void StartupTest::dataFileTestIgnoresDirectories() {
    QTemporaryDir directory;
    QVERIFY(QDir(directory.path()).mkpath(QStringLiteral("db/atlas.ini")));
    QFile database(directory.filePath(QStringLiteral("db/bd.mdb")));
    QVERIFY(database.open(QIODevice::WriteOnly));
    database.close();
    const WorkingDirectory inDirectory(directory.path());
    QVERIFY(!DataFileExists(".\\db\\atlas.ini"));
    QVERIFY(DataFileExists(".\\db\\bd.mdb"));
    QVERIFY(DataFileExists(".\\DB\\bd.mdb")); // the connection string's spelling
}

void StartupTest::startUpWithoutDatabaseSkipsTheRest() {
    RecordingPresenter presenter;
    QTemporaryDir elsewhere;
    StartedWindows windows(elsewhere.path());
    const TForm1& window = windows.mainWindow;

    // One error, then nothing more: the buttons keep their designed state,
    // the list, the offset label and both pickers their designed values.
    QCOMPARE(presenter.errors.size(), 1);
    QVERIFY2(presenter.errors.front().contains(QStringLiteral("bd.mdb")),
             qPrintable(presenter.errors.front()));
    QVERIFY(presenter.messages.isEmpty());
    QVERIFY(window.Button3->isEnabled());
    QCOMPARE(window.ComboBox1->count(), 0);
    QVERIFY(window.Label10->text().isEmpty());
    QCOMPARE(window.DateTimePicker1->date(), QDate(2017, 1, 3));
    QCOMPARE(window.DateTimePicker2->time(), QTime(0, 0));
    QVERIFY(window.RichEdit1->document()->isEmpty());
}

void StartupTest::startUpWithoutCityListSkipsTheRest() {
    RecordingPresenter presenter;
    QTemporaryDir directory;
    QVERIFY(QDir(directory.path()).mkpath(QStringLiteral("db")));
    QVERIFY(QFile::copy(BuildRoot() + QStringLiteral("/db/bd.mdb"),
                        directory.filePath(QStringLiteral("db/bd.mdb"))));
    SharedCalculationState().ComputerZoneOffset = 0;
    StartedWindows windows(directory.path());
    const TForm1& window = windows.mainWindow;

    QCOMPARE(presenter.errors.size(), 1);
    QVERIFY2(presenter.errors.front().startsWith(QStringLiteral("Cannot open file ")),
             qPrintable(presenter.errors.front()));
    QVERIFY(!window.Button3->isEnabled()); // disabled before the list is loaded
    QVERIFY(window.Label10->text().isEmpty());
    QCOMPARE(SharedCalculationState().ComputerZoneOffset, 0.0);
    QCOMPARE(window.DateTimePicker1->date(), QDate(2017, 1, 3));
}

namespace {

// The real program, started in `directory` with its message boxes
// acknowledged as soon as they are up (the test hook of the presenter).
void StartProgram(QProcess& program, const QString& directory) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TORAVEL_TEST_ACKNOWLEDGE_MESSAGES"), QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(directory);
    program.start(QStringLiteral(TORAVEL_APP_BINARY), QStringList());
}

} // namespace

void StartupTest::programWithoutDataEndsByItself() {
    QTemporaryDir elsewhere;
    QProcess program;
    StartProgram(program, elsewhere.path());
    QVERIFY(program.waitForStarted(10000));
    QVERIFY2(program.waitForFinished(30000), "the program did not end by itself");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    // A start-up that could not run is no success: a launcher or a script
    // can tell it by the status and read why.
    QCOMPARE(program.exitCode(), 1);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    // The failure to open the database was shown (and acknowledged) first.
    QVERIFY2(errors.contains(QStringLiteral("error: ")), qPrintable(errors));
    for (const QString& file :
         {QStringLiteral(".\\db\\atlas.ini"), QStringLiteral(".\\db\\bd.mdb")}) {
        QVERIFY2(errors.contains(QStringLiteral("toravel: нет файла данных ") + file +
                                 QStringLiteral(" в рабочем каталоге ")),
                 qPrintable(errors));
    }
}

void StartupTest::programWithDataKeepsRunning() {
    QProcess program;
    StartProgram(program, BuildRoot());
    QVERIFY(program.waitForStarted(10000));
    const bool ended = program.waitForFinished(1500);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    program.kill();
    program.waitForFinished(10000);
    QVERIFY2(!ended, qPrintable(errors));
    QVERIFY2(!errors.contains(QStringLiteral("error: ")) &&
                 !errors.contains(QStringLiteral("message: ")),
             qPrintable(errors));
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
