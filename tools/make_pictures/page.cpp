#include "tools/make_pictures/page.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextOption>
#include <utility>

#include "tools/make_pictures/ornament.h"
#include "tools/make_pictures/palette.h"

namespace toravel::pictures {
namespace {

void Prepare(QTextDocument& doc, const Fonts& fonts, double width, const QString& html,
             int pixelSize, Qt::Alignment align, bool serif) {
    QFont font(serif ? fonts.serif : fonts.sans);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    QTextOption option = doc.defaultTextOption();
    option.setAlignment(align);
    option.setWrapMode(QTextOption::WordWrap);
    doc.setDefaultTextOption(option);
    doc.setDefaultStyleSheet("b { color: #7a1a12; }");
    doc.setHtml(html);
    doc.setTextWidth(width);
}

} // namespace

Page::Page(int width, int height, Fonts fonts)
    : image_(width, height, QImage::Format_RGB32), fonts_(std::move(fonts)) {
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    area_ = DrawPageBorder(painter_, QRectF(0, 0, width, height));
    top_ = area_.top();
}

void Page::Title(const QString& text, int pixelSize) {
    QFont font(fonts_.serif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    painter_.setFont(font);
    painter_.setPen(kRed);
    const QRectF box(area_.left(), top_, area_.width(), pixelSize * 1.35);
    painter_.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter, text);
    top_ += box.height() + 4;
    DrawOrnamentStrip(painter_, QRectF(area_.left(), top_, area_.width(), kStripHeight));
    top_ += kStripHeight + 12;
}

void Page::Heading(const QString& text, int pixelSize) {
    top_ += TextBlock(QRectF(area_.left(), top_, area_.width(), 0),
                      "<span style=\"color:#a31f17; font-weight:bold\">" + text + "</span>",
                      pixelSize, Qt::AlignLeft, true);
    top_ += 4;
}

void Page::Paragraph(const QString& html, int pixelSize, Qt::Alignment align) {
    top_ += TextBlock(QRectF(area_.left(), top_, area_.width(), 0), html, pixelSize, align);
    top_ += pixelSize * 0.6;
}

double Page::TextBlock(const QRectF& box, const QString& html, int pixelSize, Qt::Alignment align,
                       bool serif) {
    QTextDocument doc;
    Prepare(doc, fonts_, box.width(), html, pixelSize, align, serif);
    painter_.save();
    painter_.translate(box.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, kInk);
    doc.documentLayout()->draw(&painter_, context);
    painter_.restore();
    return doc.size().height();
}

double Page::TextHeight(double width, const QString& html, int pixelSize, bool serif) const {
    QTextDocument doc;
    Prepare(doc, fonts_, width, html, pixelSize, Qt::AlignLeft, serif);
    return doc.size().height();
}

void Page::Block(double height, const std::function<void(QPainter&, const QRectF&)>& draw) {
    const QRectF box(area_.left(), top_, area_.width(), height);
    painter_.save();
    draw(painter_, box);
    painter_.restore();
    top_ += height;
}

bool Page::Save(const QString& path, int quality) {
    painter_.end();
    return image_.save(path, "JPG", quality);
}

} // namespace toravel::pictures
