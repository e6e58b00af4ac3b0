// The birthplace group and the computer's offset: the three messages of a
// missing birthplace, picking a city from a list file of our own, typed
// coordinates overwritten when the list closes, and Label10.
#include <cstdlib>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "lunar/calculation_state.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

// A working directory with the built database and a city list of the given
// Windows-1251 bytes.
bool MakeDataDirectory(const QTemporaryDir& directory, const QByteArray& cityList) {
    if (!QDir(directory.path()).mkpath(QStringLiteral("db")))
        return false;
    if (!QFile::copy(BuildRoot() + QStringLiteral("/db/bd.mdb"),
                     directory.filePath(QStringLiteral("db/bd.mdb")))) {
        return false;
    }
    QFile file(directory.filePath(QStringLiteral("db/atlas.ini")));
    return file.open(QIODevice::WriteOnly) && file.write(cityList) == cityList.size();
}

// The city list as Windows-1251 bytes: "@" stands for the degree sign, B0.
QByteArray TestCityList() {
    QByteArray lines = "Moscow;55@45';37@37'\r\n"
                       " Blanks ; 55@45' ; 37@37' \r\n"
                       "Twice;;55@45';37@37'\r\n"
                       ";55@45';37@37'\r\n"
                       "NoSeparator\r\n"
                       "\r\n"
                       "NoMinuteSign;55@45;55\r\n";
    return lines.replace('@', '\xB0');
}

} // namespace

class BirthplaceTest : public QObject {
    Q_OBJECT

private slots:
    void missingBirthplace_data();
    void missingBirthplace();
    void pickingACity_data();
    void pickingACity();
    void closingTheListOverwritesTypedCoordinates();
    void computerOffset();
};

void BirthplaceTest::missingBirthplace_data() {
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::addColumn<QString>("message");
    QTest::newRow("both empty") << ""
                                << ""
                                << "нет географических данных";
    QTest::newRow("both blank") << "  "
                                << "\t"
                                << "нет географических данных";
    QTest::newRow("latitude blank") << " "
                                    << "37,62"
                                    << "нет данных о широте";
    QTest::newRow("longitude blank") << "55,75"
                                     << ""
                                     << "нет данных о долготе";
}

void BirthplaceTest::missingBirthplace() {
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    QFETCH(QString, message);
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& window = windows.mainWindow;
    window.Edit2->setText(QStringLiteral("55,75"));
    window.Edit3->setText(QStringLiteral("37,62"));
    window.Edit1->setText(QStringLiteral("7"));
    window.Button1Click();
    const QVector<Paragraph> before = ParagraphsOf(*window.RichEdit1);
    QCOMPARE(before.size(), 4);

    // The message, and nothing else: the report stays as it was.
    window.Edit2->setText(latitude);
    window.Edit3->setText(longitude);
    window.Button1Click();
    QCOMPARE(presenter.messages, QStringList({message}));
    QVERIFY(presenter.errors.isEmpty());
    const QVector<Paragraph> after = ParagraphsOf(*window.RichEdit1);
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < after.size(); ++i)
        QCOMPARE(after[i].text, before[i].text);
}

void BirthplaceTest::pickingACity_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::newRow("degrees and minutes") << 0 << "55,45"
                                         << "37,37";
    QTest::newRow("blanks around the fields") << 1 << "55,45"
                                              << "37,37";
    QTest::newRow("two separators count as one") << 2 << "55,45"
                                                 << "37,37";
    QTest::newRow("leading separator skipped") << 3 << "37,37"
                                               << "";
    QTest::newRow("no separator") << 4 << ""
                                  << "";
    QTest::newRow("empty line") << 5 << ""
                                << "";
    QTest::newRow("no minute sign, no degree sign") << 6 << "55,45"
                                                    << "55";
}

void BirthplaceTest::pickingACity() {
    QFETCH(int, index);
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    RecordingPresenter presenter;
    QTemporaryDir directory;
    QVERIFY(MakeDataDirectory(directory, TestCityList()));
    StartedWindows windows(directory.path());
    TForm1& window = windows.mainWindow;
    QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));

    // Every line is an entry, the empty one too, in file order.
    QCOMPARE(window.ComboBox1->count(), 7);
    QCOMPARE(window.ComboBox1->itemText(0), QStringLiteral("Moscow;55°45';37°37'"));
    QCOMPARE(window.ComboBox1->itemText(5), QString());
    QCOMPARE(window.ComboBox1->currentIndex(), -1);

    // Start from another entry, so that picking this one is a change.
    window.ComboBox1->setCurrentIndex(index == 0 ? 1 : 0);
    window.ComboBox1->setCurrentIndex(index);
    QCOMPARE(window.Edit2->text(), latitude);
    QCOMPARE(window.Edit3->text(), longitude);
}

void BirthplaceTest::closingTheListOverwritesTypedCoordinates() {
    RecordingPresenter presenter;
    QTemporaryDir directory;
    QVERIFY(MakeDataDirectory(directory, TestCityList()));
    StartedWindows windows(directory.path());
    TForm1& window = windows.mainWindow;
    window.ComboBox1->setCurrentIndex(0);
    window.Edit2->setText(QStringLiteral("10,5"));
    window.Edit3->setText(QStringLiteral("20,5"));

    // Opening and closing the list without a new pick.
    window.show();
    window.ComboBox1->showPopup();
    window.ComboBox1->hidePopup();
    QCOMPARE(window.Edit2->text(), QStringLiteral("55,45"));
    QCOMPARE(window.Edit3->text(), QStringLiteral("37,37"));
}

// Run once per time zone (CTest sets TZ for each process).
void BirthplaceTest::computerOffset() {
    struct Expected {
        const char* zone;
        const char* shown;
        double days;
    };
    const Expected table[] = {
        {"UTC", "0:00:00", 0.0},
        {"Europe/Moscow", "+ 3:00:00", 0.125},
        {"America/New_York", "- 5:00:00", -5.0 / 24.0},
        {"Asia/Kolkata", "+ 5:30:00", 5.5 / 24.0},
    };
    const QString zone = QString::fromLocal8Bit(std::getenv("TZ"));
    const Expected* expected = nullptr;
    for (const Expected& row : table) {
        if (zone == QLatin1String(row.zone))
            expected = &row;
    }
    if (expected == nullptr)
        QSKIP("no expected offset for this time zone");

    RecordingPresenter presenter;
    StartedWindows windows;
    QCOMPARE(windows.mainWindow.Label10->text(),
             QStringLiteral("на компьютере разница по времени с гринвичем составляет ") +
                 QString::fromUtf8(expected->shown));
    QCOMPARE(SharedCalculationState().ComputerZoneOffset, expected->days);
}

QTEST_MAIN(BirthplaceTest)
#include "birthplace_test.moc"
