#pragma once
// Makers of the window's controls: each control gets its object name and its
// place and size in 96 dpi pixels in its parent, as the form lays them out.
#include <QString>
#include <QStringList>

#include "options/option_table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tv {

class RadioGroup;

// Places a control at left, top, width x height in its parent.
template <typename W>
W* place(W* w, int left, int top, int width, int height) {
    w->setGeometry(left, top, width, height);
    return w;
}

// A label sized to its caption, as an auto-sized label is.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width = 75, int height = 25);
QLineEdit* makeEdit(QWidget* parent, const char* name, int left, int top, int width = 121,
                    int height = 20);
// A memo with its vertical scroll bar always shown.
QPlainTextEdit* makeMemo(QWidget* parent, const char* name, int left, int top, int width,
                         int height);
// An option group as the options table describes it, at its place on the form.
RadioGroup* makeRadioGroup(QWidget* parent, OptionGroup group, int left, int top, int width,
                           int height);
// An editable combo box that shows its own name until an item is chosen.
QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items, int left, int top,
                     int width);
// The same for a combo box of a kind of its own, made by the caller.
QComboBox* setUpCombo(QComboBox* box, const char* name, const QStringList& items, int left, int top,
                      int width);

}  // namespace tv
