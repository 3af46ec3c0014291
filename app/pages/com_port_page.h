#pragma once
// The ComPort page: the port and bit-rate choices, Open and Close, and the
// hidden receive-event counter and memo.
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tv {

class ComPortPage {
public:
    QComboBox *ComboBox1, *ComboBox2;
    QPushButton *Button1, *Button2;
    QLineEdit* Edit7;
    QPlainTextEdit* Memo1;

protected:
    // Builds the page's controls on its sheet.
    void buildComPortPage(QWidget* sheet);
    // Open is offered while the port is closed, Close while it is open.
    void showPortOpen(bool open);
};

}  // namespace tv
