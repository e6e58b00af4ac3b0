// «Лунный календарь»: the month window opened from the main window for the
// birthplace in its fields, its table against the month's calendar, the
// navigation by buttons and keys, its size, and the month saved as a PDF.
// Runs on a computer in Moscow (TZ=Europe/Moscow); "now" is fixed at
// 10 December 2026, 09:00 UTC unless a test says otherwise.
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/month_printing.h"
#include "app/month_window.h"
#include "app/table_calendar_days.h"
#include "platform/conversions.h"
#include "storage/database.h"
#include "tests/app/scripted_presenter.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

std::int64_t UniversalSecond(int year, int month, int day, int hour) {
    return static_cast<std::int64_t>(EncodeDateTime(year, month, day)) * 86400 + hour * 3600;
}

const std::int64_t TenthOfDecember2026 = UniversalSecond(2026, 12, 10, 9);

// Table t of the build tree's database, as the main window reads it.
struct CalendarDays {
    DatabaseConnection connection{std::string(HoroscopeConnectionString)};
    TableCursor table{connection};
    TableCalendarDays lookup{[this]() -> TableCursor& { return table; }};
};

MonthPlace Moscow() {
    MonthPlace place;
    place.place = {55.7558, 37.6173, "Europe/Moscow", 0};
    place.title = "Москва, часовой пояс Europe/Moscow";
    place.name = "Москва";
    return place;
}

// The text of a PDF and its number of pages, read back with poppler.
QString RunPoppler(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class MonthWindowTest : public QObject {
    Q_OBJECT

private slots:
    void withoutABirthplaceItSaysWhatIsMissing();
    void opensForThePickedCityAtTodaysMonth();
    void tableShowsTheMonthsCalendar();
    void navigatesByButtons();
    void navigatesByKeys();
    void stopsAtTheCalendarsFirstAndLastMonth();
    void typedCoordinatesFarFromAnyPlaceUseAFixedClock();
    void resizesDownToItsMinimum();
    void savesTheMonthAsAnA4Pdf();
    void proposedFileNameNamesThePlace();
};

void MonthWindowTest::withoutABirthplaceItSaysWhatIsMissing() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    w.MonthCalendarButtonClick();
    w.Edit2->setText(QStringLiteral("55,75"));
    w.MonthCalendarButtonClick();
    w.Edit2->clear();
    w.Edit3->setText(QStringLiteral("37,62"));
    w.MonthCalendarButtonClick();
    QCOMPARE(presenter.messages, QStringList({QStringLiteral("нет географических данных"),
                                              QStringLiteral("нет данных о долготе"),
                                              QStringLiteral("нет данных о широте")}));
    QVERIFY(w.MonthCalendarWindow() == nullptr);

    // Text that is no number: the calculation's error; off the Earth: its message.
    w.Edit2->setText(QStringLiteral("5x"));
    w.MonthCalendarButtonClick();
    QCOMPARE(presenter.errors,
             QStringList(QStringLiteral("'5x' is not a valid floating point value.")));
    w.Edit2->setText(QStringLiteral("95"));
    w.MonthCalendarButtonClick();
    QCOMPARE(presenter.messages.last(), QStringLiteral("неверные географические данные"));
    QVERIFY(w.MonthCalendarWindow() == nullptr || !w.MonthCalendarWindow()->isVisible());
}

void MonthWindowTest::opensForThePickedCityAtTodaysMonth() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    QTest::mouseClick(w.MonthCalendarButton, Qt::LeftButton);
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
    MonthWindow* month = w.MonthCalendarWindow();
    QVERIFY(month != nullptr && month->isVisible());
    QCOMPARE(month->PlaceLabel->text(), QStringLiteral("Москва, часовой пояс Europe/Moscow"));
    QVERIFY(month->windowTitle().contains(QStringLiteral("Москва")));
    // Today's month in Moscow, today's row selected.
    const QDate today = QDateTime::currentDateTimeUtc().addSecs(3 * 3600).date();
    QCOMPARE(month->Month(), (CalendarMonth{today.year(), today.month()}));
    QCOMPARE(month->Days->rowCount(), today.daysInMonth());
    QVERIFY(month->Table().todayRow);
    QCOMPARE(month->Days->currentRow(), today.day() - 1);
    QVERIFY(!month->NowLabel->text().isEmpty());

    // Pressed again for another place, the same window shows that one.
    QVERIFY(PickCity(w, QStringLiteral("Новосибирск")));
    w.MonthCalendarButtonClick();
    QCOMPARE(w.MonthCalendarWindow(), month);
    QVERIFY(month->PlaceLabel->text().startsWith(QStringLiteral("Новосибирск")));

    // Closing the main window closes it too: the program ends.
    w.show();
    w.Button2Click();
    QVERIFY(!month->isVisible());
}

void MonthWindowTest::tableShowsTheMonthsCalendar() {
    RecordingPresenter presenter;
    CalendarDays database;
    MonthWindow window(database.lookup);
    window.SetClock([] { return TenthOfDecember2026; });
    window.ShowPlace(Moscow());
    const MonthCalendar& calendar = window.Calendar();
    QCOMPARE(window.Month(), (CalendarMonth{2026, 12}));
    QCOMPARE(window.MonthLabel->text(), QStringLiteral("Декабрь 2026"));
    QCOMPARE(window.Days->rowCount(), 31);
    QCOMPARE(window.Days->columnCount(), 6);
    QCOMPARE(window.Days->horizontalHeaderItem(MonthLunarDaysColumn)->text(),
             QStringLiteral("Лунные дни"));
    // 1 December 2026 is a Tuesday; today is the 10th, on Moscow's clock.
    QCOMPARE(window.Days->item(0, MonthDayColumn)->text(), QStringLiteral("вт 01.12"));
    QCOMPARE(window.Days->item(9, MonthDayColumn)->text(), QStringLiteral("чт 10.12"));
    QCOMPARE(window.Days->currentRow(), 9);
    QVERIFY(window.Days->item(9, MonthDayColumn)->background().color().isValid());
    QVERIFY(window.NowLabel->text().startsWith(QStringLiteral("Сейчас 10.12.2026 12:00")));

    // Every day as the command line and the page give it, in the report's
    // colours: the lunar days magenta, the worlds red.
    int newMoons = 0;
    for (int row = 0; row < 31; ++row) {
        const MonthCalendarDay& day = calendar.days[static_cast<std::size_t>(row)];
        const MonthTableCells cells = MonthTableRow(day);
        for (int column = 0; column < MonthTableColumnCount; ++column) {
            QCOMPARE(window.Days->item(row, column)->text(),
                     Utf8(cells[static_cast<std::size_t>(column)]));
        }
        for (const LunarDayBeginning& b : day.lunar.beginnings)
            newMoons += b.kind == LunarDayBeginningKind::NewMoon;
        QCOMPARE(window.Days->item(row, MonthLunarDaysColumn)->foreground().color(),
                 QColor(255, 0, 255));
        QCOMPARE(window.Days->item(row, MonthPeriodWorldsColumn)->foreground().color(),
                 QColor(255, 0, 0));
    }
    QCOMPARE(newMoons, 1); // one new moon in December 2026
    QCOMPARE(presenter.errors, QStringList());
}

void MonthWindowTest::navigatesByButtons() {
    RecordingPresenter presenter;
    CalendarDays database;
    MonthWindow window(database.lookup);
    window.SetClock([] { return TenthOfDecember2026; });
    window.ShowPlace(Moscow());
    QTest::mouseClick(window.PreviousButton, Qt::LeftButton);
    QCOMPARE(window.Month(), (CalendarMonth{2026, 11}));
    QCOMPARE(window.Days->rowCount(), 30);
    QVERIFY(!window.Table().todayRow);
    QVERIFY(!window.NowLabel->isVisibleTo(&window));
    QTest::mouseClick(window.NextButton, Qt::LeftButton);
    QTest::mouseClick(window.NextButton, Qt::LeftButton);
    QCOMPARE(window.Month(), (CalendarMonth{2027, 1}));
    QCOMPARE(window.MonthLabel->text(), QStringLiteral("Январь 2027"));
    QTest::mouseClick(window.TodayButton, Qt::LeftButton);
    QCOMPARE(window.Month(), (CalendarMonth{2026, 12}));
    QCOMPARE(window.Days->currentRow(), 9);
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
}

void MonthWindowTest::navigatesByKeys() {
    RecordingPresenter presenter;
    CalendarDays database;
    MonthWindow window(database.lookup);
    window.SetClock([] { return TenthOfDecember2026; });
    window.ShowPlace(Moscow());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.Days->setFocus();
    QTest::keyClick(window.Days, Qt::Key_Down);
    QCOMPARE(window.Days->currentRow(), 10);
    QCOMPARE(window.DayDetails->text(), Utf8(window.Table().rows[10].details));
    QTest::keyClick(window.Days, Qt::Key_PageUp);
    QCOMPARE(window.Month(), (CalendarMonth{2026, 11}));
    QTest::keyClick(window.Days, Qt::Key_PageDown);
    QTest::keyClick(window.Days, Qt::Key_PageDown);
    QCOMPARE(window.Month(), (CalendarMonth{2027, 1}));
    QTest::keyClick(window.Days, Qt::Key_Home);
    QCOMPARE(window.Month(), (CalendarMonth{2026, 12}));
    QCOMPARE(window.Days->currentRow(), 9);
    QTest::keyClick(window.Days, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(presenter.errors, QStringList());
}

void MonthWindowTest::stopsAtTheCalendarsFirstAndLastMonth() {
    RecordingPresenter presenter;
    CalendarDays database;
    MonthWindow window(database.lookup);
    MonthPlace greenwich;
    greenwich.place = {51.48, 0.0, "", 0};
    greenwich.title = "Гринвич";
    window.SetClock([] { return UniversalSecond(9998, 12, 31, 12); });
    window.ShowPlace(greenwich);
    QCOMPARE(window.Month(), (CalendarMonth{9998, 12}));
    QVERIFY(!window.NextButton->isEnabled());
    window.NextMonth();
    QCOMPARE(window.Month(), (CalendarMonth{9998, 12}));
    window.SetClock([] { return UniversalSecond(2, 1, 1, 12); });
    window.ThisMonth();
    QCOMPARE(window.Month(), (CalendarMonth{2, 1}));
    QVERIFY(!window.PreviousButton->isEnabled());
    QTest::keyClick(&window, Qt::Key_PageUp);
    QCOMPARE(window.Month(), (CalendarMonth{2, 1}));
    // Before the calendar's first year, its first month.
    window.SetClock([] { return UniversalSecond(1, 6, 1, 12); });
    window.ThisMonth();
    QCOMPARE(window.Month(), (CalendarMonth{2, 1}));
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
}

void MonthWindowTest::typedCoordinatesFarFromAnyPlaceUseAFixedClock() {
    RecordingPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    // In the South Atlantic, far from every atlas place.
    w.Edit2->setText(QStringLiteral("-30"));
    w.Edit3->setText(QStringLiteral("-20"));
    w.CSpinEdit1->setValue(-5);
    w.MonthCalendarButtonClick();
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
    MonthWindow* month = w.MonthCalendarWindow();
    QVERIFY(month != nullptr);
    QVERIFY(month->Place());
    QCOMPARE(month->Place()->place.zoneName, std::string());
    // Moscow's computer three hours east, five hours back in the box.
    QCOMPARE(month->Place()->place.fixedOffsetSeconds, -2 * 3600);
    QVERIFY2(month->PlaceLabel->text().contains(QStringLiteral("постоянное смещение UTC-2:00")),
             qPrintable(month->PlaceLabel->text()));
}

void MonthWindowTest::resizesDownToItsMinimum() {
    CalendarDays database;
    MonthWindow window(database.lookup);
    window.SetClock([] { return TenthOfDecember2026; });
    window.ShowPlace(Moscow());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Above the table, the legend that reads its lunar days' cells.
    QVERIFY2(window.LegendLabel->text().startsWith(QStringLiteral("Лунные дни: «22; 23 с 04:49»")),
             qPrintable(window.LegendLabel->text()));
    QVERIFY(window.LegendLabel->isVisible());
    QVERIFY(window.LegendLabel->geometry().bottom() < window.Days->geometry().top());
    const QSize minimum = window.minimumSize();
    QVERIFY(minimum.width() >= 600 && minimum.height() >= 300);
    window.resize(200, 100);
    QCOMPARE(window.size(), minimum);
    window.resize(1400, 900);
    QCOMPARE(window.size(), QSize(1400, 900));
    // The table takes the room.
    QVERIFY(window.Days->height() > 700);
}

void MonthWindowTest::savesTheMonthAsAnA4Pdf() {
#ifndef TORAVEL_PDFTOTEXT
    QSKIP("poppler's pdftotext is not installed");
#else
    RecordingPresenter presenter;
    CalendarDays database;
    MonthWindow window(database.lookup);
    window.SetClock([] { return TenthOfDecember2026; });
    window.ShowPlace(Moscow());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("месяц.pdf"));
    QString proposed;
    SetMonthPdfPathChooser([&](QWidget*, const QString& name) {
        proposed = name;
        return path;
    });
    QTest::mouseClick(window.PdfButton, Qt::LeftButton);
    SetMonthPdfPathChooser({});
    QCOMPARE(presenter.errors, QStringList());
    // The place in the name proposed, and a word where the file went.
    QCOMPARE(proposed, QStringLiteral("лунный календарь Москва 12.2026.pdf"));
    QCOMPARE(presenter.messages, QStringList(QStringLiteral("Лунный календарь сохранён: ") + path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");

    const QString info = RunPoppler(QStringLiteral(TORAVEL_PDFINFO), {path});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:.*\\(A4\\)"))),
             qPrintable(info));
    const QString text =
        RunPoppler(QStringLiteral(TORAVEL_PDFTOTEXT),
                   {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("Лунный календарь: декабрь 2026")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Москва, часовой пояс Europe/Moscow")));
    QVERIFY2(text.contains(QStringLiteral("«22; 23 с 04:49» — в начале суток идёт 22-й лунный "
                                          "день, 23-й начинается в 04:49")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("новолуние")));
    QVERIFY(text.contains(QStringLiteral("31.12")));

    // Cancelled: nothing written, nothing said.
    QVERIFY(file.remove());
    SetMonthPdfPathChooser([](QWidget*, const QString&) { return QString(); });
    window.SaveAsPdf();
    SetMonthPdfPathChooser({});
    QVERIFY(!QFile::exists(path));
    QCOMPARE(presenter.messages.size(), 1);
    // A folder that does not exist: said, and the window goes on.
    SetMonthPdfPathChooser(
        [&](QWidget*, const QString&) { return folder.filePath(QStringLiteral("нет/месяц.pdf")); });
    window.SaveAsPdf();
    SetMonthPdfPathChooser({});
    QCOMPARE(presenter.errors.size(), 1);
    QVERIFY(presenter.errors[0].startsWith(QStringLiteral("Не удалось сохранить")));
#endif
}

void MonthWindowTest::proposedFileNameNamesThePlace() {
    const std::pair<std::string, QString> rows[] = {
        {"58,38 26,72", QStringLiteral("лунный календарь 58,38 26,72 03.2027.pdf")},
        {"", QStringLiteral("лунный календарь 03.2027.pdf")},
        // What a file name cannot hold.
        {"a/b\\c: d*?\"<>|\te\u200b", QStringLiteral("лунный календарь a b c d e 03.2027.pdf")},
    };
    for (const auto& [place, proposed] : rows)
        QCOMPARE(MonthPdfFileName(place, {2027, 3}), proposed);
}

QTEST_MAIN(MonthWindowTest)
#include "month_window_test.moc"
