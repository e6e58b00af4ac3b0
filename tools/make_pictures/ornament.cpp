#include "tools/make_pictures/ornament.h"

#include <cmath>

#include "tools/make_pictures/palette.h"
#include "tools/make_pictures/stitch_pattern.h"

namespace toravel::pictures {
namespace {

// Band motifs, 9 × 9 stitches: a rhombus with a seed in it, and an oblique
// cross, alternating along every side.
const StitchMotif kRhombus{{
    "....R....",
    "...RRR...",
    "..RR.RR..",
    ".RR...RR.",
    "RR..K..RR",
    ".RR...RR.",
    "..RR.RR..",
    "...RRR...",
    "....R....",
}};
const StitchMotif kCross{{
    ".........",
    ".K.....K.",
    "..K...K..",
    "...K.K...",
    "....O....",
    "...K.K...",
    "..K...K..",
    ".K.....K.",
    ".........",
}};
// Corner: the sown field, a rhombus divided into four with a seed in each.
const StitchMotif kSownField{{
    "....R....",
    "...RRR...",
    "..RK.KR..",
    ".RRR.RRR.",
    "RR.RRR.RR",
    ".RRR.RRR.",
    "..RK.KR..",
    "...RRR...",
    "....R....",
}};

constexpr double kStitch = 3;
constexpr double kCell = 9 * kStitch;

// Motifs along one side from `start` in direction (dx, dy), `length` pixels.
void DrawBandSide(QPainter& painter, QPointF start, double dx, double dy, double length) {
    const int count = static_cast<int>(std::floor(length / kCell));
    const double spare = (length - count * kCell) / 2;
    for (int i = 0; i < count; ++i) {
        const double along = spare + i * kCell;
        const QPointF at(start.x() + dx * along, start.y() + dy * along);
        DrawStitches(painter, i % 2 == 0 ? kRhombus : kCross, at, kStitch);
    }
}

} // namespace

QRectF DrawPageBorder(QPainter& painter, const QRectF& page) {
    painter.fillRect(page, kPaper);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);

    const QRectF outer = page.adjusted(12, 12, -12, -12);
    painter.setPen(QPen(kRed, 3));
    painter.drawRect(outer);
    painter.setPen(QPen(kInk, 1));
    painter.drawRect(outer.adjusted(5, 5, -5, -5));

    // The band of motifs, with the sown field in each corner.
    const QRectF band = outer.adjusted(9, 9, -9, -9);
    const double inner = band.width() - 2 * kCell;
    const double innerH = band.height() - 2 * kCell;
    DrawStitches(painter, kSownField, band.topLeft(), kStitch);
    DrawStitches(painter, kSownField, QPointF(band.right() - kCell, band.top()), kStitch);
    DrawStitches(painter, kSownField, QPointF(band.left(), band.bottom() - kCell), kStitch);
    DrawStitches(painter, kSownField, QPointF(band.right() - kCell, band.bottom() - kCell),
                 kStitch);
    DrawBandSide(painter, QPointF(band.left() + kCell, band.top()), 1, 0, inner);
    DrawBandSide(painter, QPointF(band.left() + kCell, band.bottom() - kCell), 1, 0, inner);
    DrawBandSide(painter, QPointF(band.left(), band.top() + kCell), 0, 1, innerH);
    DrawBandSide(painter, QPointF(band.right() - kCell, band.top() + kCell), 0, 1, innerH);

    const QRectF within = band.adjusted(kCell + 4, kCell + 4, -kCell - 4, -kCell - 4);
    painter.setPen(QPen(kRed, 1.5));
    painter.drawRect(within);
    painter.restore();
    return within.adjusted(16, 14, -16, -14);
}

void DrawOrnamentStrip(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double mid = area.top() + kStripHeight / 2;
    const double half = 5; // half the height of a rhombus
    const double step = 16;
    const int count = static_cast<int>(std::floor((area.width() * 0.7) / step)) | 1;
    const double startX = area.center().x() - (count - 1) * step / 2;
    painter.setPen(QPen(kRed, 1));
    painter.drawLine(QPointF(area.left() + 10, mid), QPointF(startX - step, mid));
    painter.drawLine(QPointF(startX + count * step, mid), QPointF(area.right() - 10, mid));
    for (int i = 0; i < count; ++i) {
        const double x = startX + i * step;
        QPolygonF rhombus;
        rhombus << QPointF(x, mid - half) << QPointF(x + half, mid) << QPointF(x, mid + half)
                << QPointF(x - half, mid);
        const bool central = i == count / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(central ? kInk : (i % 2 == 0 ? kRed : kOchre));
        if (central)
            rhombus = QPolygonF() << QPointF(x, mid - 7) << QPointF(x + 7, mid)
                                  << QPointF(x, mid + 7) << QPointF(x - 7, mid);
        painter.drawPolygon(rhombus);
    }
    painter.restore();
}

} // namespace toravel::pictures
