#pragma once
// The LowLevelCommand page: the erase, initialize and dump commands, the buffer
// view Memo3 and the hidden manual-send controls.
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tv {

class LowLevelCommandPage {
public:
    QPushButton *Button7, *Button8, *Button9, *Button10, *Button11, *Button12, *Button13;
    QLineEdit* Edit8;
    QPlainTextEdit* Memo3;

protected:
    // Builds the page's controls on its sheet.
    void buildLowLevelCommandPage(QWidget* sheet);
    // Shows the receive buffer's view, rows ending in CR LF, in Memo3.
    void showBuffer(const std::string& text);
};

}  // namespace tv
