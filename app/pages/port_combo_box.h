#pragma once
// The port choice: a combo box that has its list read again each time it is
// dropped down, so a port plugged in after the start is there to choose.
#include <QComboBox>
#include <functional>

namespace tv {

class PortComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    // Called before the list drops down.
    std::function<void()> aboutToPopUp;

    void showPopup() override;
};

}  // namespace tv
