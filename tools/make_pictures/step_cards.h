// Numbered steps laid out two to a row: a drawing on the left of each card,
// the step's title and text on its right.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

#include "tools/make_pictures/page.h"

namespace toravel::pictures {

struct Step {
    QString title;
    QString text; // rich text
    using draw_type = std::function<void(QPainter&, const QRectF&)>;
    draw_type draw; // the drawing in its box
};

// Places the steps in the page's flow. Each row is as tall as its taller
// card, at least `drawingHeight`.
void DrawSteps(Page& page, const std::vector<Step>& steps, double drawingWidth,
               double drawingHeight, int textSize);

} // namespace toravel::pictures
