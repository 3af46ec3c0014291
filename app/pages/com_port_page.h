#pragma once
// The ComPort page: the port and bit-rate choices, Open and Close, and the
// hidden receive-event counter and memo.
#include <optional>
#include <string>
#include <vector>

#include "ports/port_choices.h"

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
    ~ComPortPage() = default;
    // Builds the page's controls on its sheet.
    void buildComPortPage(QWidget* sheet);
    // Open is offered while the port is closed, Close while it is open.
    void showPortOpen(bool open);

    // Puts `beyond` after com1 to com12. The current choice stays: a found
    // port that went away stays as "not present" while it is chosen. `wanted`,
    // when given, is chosen instead (the port remembered in the settings file).
    void showFoundPorts(const std::vector<FoundPort>& beyond,
                        const std::optional<RememberedPort>& wanted = std::nullopt);
    // The name `portname` gets: the chosen item's port name; empty when none is chosen.
    std::string selectedPortName() const;
    // The chosen port when it is one found on the machine (index 12 or above).
    std::optional<RememberedPort> chosenFoundPort() const;
    // A name typed into ComboBox1 and confirmed (Enter, leaving the box, or
    // "Open") becomes the choice, so the box never shows a port other than the
    // one "Open" opens: "comN" (any case) or another listed port's name selects
    // that item; any other name is added after the found ports and selected.
    // Nothing happens when nothing was typed since the last choice.
    void confirmTypedPort();
    // Called when the port list is about to drop down.
    virtual void portListAboutToShow() {}

private:
    bool m_portTyped = false;  // the box's text was edited since the last choice
};

}  // namespace tv
