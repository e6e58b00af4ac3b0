#include "tools/make_pictures/step_cards.h"

#include <QFont>
#include <algorithm>

#include "tools/make_pictures/palette.h"

namespace toravel::pictures {
namespace {

constexpr double kColumnGap = 22;
constexpr double kRowGap = 14;
constexpr double kDrawingGap = 8;

QString CardText(int number, const Step& step) {
    return QString("<span style=\"color:#a31f17; font-weight:bold\">%1. %2</span><br>%3")
        .arg(number)
        .arg(step.title, step.text);
}

} // namespace

void DrawSteps(Page& page, const std::vector<Step>& steps, double drawingWidth,
               double drawingHeight, int textSize) {
    const QRectF area = page.Area();
    const double columnW = (area.width() - kColumnGap) / 2;
    const double textW = columnW - drawingWidth - kDrawingGap;
    for (std::size_t first = 0; first < steps.size(); first += 2) {
        double rowH = drawingHeight;
        for (std::size_t i = first; i < std::min(first + 2, steps.size()); ++i)
            rowH =
                std::max(rowH, page.TextHeight(textW, CardText(static_cast<int>(i) + 1, steps[i]),
                                               textSize));
        const double top = page.Top();
        for (std::size_t i = first; i < std::min(first + 2, steps.size()); ++i) {
            const double left =
                area.left() + static_cast<double>(i - first) * (columnW + kColumnGap);
            const QRectF drawing(left, top, drawingWidth, rowH);
            QPainter& p = page.Painter();
            p.save();
            p.setPen(QPen(kFaded, 0.8));
            p.setBrush(QColor(0xfb, 0xf7, 0xec));
            p.drawRoundedRect(drawing, 6, 6);
            p.restore();
            p.save();
            p.setClipRect(drawing);
            steps[i].draw(p, drawing);
            p.restore();
            page.TextBlock(QRectF(left + drawingWidth + kDrawingGap, top, textW, 0),
                           CardText(static_cast<int>(i) + 1, steps[i]), textSize);
        }
        page.Skip(rowH + kRowGap);
    }
}

} // namespace toravel::pictures
