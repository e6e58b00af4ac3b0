// The main window's controls: names, kinds, bounds, captions, hints, tab
// order, ranges and start values, before and after start-up.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <QTimeEdit>
#include <QUrl>
#include <cmath>

#include "lunar/calculation_state.h"
#include "platform/tdatetime.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

QString TextOf(const QWidget* widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    return QString();
}

const QString BirthplaceHint = QStringLiteral(
    "Выберите населенный пункт из списка или если его нет - введите данные широты и долготы "
    "вручную");

// Stands in for the desktop's web browser.
class UrlCatcher : public QObject {
    Q_OBJECT

public slots:
    void open(const QUrl& url) { opened << url; }

public:
    QList<QUrl> opened;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void controls_data();
    void controls();
    void hints();
    void tabOrderAndFocus();
    void windowCaptionBorderAndFont();
    void designedValuesBeforeStartUp();
    void startValuesAfterStartUp();
    void edit1RefusesAThirdCharacter();
    void spinBoxStaysWithinTwelveHours();
    void linkOpensTheMakersPage();
};

void MainWindowTest::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("text");

    const QString form = QStringLiteral("Form1");
    const QString group = QStringLiteral("GroupBox1");
    auto row = [](const char* name, const char* kind, const QString& parent, QRect bounds,
                  const QString& text) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << parent
                            << bounds << text;
    };
    row("Button1", "QPushButton", form, {16, 24, 129, 33}, QStringLiteral("расчет"));
    row("Button3", "QPushButton", form, {687, 16, 129, 33}, QStringLiteral("Значение периода"));
    row("Button4", "QPushButton", form, {687, 67, 129, 33}, QStringLiteral("Оберегающий массаж"));
    row("Button5", "QPushButton", form, {687, 118, 129, 33}, QStringLiteral("Гимнастика"));
    row("Button6", "QPushButton", form, {688, 168, 129, 33}, QStringLiteral("Оберег"));
    row("DateTimePicker1", "QDateEdit", form, {289, 21, 81, 21}, QString());
    row("Button2", "QPushButton", form, {11, 472, 129, 33}, QStringLiteral("Выход"));
    row("DateTimePicker2", "QTimeEdit", form, {377, 21, 57, 21}, QString());
    row("Edit1", "QLineEdit", form, {395, 64, 27, 21}, QString());
    row("CSpinEdit1", "QSpinBox", form, {385, 112, 41, 22}, QString());
    row("GroupBox1", "QGroupBox", form, {465, 16, 177, 99},
        QStringLiteral("Географическое положение"));
    row("ComboBox1", "toravel::CityComboBox", group, {16, 18, 145, 21}, QString());
    row("Edit2", "QLineEdit", group, {65, 44, 57, 21}, QString());
    row("Edit3", "QLineEdit", group, {65, 68, 57, 21}, QString());
    row("CheckBox1", "QCheckBox", form, {8, 160, 177, 17},
        QStringLiteral("добавить даты для проверки"));
    row("RichEdit1", "QTextEdit", form, {8, 216, 817, 137}, QString());
    row("RadioButton1", "QRadioButton", form, {40, 88, 113, 17}, QStringLiteral("Мужской"));
    row("RadioButton2", "QRadioButton", form, {40, 112, 113, 17}, QStringLiteral("Женский"));
    row("Label1", "QLabel", form, {193, 20, 87, 26},
        QStringLiteral("на дату и время        рождения"));
    row("Label4", "QLabel", form, {195, 55, 170, 52},
        QStringLiteral("лунный день для рассчета, если  хотите исползьзовать собственный расчет "
                       "лунного дня (желательно по эфемеридам)"));
    row("Label2", "QLabel", form, {193, 110, 185, 25},
        QStringLiteral("разница в часах по времени места рождения с  гринвичем"));
}

void MainWindowTest::controls() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, parent);
    QFETCH(QRect, bounds);
    QFETCH(QString, text);

    TForm1 window;
    auto* control = window.findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), bounds);
    QCOMPARE(TextOf(control), text);
}

void MainWindowTest::hints() {
    TForm1 window;
    QCOMPARE(window.GroupBox1->toolTip(), BirthplaceHint);
    QCOMPARE(window.ComboBox1->toolTip(), BirthplaceHint);
    QCOMPARE(window.ComboBox1->maxVisibleItems(), 40);
    QVERIFY(!window.ComboBox1->isEditable());
    QCOMPARE(window.CheckBox1->toolTip(),
             QStringLiteral("Возможность посмотреть даты новолуний и восходов лун по которым "
                            "считается лунный день"));
    // The link: bold, a hand cursor, the address as caption and in its hint.
    QVERIFY(window.Label7->font().bold());
    QCOMPARE(window.Label7->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(window.Label7->text().startsWith(QStringLiteral("https://")));
    QCOMPARE(window.Label7->toolTip(), QStringLiteral("перейти на сайт ") + window.Label7->text());
    QCOMPARE(window.Label7->pos(), QPoint(815, 490));
    QCOMPARE(window.Label3->pos(), QPoint(824, 456));
    QCOMPARE(window.Label10->pos(), QPoint(193, 146));
    QCOMPARE(window.Label6->geometry(), QRect(404, 477, 539, 26));
    QCOMPARE(window.Label11->text(), QStringLiteral("Широта"));
    QCOMPARE(window.Label11->pos(), QPoint(12, 48));
    QCOMPARE(window.Label12->text(), QStringLiteral("Долгота"));
    QCOMPARE(window.Label12->pos(), QPoint(9, 72));
    // Every text fits: the link and the notice end inside the client area.
    QVERIFY(window.Label7->geometry().right() < window.width());
    QVERIFY(window.Label3->geometry().right() < window.width());
}

void MainWindowTest::tabOrderAndFocus() {
    TForm1 window;
    const QStringList expected = {
        "Button1", "Button3",         "Button4",   "Button5",      "Button6",     "DateTimePicker1",
        "Button2", "DateTimePicker2", "Edit1",     "CSpinEdit1",   "ComboBox1",   "Edit2",
        "Edit3",   "CheckBox1",       "RichEdit1", "RadioButton1", "RadioButton2"};
    QStringList seen;
    QWidget* widget = window.Button1;
    for (int step = 0; step < 200 && seen.size() < expected.size(); ++step) {
        if (expected.contains(widget->objectName()) && !seen.contains(widget->objectName())) {
            seen << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(seen, expected);
    QCOMPARE(window.focusWidget(), window.Button1);
    QVERIFY(window.RichEdit1->tabChangesFocus());
}

void MainWindowTest::windowCaptionBorderAndFont() {
    TForm1 window;
    QCOMPARE(window.windowTitle(),
             QStringLiteral("Составление Славянского гороскопа в Мире Прави"));
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(window.width() >= 943 && window.height() >= 505); // every control fits

    // "MS Sans Serif" is not on Linux; its stand-in has close metrics.
    const QFontInfo font(window.Button1->font());
    QVERIFY2(font.family() == "MS Sans Serif" || font.family() == "Liberation Sans",
             qPrintable(font.family()));
    QCOMPARE(font.pixelSize(), 11);
    QVERIFY(!window.Button1->font().bold());
}

void MainWindowTest::designedValuesBeforeStartUp() {
    TForm1 window;
    QCOMPARE(window.DateTimePicker1->date(), QDate(2017, 1, 3));
    QCOMPARE(window.DateTimePicker2->time(), QTime(0, 0));
    QCOMPARE(window.DateTimePicker1->displayFormat(), QStringLiteral("dd.MM.yyyy"));
    QCOMPARE(window.DateTimePicker2->displayFormat(), QStringLiteral("HH:mm"));
    QVERIFY(window.DateTimePicker1->calendarPopup());
    // Every year the new-moon search can take, and no more.
    QCOMPARE(window.DateTimePicker1->minimumDate(), QDate(2, 1, 1));
    QCOMPARE(window.DateTimePicker1->maximumDate(), QDate(9998, 12, 31));
    QCOMPARE(window.CSpinEdit1->minimum(), -12);
    QCOMPARE(window.CSpinEdit1->maximum(), 12);
    QCOMPARE(window.CSpinEdit1->singleStep(), 1);
    QCOMPARE(window.CSpinEdit1->value(), 0);
    QCOMPARE(window.Edit1->maxLength(), 2);
    QVERIFY(window.Edit1->alignment().testFlag(Qt::AlignRight));
    QVERIFY(window.RadioButton1->isChecked());
    QVERIFY(!window.RadioButton2->isChecked());
    QVERIFY(!window.CheckBox1->isChecked());
    QVERIFY(window.RichEdit1->document()->isEmpty());
    QCOMPARE(window.RichEdit1->frameShape(), QFrame::NoFrame);
    QCOMPARE(window.RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(window.RichEdit1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(window.RichEdit1->lineWrapMode(), QTextEdit::WidgetWidth);
    QVERIFY(!window.RichEdit1->isReadOnly());
}

void MainWindowTest::startValuesAfterStartUp() {
    RecordingPresenter presenter;
    const TDateTime before = Now();
    StartedWindows windows;
    const TDateTime after = Now();
    TForm1& window = windows.mainWindow;

    QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));
    QVERIFY(presenter.messages.isEmpty());
    QVERIFY(!TerminationRequested());

    for (QPushButton* button : {window.Button3, window.Button4, window.Button5, window.Button6}) {
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    }
    QVERIFY(window.Button1->isEnabled());
    QVERIFY(window.RichEdit1->document()->isEmpty());
    QVERIFY(window.Edit1->text().isEmpty());

    // The city list is loaded with nothing picked, so both fields are empty.
    QVERIFY(window.ComboBox1->count() > 0);
    QCOMPARE(window.ComboBox1->currentIndex(), -1);
    QVERIFY(window.Edit2->text().isEmpty());
    QVERIFY(window.Edit3->text().isEmpty());
    QVERIFY(window.Label10->text().startsWith(
        QStringLiteral("на компьютере разница по времени с гринвичем составляет ")));

    // Today, and the present minute (between the minutes read before and
    // after start-up): the picker shows hours and minutes, and seconds it
    // does not show are not calculated either (the start-up's seconds once
    // made 00:37 give another lunar day than 00:37 on the command line).
    const TDateTime picked = window.BirthDate() + window.BirthTime();
    const double minute = 1.0 / 1440;
    QVERIFY2(picked >= std::floor(before / minute) * minute - 1e-9 && picked <= after + 1e-9,
             qPrintable(QStringLiteral("%1 not in [%2, %3]")
                            .arg(picked, 0, 'f', 9)
                            .arg(before, 0, 'f', 9)
                            .arg(after, 0, 'f', 9)));
    QCOMPARE(window.DateTimePicker2->time().second(), 0);
    QCOMPARE(window.DateTimePicker2->time().msec(), 0);
    QCOMPARE(window.DateTimePicker2->displayFormat(), QStringLiteral("HH:mm"));
    QCOMPARE(window.DateTimePicker1->date(), QDate::currentDate());
}

void MainWindowTest::edit1RefusesAThirdCharacter() {
    TForm1 window;
    QTest::keyClicks(window.Edit1, QStringLiteral("123"));
    QCOMPARE(window.Edit1->text(), QStringLiteral("12"));
    QCOMPARE(window.LunarDayFieldText(), std::string("12"));
}

void MainWindowTest::spinBoxStaysWithinTwelveHours() {
    TForm1 window;
    window.CSpinEdit1->setValue(15);
    QCOMPARE(window.ZoneHoursText(), std::string("12"));
    window.CSpinEdit1->setValue(-15);
    QCOMPARE(window.ZoneHoursText(), std::string("-12"));
    // Typing beyond the range is refused digit by digit.
    window.CSpinEdit1->clear();
    QTest::keyClicks(window.CSpinEdit1, QStringLiteral("15"));
    QCOMPARE(window.CSpinEdit1->text(), QStringLiteral("1"));
}

void MainWindowTest::linkOpensTheMakersPage() {
    TForm1 window;
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    QTest::mouseClick(window.Label7, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(browser.opened, QList<QUrl>({QUrl(window.Label7->text())}));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
