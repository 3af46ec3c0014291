#pragma once
// The frame around the pages: the tab widget with its three sheets, the variant
// group, the status memo Memo2, the caption label and the Close button.
#include <memory>

#include "app/pages/status_memo.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace tv {

class RadioGroup;

class WindowFrame {
public:
    QTabWidget* PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3;
    RadioGroup* RadioGroup6;
    QPlainTextEdit* Memo2;
    QLabel* Label16;
    QPushButton* BitBtn1;

protected:
    // Builds the frame's controls on the form; the pages then fill the sheets.
    void buildFrame(QWidget* form);

    std::unique_ptr<StatusMemo> status;  // what Memo2 shows
};

}  // namespace tv
