// The printed horoscope: a title, the birth data, the check listings when
// they were asked for, the four report lines in their character formats, and
// optionally the four pictures, each on a page of its own. The report lines
// are centred on the page (their leading blanks, which centre them in the
// window's report area, are left out there).
//
// The layout is painted on any paged device, so a PDF file (QPdfWriter) and a
// printer (QPrinter) get the same pages. Fonts are DejaVu Sans, falling back
// to Liberation Sans, so that Cyrillic text is embedded in a PDF as glyphs.
// Needs a QGuiApplication (fonts); texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "horoscope/report.h"
#include "pictures/jpeg_decoder.h"

class QPagedPaintDevice;

namespace toravel {

// The inputs of the calculation, as the window or the options gave them.
struct BirthData {
    std::string name;      // the person's, when the inputs were a saved person's
    std::string date;      // "17.05.1990"
    std::string time;      // "14:30", or "14:30:15" with seconds
    std::string place;     // the city's name; empty for typed coordinates
    std::string latitude;  // the field's text, "55,7558"
    std::string longitude; // the field's text, "37,6173"
    int zoneHours = 0;     // the spin box's hours
    // The computer's own offset the calculation adds to the hours above,
    // positive east: the clock it runs on is their sum.
    int computerOffsetSeconds = 0;
    // The birthplace's offset from the tz database where it was used, such as
    // "в месте рождения UTC+4:00 (летнее время)"; empty otherwise.
    std::string birthplaceOffset;
    bool female = false;
    // The birthplace's own offset where the calculation ran on it instead of
    // the hours and the computer's offset (the command line's --utc-offset,
    // --zone-name, --auto-zone): "UTC+4:00, Europe/Moscow, летнее время".
    std::string clock;
};

struct DocumentPicture {
    std::string caption;               // the picture button's caption
    std::optional<DecodedImage> image; // nothing: the database holds none
};

struct ReportDocument {
    BirthData birth;
    std::vector<std::string> listing; // the check listings, plain lines
    std::vector<ReportLine> report;   // the report lines with their formats
    std::vector<DocumentPicture> pictures;
};

// The document's title, also the PDF's title.
inline constexpr const char* kReportDocumentTitle = "Славянский гороскоп";

// The birth-data lines as they stand above the report.
std::vector<std::string> BirthDataLines(const BirthData& birth);

// Paints the document on the device's pages as they are set up (page size,
// margins, resolution). False when painting cannot begin on the device.
bool PaintReportDocument(QPagedPaintDevice& device, const ReportDocument& document);

// Writes the document as an A4 PDF file; the file is replaced only once the
// whole document is written. False, with the reason in `problem`, otherwise.
bool WriteReportPdf(const std::string& path, const ReportDocument& document, std::string& problem);

} // namespace toravel
