// Ornament of the pages: a border band of embroidered rhombi with corner
// motifs, and a strip that separates a title from the text.
#pragma once

#include <QPainter>
#include <QRectF>

namespace toravel::pictures {

// Fills the page with linen and draws the border band inside `page`; returns
// the free area within the border.
QRectF DrawPageBorder(QPainter& painter, const QRectF& page);

// A horizontal strip of small rhombi centred in `area` (its full width, a
// fixed height of kStripHeight pixels).
inline constexpr double kStripHeight = 16;
void DrawOrnamentStrip(QPainter& painter, const QRectF& area);

} // namespace toravel::pictures
