// Printing the month window's calendar: the system print dialog, or a PDF
// file chosen in a file dialog; one month on one A4 page, the table as the
// window shows it, in the report's colours, with the place and the month
// above it.
//
// Errors are thrown to the caller, which runs inside a handler.
#pragma once

#include <functional>
#include <string>

#include <QString>

#include "app/month_place.h"
#include "app/month_table.h"

class QPagedPaintDevice;
class QWidget;

namespace toravel {

struct MonthDocument {
    std::string title; // "Лунный календарь — Декабрь 2026"
    std::string place; // the place and its clock
    std::string month; // "12.2026", for the file's name
    MonthTable table;
};

MonthDocument MonthDocumentOf(const MonthPlace& place, const CalendarMonth& month,
                              const MonthTable& table);

// Paints the month on the device's first page as it is set up; the text is
// made smaller until the month fits the page. False when painting cannot
// begin on the device.
bool PaintMonthDocument(QPagedPaintDevice& device, const MonthDocument& document);

// The system print dialog (A4 proposed), then the month. Nothing happens
// when the user cancels.
void PrintMonth(QWidget* parent, const MonthDocument& document);

// A file dialog for the PDF's name ("лунный календарь 12.2026.pdf"
// proposed), then the month as an A4 PDF; the file is replaced only once it
// is written whole. Throws std::runtime_error when it cannot be written.
void SaveMonthAsPdf(QWidget* parent, const MonthDocument& document);

// Where the PDF's name comes from: the file dialog, unless a test puts a
// chooser of its own in its place (an empty name means cancelled).
using MonthPdfPathChooser = std::function<QString(QWidget* parent, const QString& proposed)>;
void SetMonthPdfPathChooser(MonthPdfPathChooser chooser);

} // namespace toravel
