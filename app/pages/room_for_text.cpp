#include "app/pages/room_for_text.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <algorithm>
#include <vector>

#include "app/radio_group.h"

namespace tv {

namespace {

// The property that holds the widest text a label will show (reserveRoomFor).
constexpr char kWidestText[] = "tvWidestText";

// Neighbouring group frames share their edge lines: controls that overlap by
// this much or less are side by side, not one over the other.
constexpr int kSharedEdge = 2;
// What a label keeps free before the control beside it.
constexpr int kLabelGap = 2;

std::vector<QWidget*> shownChildren(QWidget* parent) {
    std::vector<QWidget*> children;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden() && !w->isWindow()) children.push_back(w);
    std::sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->x(), a->y()) < std::pair(b->x(), b->y());
    });
    return children;
}

int overlap(int begin1, int end1, int begin2, int end2) {
    return std::min(end1, end2) - std::max(begin1, begin2);
}

// Whether b lies beyond a's far edge farEdge on that axis, side by side with it.
bool beyond(const QRect& a, const QRect& b, Qt::Orientation axis, int farEdge) {
    if (axis == Qt::Horizontal)
        return b.left() >= farEdge - kSharedEdge &&
               overlap(a.top(), a.bottom() + 1, b.top(), b.bottom() + 1) > kSharedEdge;
    return b.top() >= farEdge - kSharedEdge &&
           overlap(a.left(), a.right() + 1, b.left(), b.right() + 1) > kSharedEdge;
}

// Moves the siblings beyond w's old far edge by distance, and so on behind them.
void pushAside(QWidget* w, Qt::Orientation axis, int oldFarEdge, int distance,
               QSet<QWidget*>& moved) {
    const QPoint step = axis == Qt::Horizontal ? QPoint(distance, 0) : QPoint(0, distance);
    for (QWidget* s : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (s->isWindow() || moved.contains(s) ||
            !beyond(w->geometry(), s->geometry(), axis, oldFarEdge))
            continue;
        moved.insert(s);
        const QRect before = s->geometry();
        s->move(before.topLeft() + step);
        pushAside(s, axis, axis == Qt::Horizontal ? before.right() + 1 : before.bottom() + 1,
                  distance, moved);
    }
}

void growTo(QWidget* w, Qt::Orientation axis, int least) {
    const QRect g = w->geometry();
    const int size = axis == Qt::Horizontal ? g.width() : g.height();
    if (least <= size) return;
    if (axis == Qt::Horizontal)
        w->resize(least, g.height());
    else
        w->resize(g.width(), least);
    QSet<QWidget*> moved{w};
    pushAside(w, axis, axis == Qt::Horizontal ? g.right() + 1 : g.bottom() + 1, least - size,
              moved);
}

// A label keeps its text clear of the control beside it.
void clearBeside(QLabel* label) {
    const QRect l = label->geometry();
    for (QWidget* s : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect r = s->geometry();
        if (s == label || s->isHidden() || s->isWindow() || r.left() <= l.left() ||
            overlap(l.top(), l.bottom() + 1, r.top(), r.bottom() + 1) <= 0)
            continue;
        const int intrusion = l.right() + 1 + kLabelGap - r.left();
        if (intrusion <= 0) continue;
        QSet<QWidget*> moved{label, s};
        s->move(r.topLeft() + QPoint(intrusion, 0));
        pushAside(s, Qt::Horizontal, r.right() + 1, intrusion, moved);
    }
}

// The least width of a group box for its title: the title as the style places
// it, with as much room after it as before it.
int titleWidth(const QGroupBox* g) {
    if (g->title().isEmpty()) return 0;
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.textAlignment = g->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label =
        g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    return label.right() + 1 + label.left();
}

// The least size of a button for its caption (and icon) inside the room its
// style gives them.
QSize buttonSize(const QPushButton* b) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    QSize text = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    if (!b->icon().isNull()) {
        text.rwidth() += b->iconSize().width() + 4;
        text.setHeight(std::max(text.height(), b->iconSize().height()));
    }
    return text + (b->size() - room.size());
}

// The least height of a combo box whose edit field holds a line of text with
// the pixel a line edit keeps above and below it.
int comboHeight(const QComboBox* c) {
    if (!c->isEditable()) return 0;
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = true;
    opt.frame = c->hasFrame();
    const QRect field =
        c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
    return c->height() + std::max(0, c->fontMetrics().height() + 2 - field.height());
}

QRect extentOf(const std::vector<QWidget*>& children) {
    QRect r;
    for (const QWidget* w : children) r |= w->geometry();
    return r;
}

// How far the controls inside a container reached before they were fitted to
// their texts, and after.
struct Reach {
    QRect before;
    QRect after;
    QSize growth() const {
        return {std::max(0, after.right() - before.right()),
                std::max(0, after.bottom() - before.bottom())};
    }
};

Reach fitInside(QWidget* container);

// A group keeps the room it had after its controls, up to this much, when they
// grow past its edge.
constexpr int kGroupMargin = 4;

int heldLength(int length, int farBefore, int farAfter) {
    return std::max(length, farAfter + 1 + std::min(kGroupMargin, length - (farBefore + 1)));
}

// Fits a control's own texts and what it holds; returns the least size it now needs.
QSize leastSize(QWidget* w) {
    if (auto* g = qobject_cast<RadioGroup*>(w))
        return g->leastSizeForItems().expandedTo({titleWidth(g), 0});
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        QSize growth;
        for (int i = 0; i < tabs->count(); ++i)
            growth = growth.expandedTo(fitInside(tabs->widget(i)).growth());
        return w->size() + growth;
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        const Reach reach = fitInside(g);
        if (reach.after.isEmpty()) return {titleWidth(g), 0};
        return {std::max(titleWidth(g),
                         heldLength(g->width(), reach.before.right(), reach.after.right())),
                heldLength(g->height(), reach.before.bottom(), reach.after.bottom())};
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) return buttonSize(b);
    if (auto* c = qobject_cast<QComboBox*>(w)) return {0, comboHeight(c)};
    if (auto* l = qobject_cast<QLabel*>(w)) {
        const QString widest = l->property(kWidestText).toString();
        if (!widest.isEmpty()) return {l->fontMetrics().horizontalAdvance(widest), 0};
    }
    return {};
}

// Grows the children of container to their texts.
Reach fitInside(QWidget* container) {
    const std::vector<QWidget*> children = shownChildren(container);
    const QRect before = extentOf(children);
    for (QWidget* w : children) {
        const QSize least = leastSize(w);
        growTo(w, Qt::Horizontal, least.width());
        growTo(w, Qt::Vertical, least.height());
        if (auto* label = qobject_cast<QLabel*>(w)) clearBeside(label);
    }
    return {before, extentOf(children)};
}

}  // namespace

void reserveRoomFor(QLabel* label, const QString& widest) {
    label->setProperty(kWidestText, widest);
}

QSize growToTexts(QWidget* form) {
    form->ensurePolished();
    return fitInside(form).growth();
}

}  // namespace tv
