#include "app/radio_group.h"

#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace tv {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent), m_group(this), m_columns(std::max(1, columns)) {
    m_group.setExclusive(true);
    // Compact buttons, as the classic groups are: their item texts must fit
    // columns as narrow as 24 pixels.
    setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"));
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        m_group.addButton(b, i);
        m_buttons.push_back(b);
    }
    layoutButtons();
}

int RadioGroup::itemIndex() const { return m_group.checkedId(); }

void RadioGroup::setItemIndex(int index) {
    if (index < -1) index = -1;
    if (index >= count()) index = count() - 1;
    if (index == -1) {
        // An exclusive group refuses to uncheck its last checked button.
        m_group.setExclusive(false);
        for (auto* b : m_buttons) b->setChecked(false);
        m_group.setExclusive(true);
        return;
    }
    m_buttons[static_cast<size_t>(index)]->setChecked(true);
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    layoutButtons();
}

void RadioGroup::layoutButtons() {
    if (m_buttons.empty()) return;
    const int n = count();
    const int perColumn = (n + m_columns - 1) / m_columns;
    // The items share the inside of the frame as the style draws it, below its
    // title, so no frame line runs through an item's text.
    QStyleOptionGroupBox opt;
    opt.initFrom(this);
    opt.text = title();
    opt.textAlignment = alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect inside =
        style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxContents, this);
    const int columnWidth = std::max(1, inside.width()) / m_columns;
    const int rowHeight = std::max(1, inside.height()) / perColumn;
    for (int i = 0; i < n; ++i) {
        const int column = i / perColumn;
        const int row = i % perColumn;
        m_buttons[static_cast<size_t>(i)]->setGeometry(inside.left() + column * columnWidth,
                                                       inside.top() + row * rowHeight, columnWidth,
                                                       std::max(rowHeight, fontMetrics().height()));
    }
}

}  // namespace tv
