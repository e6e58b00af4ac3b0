// What a new user meets beyond the designed behaviour: Enter presses the
// focused button and calculates from the input fields, the report lines stay
// in view after long check listings, the date picker's calendar speaks
// Russian whatever the desktop's language (the test runs under the C
// locale), and every input has a name a screen reader can announce. Runs on
// a 1280 × 800 screen.
#include <QAccessible>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTimeEdit>
#include <QToolButton>

#include "app/birthplace_search_field.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

// Shown, with Moscow's coordinates typed and a birth moment.
struct ReadyWindows : StartedWindows {
    ReadyWindows() {
        mainWindow.DateTimePicker1->setDate(QDate(1990, 5, 17));
        mainWindow.DateTimePicker2->setTime(QTime(14, 30));
        mainWindow.Edit2->setText(QStringLiteral("55,7558"));
        mainWindow.Edit3->setText(QStringLiteral("37,6173"));
        mainWindow.show();
        mainWindow.activateWindow();
    }
};

} // namespace

class UsabilityTest : public QObject {
    Q_OBJECT

private slots:
    void enterInAnInputFieldCalculates_data();
    void enterInAnInputFieldCalculates();
    void enterPressesTheFocusedButton();
    void enterElsewhereDoesNotCalculate();
    void reportLinesStayInViewAfterTheListings();
    void calendarNamesAreRussianUnderAnyLocale();
    void everyInputHasAnAccessibleName();
};

void UsabilityTest::enterInAnInputFieldCalculates_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::newRow("latitude, Return") << "Edit2" << int(Qt::Key_Return);
    QTest::newRow("longitude, keypad Enter") << "Edit3" << int(Qt::Key_Enter);
    QTest::newRow("lunar day") << "Edit1" << int(Qt::Key_Return);
    QTest::newRow("offset spin box") << "CSpinEdit1" << int(Qt::Key_Return);
}

void UsabilityTest::enterInAnInputFieldCalculates() {
    QFETCH(QString, field);
    QFETCH(int, key);
    RecordingPresenter presenter;
    ReadyWindows windows;
    TForm1& w = windows.mainWindow;
    auto* widget = w.findChild<QWidget*>(field);
    QVERIFY(widget != nullptr);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key(key));
    QCOMPARE(presenter.errors, QStringList());
    QVERIFY2(w.RichEdit1->toPlainText().contains(QStringLiteral("лунный день")),
             qPrintable(w.RichEdit1->toPlainText()));
    QVERIFY(w.Button3->isEnabled());
}

void UsabilityTest::enterPressesTheFocusedButton() {
    RecordingPresenter presenter;
    ReadyWindows windows;
    TForm1& w = windows.mainWindow;

    w.Button1->setFocus();
    QTest::keyClick(w.Button1, Qt::Key_Return);
    QVERIFY(w.Button3->isEnabled());

    w.Button6->setFocus();
    QTest::keyClick(w.Button6, Qt::Key_Enter);
    QVERIFY(windows.pictureWindow.isVisible());
    QCOMPARE(windows.pictureWindow.windowTitle(), QStringLiteral("Оберег"));

    // "подставить" after a city with a zone: Moscow in May 1990 is four
    // hours east, this computer none.
    for (int i = 0; i < w.ComboBox1->count(); ++i) {
        if (w.ComboBox1->itemText(i).startsWith(QStringLiteral("Москва;"))) {
            w.ComboBox1->setCurrentIndex(i);
            break;
        }
    }
    QVERIFY(w.Button7->isVisible());
    w.Button7->setFocus();
    QTest::keyClick(w.Button7, Qt::Key_Return);
    QCOMPARE(w.CSpinEdit1->value(), 4);

    w.Button2->setFocus();
    QTest::keyClick(w.Button2, Qt::Key_Return);
    QVERIFY(!w.isVisible()); // "Выход" closed the window
    QCOMPARE(presenter.errors, QStringList());
}

// Enter where no calculation is meant: the check box, the birth date, the
// search field.
void UsabilityTest::enterElsewhereDoesNotCalculate() {
    RecordingPresenter presenter;
    ReadyWindows windows;
    TForm1& w = windows.mainWindow;
    for (QWidget* widget :
         std::initializer_list<QWidget*>{w.CheckBox1, w.DateTimePicker1, w.Edit4, w.RadioButton2}) {
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Return);
        QVERIFY2(w.RichEdit1->document()->isEmpty(), qPrintable(widget->objectName()));
    }
    QVERIFY(!w.CheckBox1->isChecked());
}

// Fourteen new moons and 41 moonrises come before the four report lines in
// an area of 137 pixels without scroll bars: the lines must be in view.
void UsabilityTest::reportLinesStayInViewAfterTheListings() {
    RecordingPresenter presenter;
    ReadyWindows windows;
    TForm1& w = windows.mainWindow;
    w.CheckBox1->setChecked(true);
    w.Button1->click();
    QCOMPARE(presenter.errors, QStringList());
    QTextDocument* document = w.RichEdit1->document();
    QVERIFY2(document->blockCount() > 50, qPrintable(QString::number(document->blockCount())));
    QCOMPARE(w.RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    const QRect visible = w.RichEdit1->viewport()->rect();
    const QTextBlock last = document->lastBlock();
    const QTextBlock firstReportLine = document->findBlockByNumber(document->blockCount() - 4);
    QVERIFY2(firstReportLine.text().contains(QStringLiteral("Период")) ||
                 !firstReportLine.text().trimmed().isEmpty(),
             qPrintable(firstReportLine.text()));
    for (const QTextBlock& block : {firstReportLine, last}) {
        QTextCursor at(block);
        at.movePosition(QTextCursor::EndOfBlock);
        const QRect where = w.RichEdit1->cursorRect(at);
        QVERIFY2(visible.contains(where), qPrintable(block.text()));
    }
    // The listings above are still there, a wheel turn away.
    QVERIFY(w.RichEdit1->verticalScrollBar()->value() > 0);
    QVERIFY(w.RichEdit1->toPlainText().startsWith(document->firstBlock().text()));
}

void UsabilityTest::calendarNamesAreRussianUnderAnyLocale() {
    QCOMPARE(QLocale::system().language(), QLocale::C); // LC_ALL=C.UTF-8
    ReadyWindows windows;
    TForm1& w = windows.mainWindow;
    QCalendarWidget* calendar = w.DateTimePicker1->calendarWidget();
    QVERIFY(calendar != nullptr);
    calendar->setCurrentPage(1985, 1);
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    QVERIFY(month != nullptr);
    QCOMPARE(month->text().toLower(), QStringLiteral("январь"));
    QCOMPARE(calendar->locale().dayName(1, QLocale::ShortFormat), QStringLiteral("пн"));
    QCOMPARE(calendar->firstDayOfWeek(), Qt::Monday);

    // Nothing else of the process changed: numbers and dates keep their
    // locale-proof conversions, Qt's default locale stays the system's.
    QCOMPARE(QLocale().language(), QLocale::C);
    QCOMPARE(w.DateTimePicker1->text(), QStringLiteral("17.05.1990"));
    QCOMPARE(w.CSpinEdit1->locale().language(), QLocale::C);
}

void UsabilityTest::everyInputHasAnAccessibleName() {
    ReadyWindows windows;
    TForm1& w = windows.mainWindow;
    const QList<QWidget*> inputs = {
        w.Button1,   w.Button2,      w.Button3,      w.Button4,         w.Button5,
        w.Button6,   w.Button7,      w.Edit1,        w.Edit2,           w.Edit3,
        w.Edit4,     w.CSpinEdit1,   w.ComboBox1,    w.DateTimePicker1, w.DateTimePicker2,
        w.CheckBox1, w.RadioButton1, w.RadioButton2, w.RichEdit1};
    for (QWidget* input : inputs) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(input);
        QVERIFY2(accessible != nullptr, qPrintable(input->objectName()));
        QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(input->objectName()));
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(w.Edit2)->text(QAccessible::Name),
             QStringLiteral("Широта"));
    QCOMPARE(QAccessible::queryAccessibleInterface(w.Edit3)->text(QAccessible::Name),
             QStringLiteral("Долгота"));
}

QTEST_MAIN(UsabilityTest)
#include "usability_test.moc"
