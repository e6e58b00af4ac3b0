#include "pdf/report_document.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "pdf/pdf_file.h"
#include "place/birthplace_zone.h"

namespace toravel {
namespace {

constexpr int kBodyPointSize = 10;
constexpr int kTitlePointSize = 18;
constexpr int kCaptionPointSize = 14;

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont DocumentFont(int pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

void AppendBlock(QTextCursor& cursor, bool& first, const QString& text,
                 const QTextCharFormat& format, Qt::Alignment alignment = Qt::AlignLeft) {
    QTextBlockFormat block;
    block.setAlignment(alignment);
    if (first) {
        cursor.setBlockFormat(block);
        cursor.setBlockCharFormat(format);
        first = false;
    } else {
        cursor.insertBlock(block, format);
    }
    cursor.insertText(text, format);
}

QTextCharFormat CharFormat(int pointSize, bool bold, QColor colour = Qt::black) {
    QTextCharFormat format;
    format.setFont(DocumentFont(pointSize, bold));
    format.setForeground(colour);
    return format;
}

// The text pages: title, birth data, listings and report, laid out for the
// device so that point sizes come out right at its resolution.
void FillText(QTextDocument& text, const ReportDocument& document) {
    QTextCursor cursor(&text);
    bool first = true;
    AppendBlock(cursor, first, Q(kReportDocumentTitle), CharFormat(kTitlePointSize, true),
                Qt::AlignHCenter);
    AppendBlock(cursor, first, QString(), CharFormat(kBodyPointSize, false));
    for (const std::string& line : BirthDataLines(document.birth))
        AppendBlock(cursor, first, Q(line), CharFormat(kBodyPointSize, false));
    AppendBlock(cursor, first, QString(), CharFormat(kBodyPointSize, false));
    for (const std::string& line : document.listing)
        AppendBlock(cursor, first, Q(line), CharFormat(kBodyPointSize, false));
    if (!document.listing.empty())
        AppendBlock(cursor, first, QString(), CharFormat(kBodyPointSize, false));
    for (const ReportLine& line : document.report) {
        // The leading blanks centre a line in the window's report area; on a
        // page the line is centred instead, so that it does not wrap early.
        const std::size_t start = line.text.find_first_not_of(' ');
        const std::string shown = start == std::string::npos ? "" : line.text.substr(start);
        const CharacterFormat& f = line.format;
        AppendBlock(cursor, first, Q(shown),
                    CharFormat(f.pointSize > 0 ? f.pointSize : kBodyPointSize, f.bold,
                               QColor(f.r, f.g, f.b)),
                    Qt::AlignHCenter);
    }
}

void PaintPicturePage(QPainter& painter, const QRectF& page, const DocumentPicture& picture) {
    painter.setFont(DocumentFont(kCaptionPointSize, true));
    painter.setPen(Qt::black);
    const QRectF captionArea(page.left(), page.top(), page.width(),
                             painter.fontMetrics().height() * 2.0);
    painter.drawText(captionArea, Qt::AlignHCenter | Qt::AlignTop, Q(picture.caption));
    const QRectF imageArea(page.left(), captionArea.bottom(), page.width(),
                           page.height() - captionArea.height());
    if (!picture.image || picture.image->width <= 0 || picture.image->height <= 0) {
        painter.setFont(DocumentFont(kBodyPointSize, false));
        painter.drawText(imageArea, Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("картинки нет в базе"));
        return;
    }
    const DecodedImage& decoded = *picture.image;
    const QImage image(decoded.rgb.data(), decoded.width, decoded.height, 3 * decoded.width,
                       QImage::Format_RGB888);
    // As large as the page allows, keeping the picture's proportions.
    QSizeF size(decoded.width, decoded.height);
    size.scale(imageArea.size(), Qt::KeepAspectRatio);
    const QRectF target(imageArea.left() + (imageArea.width() - size.width()) / 2.0,
                        imageArea.top(), size.width(), size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

} // namespace

std::vector<std::string> BirthDataLines(const BirthData& birth) {
    std::vector<std::string> lines;
    if (!birth.name.empty())
        lines.push_back("Имя: " + birth.name);
    lines.push_back("Дата рождения: " + birth.date);
    lines.push_back("Время рождения: " + birth.time);
    const std::string coordinates = "широта " + birth.latitude + ", долгота " + birth.longitude;
    lines.push_back("Место рождения: " +
                    (birth.place.empty() ? coordinates : birth.place + " (" + coordinates + ")"));
    if (!birth.clock.empty()) {
        lines.push_back("Часы расчёта: " + birth.clock);
    } else {
        // The hours are no offset from Greenwich: the calculation adds them
        // to the computer's own offset, and that sum is the clock it ran on.
        lines.push_back("Часы расчёта: " +
                        UtcOffsetLabel(birth.computerOffsetSeconds + 3600 * birth.zoneHours));
        lines.push_back("Разница в часах с поясом компьютера (" +
                        UtcOffsetLabel(birth.computerOffsetSeconds) +
                        "): " + std::to_string(birth.zoneHours));
        if (!birth.birthplaceOffset.empty())
            lines.push_back("По базе часовых поясов: " + birth.birthplaceOffset);
    }
    lines.push_back(std::string("Пол: ") + (birth.female ? "женский" : "мужской"));
    return lines;
}

bool PaintReportDocument(QPagedPaintDevice& device, const ReportDocument& document) {
    QTextDocument text;
    text.documentLayout()->setPaintDevice(&device);
    text.setDocumentMargin(0);
    text.setDefaultFont(DocumentFont(kBodyPointSize, false));
    const QSizeF page(device.width(), device.height());
    text.setPageSize(page);
    FillText(text, document);

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const int textPages = text.pageCount();
    for (int i = 0; i < textPages; ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        text.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
        painter.restore();
    }
    for (const DocumentPicture& picture : document.pictures) {
        device.newPage();
        PaintPicturePage(painter, QRectF(QPointF(0, 0), page), picture);
    }
    return painter.end();
}

bool WriteReportPdf(const std::string& path, const ReportDocument& document, std::string& problem) {
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    return WritePdfFile(
        path, kReportDocumentTitle, layout,
        [&](QPagedPaintDevice& device) { return PaintReportDocument(device, document); }, problem);
}

} // namespace toravel
