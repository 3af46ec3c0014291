#pragma once
// The keyboard's way through the window, worked out from where the controls
// stand, so a new page gets it without a list of its own: Tab goes in reading
// order (top to bottom, and left to right within a row of controls and groups),
// a radio group is one stop, and each field is named after its label for
// screen readers.
#include <QList>

class QWidget;

namespace tv {

// The controls that take focus inside root in reading order: a tab widget's
// tab bar and then its pages in turn, a group's controls where the group
// stands, a radio group's items in index order.
QList<QWidget*> readingOrder(QWidget* root);

// Sets the Tab order of the window's controls to their reading order.
void orderTabsByReading(QWidget* form);

// Gives each field (edit, combo box, list or table) without an accessible name
// the text of its label, the label beside it on its left or else just above
// it, and makes it the label's buddy.
void nameFieldsByLabels(QWidget* root);

}  // namespace tv
