#include "app/month_window.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/message_presenter.h"
#include "app/month_printing.h"
#include "horoscope/month_calendar_text.h"

namespace toravel {
namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The report's colours: the lunar day as its last line, the circle and the
// worlds as its line of the circle and world.
const QColor LunarDayColour(255, 0, 255);
const QColor WorldColour(255, 0, 0);
const QColor TodayBackground(255, 243, 176);
const QColor SelectionBackground(196, 222, 245);

// A selected row keeps the report's colours of its texts, on a light
// highlight where they stay readable.
class ColouredSelection final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        option->palette.setBrush(QPalette::HighlightedText,
                                 foreground.isValid() ? foreground.value<QBrush>()
                                                      : option->palette.brush(QPalette::Text));
        option->palette.setColor(QPalette::Highlight, SelectionBackground);
    }
};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setToolTip(hint);
    return button;
}

void AddShortcut(QWidget* window, const QKeySequence& keys, std::function<void()> handler) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, std::move(handler));
}

} // namespace

MonthWindow::MonthWindow(CalendarDayLookup& calendarDays, QWidget* parent)
    : QWidget(parent, Qt::Window), calendarDays_(calendarDays), clock_(UniversalSecondNow) {
    setObjectName(QStringLiteral("MonthWindow"));
    setWindowTitle(QStringLiteral("Лунный календарь"));
    CreateControls();
}

MonthWindow::~MonthWindow() {
    for (QObject* control : findChildren<QObject*>())
        control->disconnect(this);
}

void MonthWindow::CreateControls() {
    PlaceLabel = new QLabel(this);
    PlaceLabel->setObjectName(QStringLiteral("PlaceLabel"));
    PlaceLabel->setTextFormat(Qt::PlainText);
    PlaceLabel->setWordWrap(true);

    PreviousButton = MakeButton(this, "PreviousButton", QStringLiteral("◀"),
                                QStringLiteral("Предыдущий месяц (PageUp)"));
    MonthLabel = new QLabel(this);
    MonthLabel->setObjectName(QStringLiteral("MonthLabel"));
    MonthLabel->setTextFormat(Qt::PlainText);
    MonthLabel->setAlignment(Qt::AlignCenter);
    {
        QFont font = MonthLabel->font();
        font.setBold(true);
        if (font.pixelSize() > 0)
            font.setPixelSize(font.pixelSize() * 7 / 5);
        else
            font.setPointSizeF(font.pointSizeF() * 1.4);
        MonthLabel->setFont(font);
        MonthLabel->setMinimumWidth(
            QFontMetrics(font).horizontalAdvance(QStringLiteral("Сентябрь 9998")));
    }
    NextButton = MakeButton(this, "NextButton", QStringLiteral("▶"),
                            QStringLiteral("Следующий месяц (PageDown)"));
    TodayButton = MakeButton(this, "TodayButton", QStringLiteral("&Сегодня"),
                             QStringLiteral("Месяц с сегодняшним днём (Home)"));
    PrintButton = MakeButton(this, "PrintButton", QStringLiteral("&Печать…"),
                             QStringLiteral("Напечатать месяц на листе A4 (Ctrl+P)"));
    PdfButton = MakeButton(this, "PdfButton", QStringLiteral("Сохранить в P&DF…"),
                           QStringLiteral("Сохранить месяц в файл PDF, лист A4"));

    NowLabel = new QLabel(this);
    NowLabel->setObjectName(QStringLiteral("NowLabel"));
    NowLabel->setTextFormat(Qt::PlainText);

    LegendLabel = new QLabel(Utf8(MonthTableLegend()), this);
    LegendLabel->setObjectName(QStringLiteral("LegendLabel"));
    LegendLabel->setTextFormat(Qt::PlainText);
    LegendLabel->setWordWrap(true);

    Days = new QTableWidget(this);
    Days->setObjectName(QStringLiteral("Days"));
    Days->setColumnCount(MonthTableColumnCount);
    QStringList titles;
    for (const std::string& title : MonthTableTitles())
        titles << Utf8(title);
    Days->setHorizontalHeaderLabels(titles);
    Days->verticalHeader()->setVisible(false);
    Days->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Days->setSelectionBehavior(QAbstractItemView::SelectRows);
    Days->setSelectionMode(QAbstractItemView::SingleSelection);
    Days->setWordWrap(false);
    Days->setTabKeyNavigation(false);
    Days->setItemDelegate(new ColouredSelection(Days));
    QHeaderView* header = Days->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(MonthLunarDaysColumn, QHeaderView::Stretch);
    const QFontMetrics metrics(Days->font());
    const auto fit = [&metrics](const char* text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text)) + 24;
    };
    Days->setColumnWidth(MonthDayColumn, fit("вт 00.00"));
    Days->setColumnWidth(MonthMoonColumn, fit("полнолуние 00:00 (+00:00)"));
    Days->setColumnWidth(MonthDayWorldColumn, fit("Мир дня"));
    Days->setColumnWidth(MonthPeriodWorldsColumn, fit("Правь → Правь → Правь"));
    Days->setColumnWidth(MonthCircleColumn, fit("второй, третий"));
    Days->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);

    DayDetails = new QLabel(this);
    DayDetails->setObjectName(QStringLiteral("DayDetails"));
    DayDetails->setTextFormat(Qt::PlainText);
    DayDetails->setWordWrap(true);
    DayDetails->setTextInteractionFlags(Qt::TextSelectableByMouse);
    DayDetails->setMinimumHeight(4 * DayDetails->fontMetrics().height());
    DayDetails->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(Days, &QTableWidget::currentCellChanged, this, [this](int row) {
        const bool shown = row >= 0 && row < static_cast<int>(table_.rows.size());
        DayDetails->setText(shown ? Utf8(table_.rows[static_cast<std::size_t>(row)].details)
                                  : QString());
    });

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(PreviousButton);
    navigation->addWidget(MonthLabel);
    navigation->addWidget(NextButton);
    navigation->addWidget(TodayButton);
    navigation->addStretch(1);
    navigation->addWidget(PrintButton);
    navigation->addWidget(PdfButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PlaceLabel);
    layout->addLayout(navigation);
    layout->addWidget(NowLabel);
    layout->addWidget(LegendLabel);
    layout->addWidget(Days, 1);
    layout->addWidget(DayDetails);

    // Every column readable, and the header above the month's 31 days
    // reachable by scrolling.
    setMinimumSize(760, 360);
    resize(1000, 700);

    setTabOrder(Days, PreviousButton);
    setTabOrder(PreviousButton, NextButton);
    setTabOrder(NextButton, TodayButton);
    setTabOrder(TodayButton, PrintButton);
    setTabOrder(PrintButton, PdfButton);

    connect(PreviousButton, &QPushButton::clicked, this, [this] { PreviousMonth(); });
    connect(NextButton, &QPushButton::clicked, this, [this] { NextMonth(); });
    connect(TodayButton, &QPushButton::clicked, this, [this] { ThisMonth(); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { Print(); });
    connect(PdfButton, &QPushButton::clicked, this, [this] { SaveAsPdf(); });
    AddShortcut(this, QKeySequence(Qt::Key_PageUp), [this] { PreviousMonth(); });
    AddShortcut(this, QKeySequence(Qt::Key_PageDown), [this] { NextMonth(); });
    AddShortcut(this, QKeySequence(Qt::Key_Home), [this] { ThisMonth(); });
    AddShortcut(this, QKeySequence::Print, [this] { Print(); });
    AddShortcut(this, QKeySequence(Qt::Key_Escape), [this] { close(); });
}

ClockMoment MonthWindow::Now() const {
    return PlaceNow(place_->place, clock_());
}

void MonthWindow::ShowPlace(const MonthPlace& place) {
    CheckCalendarPlace(place.place);
    const ClockMoment now = PlaceNow(place.place, clock_());
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(now.local, year, month, day, hour, minute, second, millisecond);
    // The months the calendar can be made for, today's nearest.
    CalendarMonth shown{year, month};
    if (year < FirstCalendarYear)
        shown = {FirstCalendarYear, 1};
    if (year > LastCalendarYear)
        shown = {LastCalendarYear, 12};
    MonthCalendar calendar = ComputeMonthCalendar(place.place, shown, calendarDays_);
    place_ = place;
    calendar_ = std::move(calendar);
    FillTable();
    PlaceLabel->setText(Utf8(place.title));
    setWindowTitle(QStringLiteral("Лунный календарь — ") + Utf8(place.title));
}

bool MonthWindow::ShowMonth(const CalendarMonth& month) {
    if (!place_)
        return false;
    try {
        calendar_ = ComputeMonthCalendar(place_->place, month, calendarDays_);
    } catch (const LunarMonthError& error) {
        Presenter().ShowMessage(Utf8(error.what()));
        return false;
    }
    FillTable();
    return true;
}

void MonthWindow::FillTable() {
    table_ = MakeMonthTable(calendar_, Now());
    MonthLabel->setText(Utf8(table_.title));
    NowLabel->setText(Utf8(table_.now));
    NowLabel->setVisible(!table_.now.empty());
    PreviousButton->setEnabled(calendar_.month != CalendarMonth{FirstCalendarYear, 1});
    NextButton->setEnabled(calendar_.month != CalendarMonth{LastCalendarYear, 12});

    QFont bold = Days->font();
    bold.setBold(true);
    Days->clearContents();
    Days->setRowCount(static_cast<int>(table_.rows.size()));
    for (std::size_t r = 0; r < table_.rows.size(); ++r) {
        const MonthWindowRow& row = table_.rows[r];
        const QString details = Utf8(row.details);
        for (int c = 0; c < MonthTableColumnCount; ++c) {
            auto* item = new QTableWidgetItem(Utf8(row.cells[static_cast<std::size_t>(c)]));
            item->setToolTip(details);
            if (c == MonthLunarDaysColumn) {
                item->setForeground(LunarDayColour);
                item->setFont(bold);
            } else if (c == MonthDayWorldColumn || c == MonthPeriodWorldsColumn ||
                       c == MonthCircleColumn) {
                item->setForeground(WorldColour);
                if (c == MonthPeriodWorldsColumn)
                    item->setFont(bold);
            } else if (row.today || (c == MonthDayColumn && row.weekend)) {
                item->setFont(bold);
            }
            if (row.today)
                item->setBackground(TodayBackground);
            Days->setItem(static_cast<int>(r), c, item);
        }
    }
    const int current = table_.todayRow ? static_cast<int>(*table_.todayRow) : 0;
    DayDetails->clear();
    if (Days->rowCount() > 0) {
        Days->setCurrentCell(current, MonthDayColumn);
        DayDetails->setText(Utf8(table_.rows[static_cast<std::size_t>(current)].details));
        Days->scrollToItem(Days->item(current, MonthDayColumn));
    }
}

void MonthWindow::PreviousMonth() {
    RunHandler([this] {
        if (place_ && PreviousButton->isEnabled())
            ShowMonth(PreviousCalendarMonth(calendar_.month));
    });
}

void MonthWindow::NextMonth() {
    RunHandler([this] {
        if (place_ && NextButton->isEnabled())
            ShowMonth(NextCalendarMonth(calendar_.month));
    });
}

void MonthWindow::ThisMonth() {
    RunHandler([this] {
        if (place_)
            ShowPlace(*place_);
    });
}

void MonthWindow::Print() {
    RunHandler([this] {
        if (place_)
            PrintMonth(this, MonthDocumentOf(*place_, calendar_, Now()));
    });
}

void MonthWindow::SaveAsPdf() {
    RunHandler([this] {
        if (place_)
            SaveMonthAsPdf(this, MonthDocumentOf(*place_, calendar_, Now()), place_->name);
    });
}

} // namespace toravel
