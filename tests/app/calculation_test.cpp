// A whole calculation through the main window: the inputs set on the
// controls, "расчет" pressed, and the report area read back paragraph by
// paragraph with its formats.
#include <QCheckBox>
#include <QColor>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>

#include "storage/horoscope_database.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

QString Blanks(int count) {
    return QString(count, QLatin1Char(' '));
}

// A report line: bold, of the given size in points and colour.
void VerifyReportFormat(const Paragraph& line, qreal points, QColor colour) {
    QVERIFY2(line.format.fontWeight() == QFont::Bold, qPrintable(line.text));
    QCOMPARE(line.format.fontPointSize(), points);
    QCOMPARE(line.format.foreground().color(), colour);
}

// A listing line: the emptied area's format, the window's font, black, not bold.
void VerifyDefaultFormat(const Paragraph& line) {
    QVERIFY2(line.format.fontWeight() != QFont::Bold, qPrintable(line.text));
    QCOMPARE(line.format.foreground().color(), QColor(0, 0, 0));
    QCOMPARE(line.format.property(QTextFormat::FontPixelSize).toInt(), 11);
    QVERIFY2(!line.format.hasProperty(QTextFormat::FontPointSize), qPrintable(line.text));
}

} // namespace

class CalculationTest : public QObject {
    Q_OBJECT

private slots:
    void typedLunarDay();
    void typedLunarDayIgnoresCoordinateTexts();
    void computedLunarDayWithListings();
    void conversionErrorEndsTheCommand();
    void dateSkippedByTheCalendarReformIsAnError();
    void timeCalculatedIsTheTimeShown();
};

// The time picker showed ЧЧ:ММ but kept the seconds of the program's start:
// Moscow 18.07.1990 00:37, the moonrise's minute, gave 26 in the window
// (00:37:12) and 25 on the command line, and people were saved with them.
void CalculationTest::timeCalculatedIsTheTimeShown() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& window = windows.mainWindow;
    window.show();
    window.DateTimePicker1->setDate(QDate(1990, 7, 18));
    QVERIFY(PickCity(window, QStringLiteral("Москва")));
    window.CSpinEdit1->setValue(4); // UTC+4:00, Moscow's summer time, on this Greenwich computer
    // Typed as after Tab, which selects the hours: digits fill section by section.
    window.DateTimePicker2->setFocus(Qt::TabFocusReason);
    window.DateTimePicker2->setSelectedSection(QDateTimeEdit::HourSection);
    QTest::keyClicks(window.DateTimePicker2, QStringLiteral("0037"));
    QCOMPARE(window.DateTimePicker2->time(), QTime(0, 37));
    QCOMPARE(Utf8(window.CurrentInputs().time), QStringLiteral("00:37"));
    QTest::mouseClick(window.Button1, Qt::LeftButton);
    QCOMPARE(presenter.errors, QStringList());
    QCOMPARE(window.RichEdit1->toPlainText().trimmed().split(QLatin1Char('\n')).last().trimmed(),
             QStringLiteral("25 лунный день")); // toravel-cli's

    // A time saved with seconds shows them, within the designed 57 pixels
    // (the arrows give way); one without shows none, and the arrows.
    const QLineEdit* shown = window.DateTimePicker2->findChild<QLineEdit*>();
    QVERIFY(shown != nullptr);
    for (const QString& time : {QStringLiteral("14:30:15"), QStringLiteral("14:30")}) {
        BirthInputs inputs = window.CurrentInputs();
        inputs.time = time.toStdString();
        window.SetInputs(inputs);
        QCOMPARE(window.DateTimePicker2->text(), time);
        QCOMPARE(Utf8(window.CalculationInputs().time), time);
        QVERIFY2(shown->fontMetrics().horizontalAdvance(time) <= shown->contentsRect().width(),
                 qPrintable(time));
    }
    QCOMPARE(window.DateTimePicker2->width(), 57);
    QCOMPARE(window.DateTimePicker2->buttonSymbols(), QAbstractSpinBox::UpDownArrows);
}

void CalculationTest::dateSkippedByTheCalendarReformIsAnError() {
    // The picker's calendar holds 5–14 October 1582; ours does not.
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& window = windows.mainWindow;
    window.DateTimePicker1->setDate(QDate(1582, 10, 10));
    window.Edit2->setText(QStringLiteral("55,75"));
    window.Edit3->setText(QStringLiteral("37,62"));

    QTest::mouseClick(window.Button1, Qt::LeftButton);

    QCOMPARE(presenter.errors.size(), 1);
    QCOMPARE(presenter.errors.front(),
             QStringLiteral("'10.10.1582' is not a valid date and time."));
}

void CalculationTest::typedLunarDay() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& window = windows.mainWindow;
    window.DateTimePicker1->setDate(QDate(1990, 5, 17));
    window.DateTimePicker2->setTime(QTime(14, 30));
    window.Edit2->setText(QStringLiteral("55,75"));
    window.Edit3->setText(QStringLiteral("37,62"));
    window.Edit1->setText(QStringLiteral("7"));
    window.CheckBox1->setChecked(true); // no listing without the astronomy

    QTest::mouseClick(window.Button1, Qt::LeftButton);

    QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));
    QVERIFY2(presenter.messages.isEmpty(), qPrintable(presenter.messages.join('\n')));
    const QVector<Paragraph> lines = ParagraphsOf(*window.RichEdit1);
    QCOMPARE(lines.size(), 4);

    QCOMPARE(lines[0].text,
             QStringLiteral(
                 " вы указали, что расчетная дата является 7 лунным днем, что соответствует "));
    VerifyReportFormat(lines[0], 12, QColor(0, 0, 0));

    const WorkingDirectory inBuildRoot(BuildRoot());
    HoroscopeDatabase database;
    const auto day = database.FindCalendarDay(5, 17);
    QVERIFY(day.has_value());
    QVERIFY2(lines[1].text.startsWith(Blanks(37) + QString::fromStdString(day->Krug) +
                                      QStringLiteral(" кругу ")),
             qPrintable(lines[1].text));
    VerifyReportFormat(lines[1], 16, QColor(255, 0, 0));

    QCOMPARE(lines[2].text, Blanks(52) + QStringLiteral("Славянского Мироздания"));
    VerifyReportFormat(lines[2], 12, QColor(0, 0, 0));
    QCOMPARE(lines[3].text, Blanks(49) + QStringLiteral("7 лунный день"));
    VerifyReportFormat(lines[3], 15, QColor(255, 0, 255));

    for (QPushButton* button : {window.Button3, window.Button4, window.Button5, window.Button6}) {
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    }
}

void CalculationTest::typedLunarDayIgnoresCoordinateTexts() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& window = windows.mainWindow;
    window.Edit2->setText(QStringLiteral("север"));
    window.Edit3->setText(QStringLiteral("юг"));
    window.Edit1->setText(QStringLiteral("-5"));
    window.Button1Click();
    QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));
    const QVector<Paragraph> lines = ParagraphsOf(*window.RichEdit1);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[3].text, Blanks(49) + QStringLiteral("-5 лунный день"));
}

// New moon 21.01.2023 20:53 UT; moonrises over Moscow 22.01 06:54 and 23.01
// 07:12 UT (PyEphem, no refraction): at 20:00 on the 23rd Moscow time (the
// birthplace three hours east of Greenwich, the computer in Greenwich time)
// the third lunar day is running.
void CalculationTest::computedLunarDayWithListings() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& window = windows.mainWindow;
    QVERIFY(PickCity(window, QStringLiteral("Москва")));
    window.DateTimePicker1->setDate(QDate(2023, 1, 23));
    window.DateTimePicker2->setTime(QTime(20, 0));
    window.CSpinEdit1->setValue(3);
    window.CheckBox1->setChecked(true);

    window.Button1Click();
    QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));
    QVERIFY2(presenter.messages.isEmpty(), qPrintable(presenter.messages.join('\n')));
    const QVector<Paragraph> first = ParagraphsOf(*window.RichEdit1);
    QVERIFY2(first.size() > 16 + 4, qPrintable(QString::number(first.size())));

    QCOMPARE(first[0].text, QStringLiteral("новолуния расчетного года"));
    QCOMPARE(first[15].text, QStringLiteral(" "));
    bool januaryNewMoon = false;
    for (int i = 1; i <= 14; ++i) {
        januaryNewMoon =
            januaryNewMoon || first[i].text.startsWith(QStringLiteral("21.01.2023 23:5"));
    }
    QVERIFY(januaryNewMoon);
    for (qsizetype i = 0; i < first.size() - 4; ++i)
        VerifyDefaultFormat(first[i]);

    const qsizetype report = first.size() - 4;
    QCOMPARE(first[report].text, Blanks(45) + QStringLiteral("расчетный период соответствует"));
    VerifyReportFormat(first[report], 12, QColor(0, 0, 0));
    QCOMPARE(first[report + 3].text, Blanks(49) + QStringLiteral("3 лунный день"));
    VerifyReportFormat(first[report + 3], 15, QColor(255, 0, 255));

    // A second run shows only its own lines, and its listings come out in
    // the emptied area's format, not in the last report line's magenta.
    window.Button1Click();
    const QVector<Paragraph> second = ParagraphsOf(*window.RichEdit1);
    QCOMPARE(second.size(), first.size());
    for (qsizetype i = 0; i < second.size(); ++i)
        QCOMPARE(second[i].text, first[i].text);
    for (qsizetype i = 0; i < second.size() - 4; ++i)
        VerifyDefaultFormat(second[i]);

    window.CheckBox1->setChecked(false);
    window.Button1Click();
    const QVector<Paragraph> third = ParagraphsOf(*window.RichEdit1);
    QCOMPARE(third.size(), 4);
    QCOMPARE(third[3].text, first[report + 3].text);
}

void CalculationTest::conversionErrorEndsTheCommand() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& window = windows.mainWindow;
    window.Edit2->setText(QStringLiteral("55,75"));
    window.Edit3->setText(QStringLiteral("37,62"));
    window.Edit1->setText(QStringLiteral("7"));
    window.Button1Click();
    QCOMPARE(ParagraphsOf(*window.RichEdit1).size(), 4);

    // A trailing blank is no integer: the error is shown at the handler's
    // edge, after the report area was emptied.
    window.Edit1->setText(QStringLiteral("7 "));
    window.Button1Click();
    QCOMPARE(presenter.errors, QStringList({QStringLiteral("'7 ' is not a valid integer value.")}));
    QVERIFY(window.RichEdit1->document()->isEmpty());
}

QTEST_MAIN(CalculationTest)
#include "calculation_test.moc"
