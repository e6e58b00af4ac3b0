// One picture page: a linen canvas with the ornamented border and a text
// flow from top to bottom. Text is rich text (a small HTML subset: <b>, <i>,
// <br>) laid out with QTextDocument, in pixel-sized DejaVu fonts, so the
// layout does not depend on the screen's resolution.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>

namespace toravel::pictures {

struct Fonts {
    QString serif; // family names as registered from the font files
    QString sans;
};

class Page {
public:
    Page(int width, int height, Fonts fonts);

    QPainter& Painter() { return painter_; }
    const Fonts& FontFamilies() const { return fonts_; }
    // Free area inside the border, and the flow's current top.
    const QRectF& Area() const { return area_; }
    double Top() const { return top_; }
    void Skip(double pixels) { top_ += pixels; }

    // Centred red title in serif, then the ornament strip.
    void Title(const QString& text, int pixelSize);
    // A dark-red section heading.
    void Heading(const QString& text, int pixelSize);
    // A paragraph of rich text over the full width of the area.
    void Paragraph(const QString& html, int pixelSize, Qt::Alignment align = Qt::AlignJustify);

    // Draws rich text in `box` (its width and top; the height is the text's)
    // and returns the height used.
    double TextBlock(const QRectF& box, const QString& html, int pixelSize,
                     Qt::Alignment align = Qt::AlignLeft, bool serif = false);
    // Height that TextBlock would take.
    double TextHeight(double width, const QString& html, int pixelSize, bool serif = false) const;

    // Reserves `height` pixels of the flow and hands its rectangle to `draw`.
    void Block(double height, const std::function<void(QPainter&, const QRectF&)>& draw);

    // True when something was placed below the bottom of the area.
    bool Overflowed() const { return top_ > area_.bottom() + 0.5; }
    // Ends painting and writes the JPEG; false on a write error.
    bool Save(const QString& path, int quality);

private:
    QImage image_;
    QPainter painter_;
    Fonts fonts_;
    QRectF area_;
    double top_;
};

} // namespace toravel::pictures
