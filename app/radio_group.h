#pragma once
// A titled group of radio buttons with an item index, laid out column by column:
// with n items in c columns each column holds ceil(n / c) items, so "MemoryChannel"
// shows ch0..ch3 in its first column.
#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;

namespace tv {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent);

    int itemIndex() const;  // -1 when no item is selected
    // Clamps: below -1 gives -1 (no item selected), past the end gives the last item.
    void setItemIndex(int index);
    int count() const { return static_cast<int>(m_buttons.size()); }
    QRadioButton* button(int index) const { return m_buttons.at(static_cast<size_t>(index)); }
    // The least size that shows every item whole in the current font: the
    // columns share the inside equally, so each is as wide as the widest item,
    // and each row is one line of text high. The title is the caller's to fit.
    QSize leastSizeForItems() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutButtons();
    QRect inside() const;
    // The group is one Tab stop: its selected item, or its first while none is.
    void keepOneTabStop();

    QButtonGroup m_group;
    std::vector<QRadioButton*> m_buttons;
    int m_columns;
};

}  // namespace tv
