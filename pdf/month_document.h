// The printed month of the lunar calendar: a title, the place with its clock,
// a line that reads the lunar days' cells, and a table of the days (weekday
// and date, the lunar days with their beginnings, the full moon, the
// calendar day's world, the period's worlds, the circle), the lunar days and
// worlds in the report's colours, weekends in bold, today's row shaded. One
// month on one page: the text is made smaller until it fits.
//
// Painted on any paged device, so a PDF file (QPdfWriter) and a printer
// (QPrinter) get the same page; toravel-pdf --month and the window's month
// window print through it. Fonts as in pdf/report_document.h. Needs a
// QGuiApplication (fonts); texts are UTF-8.
#pragma once

#include <optional>
#include <string>

#include "horoscope/month_calendar.h"
#include "platform/tdatetime.h"

class QPagedPaintDevice;

namespace toravel {

struct MonthCalendarDocument {
    std::string title; // MonthCalendarTitle: "Лунный календарь: декабрь 2026"
    std::string place; // "Москва, Россия (55,7522; 37,6156), Europe/Moscow"
    MonthCalendar calendar;
    std::optional<TDateTime> today; // its row is shaded when it is a day of the month
};

// Paints the month on the device's page as it is set up (page size, margins,
// resolution). False when painting cannot begin on the device.
bool PaintMonthCalendar(QPagedPaintDevice& device, const MonthCalendarDocument& document);

// Writes the month as a one-page A4 PDF file, landscape; the file is replaced
// only once it is written whole. False, with the reason in `problem`,
// otherwise.
bool WriteMonthCalendarPdf(const std::string& path, const MonthCalendarDocument& document,
                           std::string& problem);

} // namespace toravel
