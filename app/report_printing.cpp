#include "app/report_printing.h"

#include <stdexcept>
#include <string>

#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace toravel {
namespace {

PdfPathChooser& Chooser() {
    static PdfPathChooser chooser;
    return chooser;
}

QString AskForPdfPath(QWidget* parent) {
    QString path =
        QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить в PDF"),
                                     QDir::home().filePath(QStringLiteral("гороскоп.pdf")),
                                     QStringLiteral("Документ PDF (*.pdf)"));
    if (!path.isEmpty() && !path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path;
}

} // namespace

void SetPdfPathChooser(PdfPathChooser chooser) {
    Chooser() = std::move(chooser);
}

void PrintReportDocument(QWidget* parent, const ReportDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(kReportDocumentTitle));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Печать"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PaintReportDocument(printer, document))
        throw std::runtime_error("Не удалось начать печать");
}

void SaveReportDocumentAsPdf(QWidget* parent, const ReportDocument& document) {
    const QString path = Chooser() ? Chooser()(parent) : AskForPdfPath(parent);
    if (path.isEmpty())
        return;
    std::string problem;
    if (!WriteReportPdf(path.toStdString(), document, problem))
        throw std::runtime_error("Не удалось сохранить " + path.toStdString() + ": " + problem);
}

} // namespace toravel
