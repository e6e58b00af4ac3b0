// Printing the report area: the system print dialog, or a PDF file chosen in
// a file dialog, both painted with the shared page layout of the report
// document (the birth data, the listings, the report lines and, if wanted,
// the pictures on pages of their own).
//
// Errors are thrown to the caller, which runs inside a handler.
#pragma once

#include <functional>

#include <QString>

#include "pdf/report_document.h"

class QWidget;

namespace toravel {

// The system print dialog, then the document on the chosen printer. Nothing
// happens when the user cancels.
void PrintReportDocument(QWidget* parent, const ReportDocument& document);

// A file dialog for the PDF's name ("гороскоп.pdf" proposed), then the PDF.
// Nothing happens when the user cancels. Throws std::runtime_error when the
// file cannot be written.
void SaveReportDocumentAsPdf(QWidget* parent, const ReportDocument& document);

// Where the PDF's name comes from: the file dialog, unless a test puts a
// chooser of its own in its place (an empty name means cancelled). An empty
// function puts the dialog back.
using PdfPathChooser = std::function<QString(QWidget* parent)>;
void SetPdfPathChooser(PdfPathChooser chooser);

} // namespace toravel
