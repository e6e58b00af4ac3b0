#include "app/city_combo_box.h"

namespace toravel {

void CityComboBox::hidePopup() {
    QComboBox::hidePopup();
    emit closedUp();
}

void CityComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    emit entered();
}

} // namespace toravel
