#include "app/radio_group.h"

#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
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
    connect(&m_group, &QButtonGroup::idToggled, this, [this] { keepOneTabStop(); });
    layoutButtons();
    keepOneTabStop();
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
        keepOneTabStop();
        return;
    }
    m_buttons[static_cast<size_t>(index)]->setChecked(true);
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    layoutButtons();
}

void RadioGroup::keepOneTabStop() {
    const int checked = m_group.checkedId();
    for (int i = 0; i < count(); ++i)
        button(i)->setFocusPolicy(i == std::max(0, checked) ? Qt::StrongFocus : Qt::ClickFocus);
}

// The inside of the frame as the style draws it, below its title, so no frame
// line runs through an item's text.
QRect RadioGroup::inside() const {
    QStyleOptionGroupBox opt;
    opt.initFrom(this);
    opt.text = title();
    opt.textAlignment = alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxContents, this);
}

QSize RadioGroup::leastSizeForItems() const {
    int itemWidth = 0;
    for (const QRadioButton* b : m_buttons) {
        QStyleOptionButton item;
        item.initFrom(b);
        item.text = b->text();
        const QRect room = b->style()->subElementRect(QStyle::SE_RadioButtonContents, &item, b);
        itemWidth = std::max(
            itemWidth, b->width() - room.width() + b->fontMetrics().size(0, b->text()).width());
    }
    const int perColumn = (count() + m_columns - 1) / m_columns;
    const QSize frame = size() - inside().size();
    return {frame.width() + m_columns * itemWidth,
            frame.height() + perColumn * fontMetrics().height()};
}

void RadioGroup::layoutButtons() {
    if (m_buttons.empty()) return;
    const int n = count();
    const int perColumn = (n + m_columns - 1) / m_columns;
    const QRect inside = this->inside();
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
