// The help beyond the designed window: the birthplace's tz offset under the
// offset spin box with its "подставить" button, and printing the report
// through the context menu of the report area. Runs on a computer in Moscow
// (TZ=Europe/Moscow), three hours east in January.
#include <QAction>
#include <QDate>
#include <QDateEdit>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <QTimeEdit>

#include <memory>

#include "app/report_printing.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

// A working directory with the built database and a city list of the given
// Windows-1251 bytes ("@" stands for the degree sign, B0).
bool MakeDataDirectory(const QTemporaryDir& directory, QByteArray cityList) {
    if (!QDir(directory.path()).mkpath(QStringLiteral("db")))
        return false;
    if (!QFile::copy(BuildRoot() + QStringLiteral("/db/bd.mdb"),
                     directory.filePath(QStringLiteral("db/bd.mdb")))) {
        return false;
    }
    cityList.replace('@', '\xB0');
    QFile file(directory.filePath(QStringLiteral("db/atlas.ini")));
    return file.open(QIODevice::WriteOnly) && file.write(cityList) == cityList.size();
}

// The text of the whole PDF, or of one page.
QString PdfText(const QString& path, int page = 0) {
    QStringList arguments = {QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    arguments << path << QStringLiteral("-");
    QProcess process;
    process.start(QStringLiteral(TORAVEL_PDFTOTEXT), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class ZoneHintPrintTest : public QObject {
    Q_OBJECT

private slots:
    void hintForMoscowInSummer1990();
    void hintFollowsTheBirthDate();
    void placesWithoutAUsableZone_data();
    void placesWithoutAUsableZone();
    void reportMenuOffersPrintingAndPdf();
    void savingToPdfWritesTheReport();
    void pdfStatesTheInputsOfTheCalculatedReport();
};

void ZoneHintPrintTest::hintForMoscowInSummer1990() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    QVERIFY(w.Label13->text().isEmpty());
    QVERIFY(!w.Button7->isEnabled());

    w.DateTimePicker1->setDate(QDate(1990, 7, 17));
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    QVERIFY2(w.Label13->text().contains(QStringLiteral("UTC+4:00 (летнее время)")),
             qPrintable(w.Label13->text()));
    QVERIFY2(w.Label13->text().contains(QStringLiteral("укажите 1")),
             qPrintable(w.Label13->text()));
    QCOMPARE(w.CSpinEdit1->value(), 0); // the hint alone changes nothing
    QVERIFY(w.Button7->isEnabled());

    QTest::mouseClick(w.Button7, Qt::LeftButton);
    QCOMPARE(w.CSpinEdit1->value(), 1);
    QCOMPARE(presenter.errors, QStringList());
}

void ZoneHintPrintTest::hintFollowsTheBirthDate() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    w.DateTimePicker1->setDate(QDate(1990, 7, 17));
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    w.DateTimePicker1->setDate(QDate(1990, 1, 17));
    QVERIFY2(w.Label13->text().contains(QStringLiteral("UTC+3:00 (зимнее время)")),
             qPrintable(w.Label13->text()));
    QVERIFY2(w.Label13->text().contains(QStringLiteral("укажите 0")),
             qPrintable(w.Label13->text()));
    w.DateTimePicker1->setDate(QDate(2012, 7, 17));
    QVERIFY2(w.Label13->text().contains(QStringLiteral("UTC+4:00; для расчёта укажите 1")),
             qPrintable(w.Label13->text()));
    // A day the calendar reform skipped: no hint, and no error until the
    // calculation is asked for.
    w.DateTimePicker1->setDate(QDate(1582, 10, 10));
    QCOMPARE(w.Label13->text(), QString());
    QVERIFY(!w.Button7->isEnabled());
    QCOMPARE(presenter.errors, QStringList());
}

void ZoneHintPrintTest::placesWithoutAUsableZone_data() {
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("hint");
    // Without a zone of its own and out at sea: no atlas place is near.
    QTest::newRow("no zone field") << "Nowhere"
                                   << "";
    QTest::newRow("unknown zone") << "Atlantis"
                                  << "часовой пояс места рождения «Atlantic/Atlantis» неизвестен";
    QTest::newRow("too far for the spin box")
        << "Honolulu"
        << "для расчёта нужно -13, а поле принимает от -12 до 12";
}

void ZoneHintPrintTest::placesWithoutAUsableZone() {
    QFETCH(QString, city);
    QFETCH(QString, hint);
    QTemporaryDir directory;
    QVERIFY(MakeDataDirectory(directory, "Nowhere;0@0';-30@0'\r\n"
                                         "Atlantis;10@0';20@0';Atlantic/Atlantis\r\n"
                                         "Honolulu;21@3069';-157@8583';Pacific/Honolulu\r\n"));
    RecordingPresenter presenter;
    StartedWindows windows(directory.path());
    TForm1& w = windows.mainWindow;
    w.DateTimePicker1->setDate(QDate(1990, 7, 17));
    QVERIFY(PickCity(w, city));
    if (hint.isEmpty())
        QCOMPARE(w.Label13->text(), QString());
    else
        QVERIFY2(w.Label13->text().contains(hint), qPrintable(w.Label13->text()));
    QVERIFY(!w.Button7->isEnabled());
    QCOMPARE(w.Edit2->text().isEmpty(),
             false); // the coordinates are filled as ever
    QCOMPARE(presenter.errors, QStringList());
}

void ZoneHintPrintTest::reportMenuOffersPrintingAndPdf() {
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    const std::unique_ptr<QMenu> menu(w.CreateReportMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    QVERIFY2(texts.contains(QStringLiteral("Печать…")), qPrintable(texts.join(u'|')));
    QVERIFY2(texts.contains(QStringLiteral("Сохранить в PDF…")), qPrintable(texts.join(u'|')));
    QCOMPARE(w.PrintAction->shortcut(), QKeySequence(QKeySequence::Print));
    QCOMPARE(QKeySequence(QKeySequence::Print), QKeySequence(QStringLiteral("Ctrl+P")));
}

void ZoneHintPrintTest::savingToPdfWritesTheReport() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("report.pdf"));
    SetPdfPathChooser([path](QWidget*) { return path; });

    // Nothing to print before a calculation: said so, no file.
    w.SavePdfAction->trigger();
    QVERIFY(!QFile::exists(path));
    QCOMPARE(presenter.messages.size(), 1);

    w.DateTimePicker1->setDate(QDate(1990, 5, 17));
    w.DateTimePicker2->setTime(QTime(14, 30));
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    QTest::mouseClick(w.Button7,
                      Qt::LeftButton); // 4 hours east less the computer's 3
    QCOMPARE(w.CSpinEdit1->value(), 1);
    w.Button1Click();
    w.SavePdfAction->trigger();
    QCOMPARE(presenter.errors, QStringList());
    QVERIFY(QFile::exists(path));

    // With the pictures: the woman's amulet comes last, on page 5.
    const QString withPictures = directory.filePath(QStringLiteral("pictures.pdf"));
    SetPdfPathChooser([withPictures](QWidget*) { return withPictures; });
    w.RadioButton2->setChecked(true);
    w.PicturesAction->setChecked(true);
    w.SavePdfAction->trigger();
    SetPdfPathChooser({});
    QCOMPARE(presenter.errors, QStringList());
    QVERIFY2(PdfText(withPictures, 5).contains(QStringLiteral("Оберег")),
             qPrintable(PdfText(withPictures, 5)));
    QVERIFY(PdfText(withPictures, 6).isEmpty()); // no sixth page
    // The sex the report was calculated for, not the one chosen since.
    QVERIFY(PdfText(withPictures).contains(QStringLiteral("Пол: мужской")));

    const QString text = PdfText(path);
    for (const char* expected :
         {"Дата рождения: 17.05.1990", "Время рождения: 14:30",
          "Москва (широта 55,7558, долгота 37,6173)",
          // The clock the calculation ran on, and the field's hours as what
          // they are (the print named them the offset from Greenwich).
          "Часы расчёта: UTC+4:00", "Разница в часах с поясом компьютера (UTC+3:00): 1",
          "UTC+4:00 (летнее время)", "Славянского Мироздания", "22 лунный день"}) {
        QVERIFY2(text.contains(QString::fromUtf8(expected)),
                 qPrintable(QString::fromUtf8(expected) + QStringLiteral("\n") + text));
    }
}

// The inputs changed after "расчет" and before saving: the PDF still states
// the birth the report was calculated for, never the new inputs beside the
// old result.
void ZoneHintPrintTest::pdfStatesTheInputsOfTheCalculatedReport() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("report.pdf"));
    SetPdfPathChooser([path](QWidget*) { return path; });

    w.DateTimePicker1->setDate(QDate(1985, 1, 15));
    w.DateTimePicker2->setTime(QTime(12, 30));
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    w.Button1Click();
    const QString result = w.RichEdit1->toPlainText();

    w.DateTimePicker1->setDate(QDate(2000, 1, 1));
    w.DateTimePicker2->setTime(QTime(6, 5));
    w.RadioButton2->setChecked(true);
    w.CSpinEdit1->setValue(5);
    w.Edit2->setText(QStringLiteral("55,03"));
    w.Edit3->setText(QStringLiteral("82,92"));
    w.SavePdfAction->trigger();
    SetPdfPathChooser({});
    QCOMPARE(presenter.errors, QStringList());
    QCOMPARE(w.RichEdit1->toPlainText(), result); // nothing recalculated

    const QString text = PdfText(path);
    for (const char* expected :
         {"Дата рождения: 15.01.1985", "Время рождения: 12:30",
          "Москва (широта 55,7558, долгота 37,6173)", "Часы расчёта: UTC+3:00",
          "Разница в часах с поясом компьютера (UTC+3:00): 0", "в месте рождения UTC+3:00",
          "Пол: мужской"}) {
        QVERIFY2(text.contains(QString::fromUtf8(expected)),
                 qPrintable(QString::fromUtf8(expected) + QStringLiteral("\n") + text));
    }
    for (const char* unexpected : {"01.01.2000", "06:05", "82,92", "Новосибирск", "женский"}) {
        QVERIFY2(!text.contains(QString::fromUtf8(unexpected)),
                 qPrintable(QString::fromUtf8(unexpected) + QStringLiteral("\n") + text));
    }
}

QTEST_MAIN(ZoneHintPrintTest)
#include "zone_hint_print_test.moc"
