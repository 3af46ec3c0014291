#include "app/pages/reading_order.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <vector>

#include "app/radio_group.h"

namespace tv {

namespace {

// Neighbouring group frames share their edge lines: a control that reaches
// this little into a row belongs to the next one.
constexpr int kSharedEdge = 2;

// The children in rows: a row takes every control that starts above its lowest
// bottom so far, and reads left to right (a column of buttons top to bottom).
std::vector<QWidget*> inRows(QWidget* parent) {
    std::vector<QWidget*> children;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow()) children.push_back(w);
    std::stable_sort(children.begin(), children.end(),
                     [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    std::vector<QWidget*> ordered;
    auto rowStart = children.begin();
    while (rowStart != children.end()) {
        int rowBottom = (*rowStart)->geometry().bottom();
        auto rowEnd = rowStart + 1;
        while (rowEnd != children.end() && (*rowEnd)->y() < rowBottom + 1 - kSharedEdge) {
            rowBottom = std::max(rowBottom, (*rowEnd)->geometry().bottom());
            ++rowEnd;
        }
        std::stable_sort(rowStart, rowEnd, [](const QWidget* a, const QWidget* b) {
            return std::pair(a->x(), a->y()) < std::pair(b->x(), b->y());
        });
        ordered.insert(ordered.end(), rowStart, rowEnd);
        rowStart = rowEnd;
    }
    return ordered;
}

void collect(QWidget* w, QList<QWidget*>& order) {
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        order << tabs->tabBar();
        for (int i = 0; i < tabs->count(); ++i) collect(tabs->widget(i), order);
        return;
    }
    if (auto* group = qobject_cast<RadioGroup*>(w)) {
        for (int i = 0; i < group->count(); ++i) order << group->button(i);
        return;
    }
    // A control that takes focus is one stop with whatever it is made of.
    if (w->focusPolicy() != Qt::NoFocus) {
        order << w;
        return;
    }
    for (QWidget* child : inRows(w)) collect(child, order);
}

bool isField(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w);
}

// The label of a field: the nearest one on its left within its height, or else
// the nearest one just above it.
QLabel* labelOf(const QWidget* field) {
    const QRect f = field->geometry();
    QLabel* best = nullptr;
    int bestDistance = 0;
    QLabel* above = nullptr;
    int aboveDistance = 0;
    for (QLabel* l : field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (l->text().isEmpty() || l->isHidden()) continue;
        const QRect r = l->geometry();
        const int centre = r.center().y();
        if (r.right() < f.left() && centre >= f.top() && centre <= f.bottom()) {
            const int distance = f.left() - r.right();
            if (!best || distance < bestDistance) best = l, bestDistance = distance;
        } else if (r.bottom() < f.top() + kSharedEdge && r.left() < f.right() &&
                   r.right() > f.left()) {
            const int distance = f.top() - r.bottom();
            if (distance <= 2 * r.height() && (!above || distance < aboveDistance))
                above = l, aboveDistance = distance;
        }
    }
    return best ? best : above;
}

}  // namespace

QList<QWidget*> readingOrder(QWidget* root) {
    QList<QWidget*> order;
    for (QWidget* child : inRows(root)) collect(child, order);
    return order;
}

void orderTabsByReading(QWidget* form) {
    const QList<QWidget*> order = readingOrder(form);
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    // Tab leaves a memo for the next control rather than typing a tab into it.
    for (QPlainTextEdit* memo : form->findChildren<QPlainTextEdit*>())
        memo->setTabChangesFocus(true);
}

void nameFieldsByLabels(QWidget* root) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!isField(w) || !w->accessibleName().isEmpty() || !w->parentWidget()) continue;
        if (QLabel* label = labelOf(w)) {
            QString name = label->text();
            name.remove(QLatin1Char('&'));
            w->setAccessibleName(name);
            label->setBuddy(w);
        }
    }
}

}  // namespace tv
