// The window with input it should not choke on: a database that is damaged,
// sealed with another password or without table t at start-up, and birth
// dates at the ends of the picker's range and in the days the calendar skips.
#include <sqlite3.h>

#include <vector>

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "lunar/working_stream.h"
#include "storage/database.h"
#include "storage/database_file.h"
#include "tests/app/window_fixture.h"
#include "tools/build_database/database_builder.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

using Bytes = std::vector<unsigned char>;

const QString Damaged =
    QStringLiteral("Database file '.\\DB\\bd.mdb' is damaged or has been altered.");

// A working directory with the built city list and `database` as bd.mdb.
bool MakeDataDirectory(const QTemporaryDir& directory, const QByteArray& database) {
    const QDir root(directory.path());
    if (!root.mkpath(QStringLiteral("db")) ||
        !QFile::copy(BuildRoot() + QStringLiteral("/db/atlas.ini"),
                     root.filePath(QStringLiteral("db/atlas.ini"))))
        return false;
    QFile file(root.filePath(QStringLiteral("db/bd.mdb")));
    return file.open(QIODevice::WriteOnly) && file.write(database) == database.size();
}

QByteArray BuiltDatabase() {
    QFile file(BuildRoot() + QStringLiteral("/db/bd.mdb"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Sealed(const Bytes& image, const std::string& password) {
    const Bytes file = DatabaseFileOfImage(image, password);
    return QByteArray(reinterpret_cast<const char*>(file.data()),
                      static_cast<qsizetype>(file.size()));
}

// An SQLite image made by SQL, for shapes the builder never writes.
Bytes ImageOf(const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(db, "main", &size, 0);
    Bytes image(data, data + size);
    sqlite3_free(data);
    sqlite3_close(db);
    return image;
}

const std::string Password = ParseConnectionString(HoroscopeConnectionString).password;

} // namespace

class RobustnessTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetLunarWorkingStream(&DiscardingStream()); }
    void cleanupTestCase() { SetLunarWorkingStream(nullptr); }
    void unusableDatabaseAtStartUp_data();
    void unusableDatabaseAtStartUp();
    void programWithADamagedDatabaseEndsByItself();
    void datePickerOffersTheYearsTheSearchServes();
    void skippedDatesOf1582AreRefused();
};

void RobustnessTest::unusableDatabaseAtStartUp_data() {
    QTest::addColumn<QByteArray>("database");
    QTest::addColumn<QString>("error");

    const Bytes image = tools::BuildDatabaseImage({{5, 17, "b", "Первому"}}, {});
    QByteArray flipped = BuiltDatabase();
    QVERIFY(!flipped.isEmpty());
    // The last byte seals a page of the calendar, which start-up reads; a
    // picture's bytes are checked when the picture is shown.
    flipped[flipped.size() - 1] = static_cast<char>(flipped[flipped.size() - 1] ^ 0x01);

    QTest::newRow("one byte altered") << flipped << Damaged;
    // Before, start-up passed a damaged picture: its button failed later,
    // and every calculation after it. Start-up now checks every page.
    QByteArray picture = BuiltDatabase();
    picture[picture.size() / 2] = static_cast<char>(picture[picture.size() / 2] ^ 0x01);
    QTest::newRow("one byte of a picture altered") << picture << Damaged;
    QTest::newRow("truncated") << BuiltDatabase().left(1000) << Damaged;
    QTest::newRow("empty") << QByteArray() << Damaged;
    QTest::newRow("another password") << Sealed(image, "другой") << Damaged;
    QTest::newRow("no table t")
        << Sealed(ImageOf("CREATE TABLE other (Mont INTEGER, Day INTEGER);"), Password)
        << QStringLiteral("Table 't' not found in '.\\DB\\bd.mdb'"); // ends in a quote: no "."
}

// The data layer's message once, then the application ends by itself as
// when the table is not open: no window is left whose every button fails.
void RobustnessTest::unusableDatabaseAtStartUp() {
    QFETCH(QByteArray, database);
    QFETCH(QString, error);
    QTemporaryDir directory;
    QVERIFY(MakeDataDirectory(directory, database));

    RecordingPresenter presenter;
    StartedWindows windows(directory.path());
    QCOMPARE(presenter.errors, QStringList{error});
    QVERIFY(presenter.messages.isEmpty());
    QVERIFY(TerminationRequested());
    ResetTerminationRequest();
}

void RobustnessTest::programWithADamagedDatabaseEndsByItself() {
    QByteArray damaged = BuiltDatabase();
    damaged[100] = static_cast<char>(damaged[100] ^ 0x40);
    QTemporaryDir directory;
    QVERIFY(MakeDataDirectory(directory, damaged));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TORAVEL_TEST_ACKNOWLEDGE_MESSAGES"), QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(directory.path());
    program.start(QStringLiteral(TORAVEL_APP_BINARY), QStringList());
    QVERIFY(program.waitForStarted(10000));
    QVERIFY2(program.waitForFinished(30000), "the program did not end by itself");
    QCOMPARE(program.exitCode(), 1);
    const QString shown = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(shown.count(QStringLiteral("error: ")), 1);
    QVERIFY2(shown.contains(Damaged), qPrintable(shown));
    // The reason for the exit status, without the display's full stop.
    QVERIFY2(shown.contains(QStringLiteral("toravel: база данных не открылась: ") +
                            Damaged.chopped(1) + QStringLiteral("\n")),
             qPrintable(shown));
}

void RobustnessTest::datePickerOffersTheYearsTheSearchServes() {
    RecordingPresenter presenter;
    StartedWindows windows;
    QDateEdit& picker = *windows.mainWindow.DateTimePicker1;
    QCOMPARE(picker.minimumDate(), QDate(2, 1, 1));
    QCOMPARE(picker.maximumDate(), QDate(9998, 12, 31));

    // Both ends compute.
    windows.mainWindow.Edit2->setText(QStringLiteral("55,7558"));
    windows.mainWindow.Edit3->setText(QStringLiteral("37,6173"));
    for (const QDate& date : {QDate(2, 1, 1), QDate(9998, 12, 31)}) {
        picker.setDate(date);
        windows.mainWindow.Button1->click();
        QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));
        QVERIFY(!windows.mainWindow.RichEdit1->document()->isEmpty());
    }
    picker.setDate(QDate(1, 12, 31));
    QCOMPARE(picker.date(), QDate(2, 1, 1));
    picker.setDate(QDate(9999, 1, 1));
    QCOMPARE(picker.date(), QDate(9998, 12, 31));
}

void RobustnessTest::skippedDatesOf1582AreRefused() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& window = windows.mainWindow;
    window.Edit2->setText(QStringLiteral("55,7558"));
    window.Edit3->setText(QStringLiteral("37,6173"));
    window.DateTimePicker1->setDate(QDate(1582, 10, 10));
    window.Button1->click();
    QCOMPARE(presenter.errors,
             QStringList{QStringLiteral("'10.10.1582' is not a valid date and time.")});

    // The days on either side of the gap compute.
    for (const QDate& date : {QDate(1582, 10, 4), QDate(1582, 10, 15)}) {
        presenter.errors.clear();
        window.DateTimePicker1->setDate(date);
        window.Button1->click();
        QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));
        QVERIFY(!window.RichEdit1->document()->isEmpty());
    }
}

QTEST_MAIN(RobustnessTest)
#include "robustness_test.moc"
