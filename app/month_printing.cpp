#include "app/month_printing.h"

#include <stdexcept>

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

namespace toravel {
namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

MonthPdfPathChooser& Chooser() {
    static MonthPdfPathChooser chooser;
    return chooser;
}

QString AskForPdfPath(QWidget* parent, const QString& proposed) {
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить в PDF"),
                                                QDir::home().filePath(proposed),
                                                QStringLiteral("Документ PDF (*.pdf)"));
    if (!path.isEmpty() && !path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path;
}

// The report's colours, as the window shows them.
const char* const LunarDayStyle = "color:#ff00ff;font-weight:bold";
const char* const WorldStyle = "color:#ff0000";
const char* const PeriodWorldStyle = "color:#ff0000;font-weight:bold";

QString Html(const MonthDocument& document, double pointSize) {
    QString html;
    html += QStringLiteral("<html><body style=\"font-family:'DejaVu Sans','Liberation Sans';"
                           "font-size:%1pt\">")
                .arg(pointSize, 0, 'f', 1);
    html += QStringLiteral("<p align=center style=\"font-size:%1pt;font-weight:bold\">%2</p>")
                .arg(pointSize * 1.6, 0, 'f', 1)
                .arg(Utf8(document.title).toHtmlEscaped());
    html += QStringLiteral("<p>%1</p>").arg(Utf8(document.place).toHtmlEscaped());
    if (!document.table.now.empty())
        html += QStringLiteral("<p>%1</p>").arg(Utf8(document.table.now).toHtmlEscaped());
    html += QStringLiteral("<table width=100% border=1 cellspacing=0 cellpadding=3 "
                           "style=\"border-collapse:collapse;border-color:#808080\"><tr>");
    for (std::string_view title : MonthColumnTitles())
        html += QStringLiteral("<th bgcolor=#e8e8e8>%1</th>").arg(Utf8(title).toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const MonthTableRow& row : document.table.rows) {
        html += row.today ? QStringLiteral("<tr bgcolor=#fff3b0>") : QStringLiteral("<tr>");
        for (int c = 0; c < MonthColumnCount; ++c) {
            const char* style = c == LunarDaysColumn                       ? LunarDayStyle
                                : c == PeriodWorldsColumn                  ? PeriodWorldStyle
                                : c == DayWorldColumn || c == CircleColumn ? WorldStyle
                                : (row.today || (c == WeekdayColumn && row.weekend))
                                    ? "font-weight:bold"
                                    : "";
            // Only the circle may wrap: the other cells are short.
            const QString wrap =
                c == CircleColumn ? QString() : QStringLiteral("white-space:nowrap;");
            html += QStringLiteral("<td style=\"%1%2\">%3</td>")
                        .arg(wrap, QString::fromLatin1(style),
                             Utf8(row.cells[static_cast<std::size_t>(c)]).toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table></body></html>");
    return html;
}

} // namespace

MonthDocument MonthDocumentOf(const MonthPlace& place, const CalendarMonth& month,
                              const MonthTable& table) {
    return {"Лунный календарь — " + table.title, place.title, CalendarMonthText(month), table};
}

bool PaintMonthDocument(QPagedPaintDevice& device, const MonthDocument& document) {
    const QSizeF page(device.width(), device.height());
    QTextDocument text;
    text.documentLayout()->setPaintDevice(&device);
    text.setDocumentMargin(0);
    text.setPageSize(page);
    // One month, one page: the text shrinks until it fits.
    for (double pointSize = 10.0;; pointSize -= 0.5) {
        text.setHtml(Html(document, pointSize));
        if (text.pageCount() <= 1 || pointSize <= 5.0)
            break;
    }
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    text.drawContents(&painter, QRectF(QPointF(0, 0), page));
    return painter.end();
}

void PrintMonth(QWidget* parent, const MonthDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Utf8(document.title));
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Печать"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PaintMonthDocument(printer, document))
        throw std::runtime_error("Не удалось начать печать");
}

void SetMonthPdfPathChooser(MonthPdfPathChooser chooser) {
    Chooser() = std::move(chooser);
}

void SaveMonthAsPdf(QWidget* parent, const MonthDocument& document) {
    const QString proposed = QStringLiteral("лунный календарь %1.pdf").arg(Utf8(document.month));
    const QString path = Chooser() ? Chooser()(parent, proposed) : AskForPdfPath(parent, proposed);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Не удалось сохранить " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(Utf8(document.title));
        writer.setCreator(QStringLiteral("Торавель"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        if (!PaintMonthDocument(writer, document)) {
            file.cancelWriting();
            throw std::runtime_error("Не удалось сохранить " + path.toStdString() +
                                     ": не удалось начать страницу PDF");
        }
    }
    if (!file.commit())
        throw std::runtime_error("Не удалось сохранить " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
}

} // namespace toravel
