#include "pdf/month_document.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <QTextDocument>

#include <cmath>

#include "horoscope/month_calendar_text.h"
#include "pdf/pdf_file.h"

namespace toravel {
namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Escaped(const std::string& text) {
    return Q(text).toHtmlEscaped();
}

// The report's colours: the lunar day's line magenta, the world's red.
constexpr const char* LunarDaysStyle = "color:#ff00ff;font-weight:bold";
constexpr const char* WorldStyle = "color:#ff0000";
constexpr const char* PeriodWorldsStyle = "color:#ff0000;font-weight:bold";

const char* CellStyle(int column) {
    switch (column) {
    case MonthLunarDaysColumn:
        return LunarDaysStyle;
    case MonthDayWorldColumn:
    case MonthCircleColumn:
        return WorldStyle;
    case MonthPeriodWorldsColumn:
        return PeriodWorldsStyle;
    default:
        return "";
    }
}

QString Html(const MonthCalendarDocument& document, double pointSize) {
    QString html = QStringLiteral("<html><body style=\"font-family:'DejaVu Sans','Liberation "
                                  "Sans';font-size:%1pt\">")
                       .arg(pointSize, 0, 'f', 1);
    html += QStringLiteral("<p align=center style=\"font-size:%1pt;font-weight:bold\">%2</p>")
                .arg(pointSize * 1.6, 0, 'f', 1)
                .arg(Escaped(document.title));
    html += QStringLiteral("<p>%1<br>%2</p>")
                .arg(Escaped("Место: " + document.place), Escaped(MonthTableLegend()));
    html += QStringLiteral("<table width=100% border=1 cellspacing=0 cellpadding=2 "
                           "style=\"border-collapse:collapse;border-color:#808080\"><tr>");
    for (const std::string& title : MonthTableTitles())
        html += QStringLiteral("<th bgcolor=#e8e8e8>%1</th>").arg(Escaped(title));
    html += QStringLiteral("</tr>");
    for (const MonthCalendarDay& day : document.calendar.days) {
        const bool today = document.today && std::floor(*document.today) == day.lunar.date;
        const bool weekend = IsoWeekday(day.lunar.date) >= 6;
        html += today ? QStringLiteral("<tr bgcolor=#fff3b0>") : QStringLiteral("<tr>");
        const MonthTableCells cells = MonthTableRow(day);
        for (int column = 0; column < MonthTableColumnCount; ++column) {
            QString style = QString::fromLatin1(CellStyle(column));
            if (column == MonthDayColumn && (weekend || today))
                style = QStringLiteral("font-weight:bold");
            html += QStringLiteral("<td style=\"%1\">%2</td>")
                        .arg(style, Escaped(cells[static_cast<std::size_t>(column)]));
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table></body></html>");
}

} // namespace

bool PaintMonthCalendar(QPagedPaintDevice& device, const MonthCalendarDocument& document) {
    const QSizeF page(device.width(), device.height());
    QTextDocument text;
    text.documentLayout()->setPaintDevice(&device);
    text.setDocumentMargin(0);
    text.setPageSize(page);
    // From a comfortable size down until the month fits one page.
    for (double pointSize = 10.0;; pointSize -= 0.5) {
        text.setHtml(Html(document, pointSize));
        if (text.pageCount() <= 1 || pointSize <= 4.0)
            break;
    }
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    text.drawContents(&painter, QRectF(QPointF(0, 0), page));
    return painter.end();
}

bool WriteMonthCalendarPdf(const std::string& path, const MonthCalendarDocument& document,
                           std::string& problem) {
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                             QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    return WritePdfFile(
        path, document.title, layout,
        [&](QPagedPaintDevice& device) { return PaintMonthCalendar(device, document); }, problem);
}

} // namespace toravel
