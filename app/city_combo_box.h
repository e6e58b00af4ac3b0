// The birthplace drop-down list: a QComboBox that also tells when its list
// closes (Qt has no close-up signal; hidePopup() is where every way of
// closing ends) and when it receives the keyboard focus.
#pragma once

#include <QComboBox>

namespace toravel {

class CityComboBox final : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void hidePopup() override;

signals:
    // The open list closed, whether or not a new entry was picked.
    void closedUp();
    // The list received the keyboard focus.
    void entered();

protected:
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace toravel
