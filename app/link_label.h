// A label that acts as a web link: bold, a hand cursor, and a click signal.
#pragma once

#include <QLabel>

namespace toravel {

class LinkLabel final : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace toravel
