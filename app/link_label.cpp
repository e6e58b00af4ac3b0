#include "app/link_label.h"

#include <QMouseEvent>

namespace toravel {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    // A click is a left-button release over the label, as with a button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

} // namespace toravel
