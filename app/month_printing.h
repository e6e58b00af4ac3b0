// Printing the month window's month: the system print dialog, or a PDF file
// chosen in a file dialog, both painted with the month's page layout shared
// with toravel-pdf --month (pdf/month_document.h): one month on one A4 page.
//
// Errors are thrown to the caller, which runs inside a handler.
#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "app/month_place.h"
#include "pdf/month_document.h"

class QWidget;

namespace toravel {

// The page of the month shown at the place; `now` shades today's row.
MonthCalendarDocument MonthDocumentOf(const MonthPlace& place, const MonthCalendar& calendar,
                                      const std::optional<ClockMoment>& now);

// The system print dialog (A4 across proposed), then the month. Nothing
// happens when the user cancels.
void PrintMonth(QWidget* parent, const MonthCalendarDocument& document);

// A file dialog for the PDF's name (MonthPdfFileName proposed), then the
// month as an A4 PDF, and a message that says where it is; the file is
// replaced only once it is written whole. Throws std::runtime_error when it
// cannot be written.
void SaveMonthAsPdf(QWidget* parent, const MonthCalendarDocument& document,
                    const std::string& placeName);

// "лунный календарь Тарту 03.2027.pdf": the place's name with what a file
// name cannot hold (a slash, a colon, control characters, …) left out;
// "лунный календарь 03.2027.pdf" without a name.
QString MonthPdfFileName(const std::string& placeName, const CalendarMonth& month);

// Where the PDF's name comes from: the file dialog, unless a test puts a
// chooser of its own in its place (an empty name means cancelled).
using MonthPdfPathChooser = std::function<QString(QWidget* parent, const QString& proposed)>;
void SetMonthPdfPathChooser(MonthPdfPathChooser chooser);

} // namespace toravel
