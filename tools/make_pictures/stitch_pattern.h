// Cross-stitch motifs: a motif is a grid of rows, one character a stitch.
// '.' or ' ' is bare linen, 'R' a red stitch, 'K' a black one, 'O' an ochre
// one. Drawn as small squares with a gap, as embroidery looks from afar.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QStringList>

namespace toravel::pictures {

struct StitchMotif {
    QStringList rows;
    int Width() const { return rows.isEmpty() ? 0 : static_cast<int>(rows.front().size()); }
    int Height() const { return static_cast<int>(rows.size()); }
};

// Draws the motif with its top-left stitch at `origin`, each stitch a square
// of `stitch` pixels. Throws std::logic_error when the rows differ in length.
void DrawStitches(QPainter& painter, const StitchMotif& motif, QPointF origin, double stitch);

} // namespace toravel::pictures
