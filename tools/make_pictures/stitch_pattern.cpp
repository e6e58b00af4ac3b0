#include "tools/make_pictures/stitch_pattern.h"

#include <stdexcept>

#include "tools/make_pictures/palette.h"

namespace toravel::pictures {

void DrawStitches(QPainter& painter, const StitchMotif& motif, QPointF origin, double stitch) {
    const int width = motif.Width();
    const double gap = stitch > 4 ? 1.2 : 0.6;
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < motif.Height(); ++row) {
        const QString& line = motif.rows[row];
        if (line.size() != width)
            throw std::logic_error("stitch motif rows differ in length");
        for (int col = 0; col < width; ++col) {
            QColor colour;
            switch (line[col].toLatin1()) {
            case 'R':
                colour = kRed;
                break;
            case 'K':
                colour = kInk;
                break;
            case 'O':
                colour = kOchre;
                break;
            default:
                continue;
            }
            painter.setBrush(colour);
            painter.drawRect(QRectF(origin.x() + col * stitch + gap / 2,
                                    origin.y() + row * stitch + gap / 2, stitch - gap,
                                    stitch - gap));
        }
    }
    painter.restore();
}

} // namespace toravel::pictures
