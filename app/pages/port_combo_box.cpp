#include "app/pages/port_combo_box.h"

namespace tv {

void PortComboBox::showPopup() {
    if (aboutToPopUp) aboutToPopUp();
    QComboBox::showPopup();
}

}  // namespace tv
