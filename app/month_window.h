// «Лунный календарь»: a month's lunar calendar for the birthplace of the
// main window, one row per day (weekday, date, the lunar days with their
// beginnings, the Moon's phases, the worlds in the report's colours, the
// circle), today's row marked and selected, a line above it that reads the
// lunar days' cells.
//
// Keys: PageUp and PageDown the month before and after, Home today's month,
// the arrows from day to day, Ctrl+P print, Esc closes. The window is
// resizable down to a size where every column still reads. A month or place
// the calendar cannot be made for is said in a message and the month shown
// stays; no exception leaves a handler.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QWidget>

#include "app/month_place.h"
#include "app/month_table.h"
#include "horoscope/month_calendar.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace toravel {

class MonthWindow final : public QWidget {
    Q_OBJECT

public:
    // The lookup must outlive the window.
    explicit MonthWindow(CalendarDayLookup& calendarDays, QWidget* parent = nullptr);
    ~MonthWindow() override;

    // Computes the month that holds today at the place and shows it. Throws
    // LunarMonthError for a place the calendar cannot be made for (nothing
    // changes then) and the database's errors.
    void ShowPlace(const MonthPlace& place);

    // Handlers.
    void PreviousMonth();
    void NextMonth();
    void ThisMonth();
    void Print();
    void SaveAsPdf();

    // The month shown; its calendar, and the texts of its table.
    const CalendarMonth& Month() const { return calendar_.month; }
    const MonthCalendar& Calendar() const { return calendar_; }
    const MonthTable& Table() const { return table_; }
    const std::optional<MonthPlace>& Place() const { return place_; }

    // Universal time now, seconds from 30 December 1899 0h; tests fix it.
    using Clock = std::function<std::int64_t()>;
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    QLabel* PlaceLabel;
    QLabel* MonthLabel;
    QLabel* NowLabel;
    QLabel* LegendLabel; // how the lunar days' cells read
    QPushButton* PreviousButton;
    QPushButton* NextButton;
    QPushButton* TodayButton;
    QPushButton* PrintButton;
    QPushButton* PdfButton;
    QTableWidget* Days;
    QLabel* DayDetails; // the selected day in full, under the table

private:
    void CreateControls();
    // Computes and shows the month; false, with a message, when the calendar
    // cannot be made for it (the month shown stays).
    bool ShowMonth(const CalendarMonth& month);
    void FillTable();
    ClockMoment Now() const;

    CalendarDayLookup& calendarDays_;
    Clock clock_;
    std::optional<MonthPlace> place_;
    MonthCalendar calendar_;
    MonthTable table_;
};

} // namespace toravel
