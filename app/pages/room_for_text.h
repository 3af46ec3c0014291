#pragma once
// The window's places and sizes are the least each control gets: where the
// font needs more, a group, a radio item or a button grows to its text, the
// controls beyond it on that side move aside by as much, and the window grows
// to hold its pages. Where the font fits, nothing moves.
#include <QSize>

class QLabel;
class QString;
class QWidget;

namespace tv {

// Grows the controls inside form (its pages included) to their texts, in their
// fonts and styles as polished; returns how much wider and taller the form's
// controls now reach than before.
QSize growToTexts(QWidget* form);

// A label whose text changes while the window runs keeps room for the widest
// text it will show: its group grows for that text too.
void reserveRoomFor(QLabel* label, const QString& widest);

}  // namespace tv
