#include "app/month_printing.h"

#include <stdexcept>
#include <string>

#include <QDir>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

#include "app/message_presenter.h"
#include "horoscope/month_calendar_text.h"

namespace toravel {
namespace {

QString Utf8(const std::string& text) {
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

} // namespace

MonthCalendarDocument MonthDocumentOf(const MonthPlace& place, const MonthCalendar& calendar,
                                      const std::optional<ClockMoment>& now) {
    MonthCalendarDocument document;
    document.title = MonthCalendarTitle(calendar.month);
    document.place = place.title;
    document.calendar = calendar;
    if (now)
        document.today = now->local;
    return document;
}

void PrintMonth(QWidget* parent, const MonthCalendarDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Utf8(document.title));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Печать"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PaintMonthCalendar(printer, document))
        throw std::runtime_error("Не удалось начать печать");
}

void SetMonthPdfPathChooser(MonthPdfPathChooser chooser) {
    Chooser() = std::move(chooser);
}

QString MonthPdfFileName(const std::string& placeName, const CalendarMonth& month) {
    QString name;
    for (const QChar c : Utf8(placeName)) {
        // Neither a path nor a name some file systems refuse: a blank instead.
        const bool refused = c.category() == QChar::Other_Control ||
                             c.category() == QChar::Other_Format ||
                             QStringLiteral("/\\:*?\"<>|").contains(c);
        name += refused ? QChar(u' ') : c;
    }
    name = name.simplified();
    if (!name.isEmpty())
        name += QLatin1Char(' ');
    return QStringLiteral("лунный календарь %1%2.pdf").arg(name, Utf8(CalendarMonthText(month)));
}

void SaveMonthAsPdf(QWidget* parent, const MonthCalendarDocument& document,
                    const std::string& placeName) {
    const QString proposed = MonthPdfFileName(placeName, document.calendar.month);
    const QString path = Chooser() ? Chooser()(parent, proposed) : AskForPdfPath(parent, proposed);
    if (path.isEmpty())
        return;
    std::string problem;
    if (!WriteMonthCalendarPdf(path.toStdString(), document, problem))
        throw std::runtime_error("Не удалось сохранить " + path.toStdString() + ": " + problem);
    Presenter().ShowMessage(QStringLiteral("Лунный календарь сохранён: ") +
                            QDir::toNativeSeparators(path));
}

} // namespace toravel
