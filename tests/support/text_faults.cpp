#include "tests/support/text_faults.h"

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <optional>

namespace tv::testing {

namespace {

// Where a control lays out its text, the room it has for it and where the
// glyphs really fall (ink), in its own pixels.
struct TextPlace {
    QRect drawn;
    QRect room;
    QRect ink;
};

// The glyphs of a text laid out at the top left of its rect, on its baseline.
TextPlace withInk(const QWidget* w, const QString& text, const QRect& drawn, const QRect& room) {
    const QFontMetrics fm = w->fontMetrics();
    return TextPlace{
        drawn, room,
        fm.tightBoundingRect(text).translated(drawn.left(), drawn.top() + fm.ascent())};
}

QRect aligned(const QWidget* w, Qt::Alignment alignment, const QSize& size, const QRect& room) {
    return QStyle::alignedRect(w->layoutDirection(), alignment, size, room);
}

QSize textSize(const QWidget* w, const QString& text, int flags = 0) {
    return w->fontMetrics().size(flags, text);
}

QStyleOptionGroupBox groupOption(const QGroupBox* g) {
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.textAlignment = g->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return opt;
}

QRect groupPart(const QGroupBox* g, QStyle::SubControl part) {
    const QStyleOptionGroupBox opt = groupOption(g);
    return g->style()->subControlRect(QStyle::CC_GroupBox, &opt, part, g);
}

// Whether a control paints any pixel of r (in its parent's pixels) by itself,
// without its children: a group box paints its frame and title only, an edit
// all of its box.
class PaintedPixels {
public:
    bool inside(const QWidget* w, const QRect& r) {
        const QRect local = r.translated(-w->pos()).intersected(w->rect());
        if (local.isEmpty()) return false;
        const QImage& image = imageOf(w);
        for (int y = local.top(); y <= local.bottom(); ++y)
            for (int x = local.left(); x <= local.right(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0) return true;
        return false;
    }

    // Whether a group box draws its frame line into r (its own pixels): any pixel
    // other than its plain inside, which is the colour at its centre.
    bool frameInside(const QGroupBox* g, const QRect& r) {
        const QImage& image = imageOf(g);
        const QRgb inside = image.pixel(g->rect().center());
        const QRect local = r.intersected(g->rect());
        for (int y = local.top(); y <= local.bottom(); ++y)
            for (int x = local.left(); x <= local.right(); ++x)
                if (image.pixel(x, y) != inside) return true;
        return false;
    }

private:
    const QImage& imageOf(const QWidget* w) {
        auto it = m_images.find(w);
        if (it == m_images.end()) {
            QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            const_cast<QWidget*>(w)->render(&image, QPoint(), QRegion(), {});
            it = m_images.insert(w, image);
        }
        return *it;
    }

    QHash<const QWidget*, QImage> m_images;
};

std::optional<TextPlace> textPlace(const QWidget* w) {
    if (auto* r = qobject_cast<const QRadioButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(r);
        opt.text = r->text();
        const QRect room = r->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, r);
        return withInk(r, opt.text,
                       aligned(r, Qt::AlignLeft | Qt::AlignVCenter, textSize(r, opt.text), room),
                       room);
    }
    if (auto* b = qobject_cast<const QPushButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
        QSize need = textSize(b, opt.text, Qt::TextShowMnemonic);
        if (!b->icon().isNull()) need.rwidth() += b->iconSize().width() + 4;
        const QRect drawn = aligned(b, Qt::AlignCenter, need, room);
        return TextPlace{drawn, room, drawn};
    }
    if (auto* g = qobject_cast<const QGroupBox*>(w)) {
        if (g->title().isEmpty()) return std::nullopt;
        return withInk(g, g->title(), groupPart(g, QStyle::SC_GroupBoxLabel), g->rect());
    }
    if (auto* l = qobject_cast<const QLabel*>(w)) {
        const QRect room = l->contentsRect();
        return withInk(l, l->text(), aligned(l, l->alignment(), textSize(l, l->text()), room),
                       room);
    }
    if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(e);
        opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        // The edit keeps two pixels each side and one above and below its text.
        const QRect room = e->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &opt, e)
                               .marginsRemoved(e->textMargins())
                               .adjusted(2, 1, -2, -1);
        return withInk(e, e->text(),
                       aligned(e, Qt::AlignLeft | Qt::AlignVCenter, textSize(e, e->text()), room),
                       room);
    }
    return std::nullopt;
}

std::string nameOf(const QWidget* w) {
    if (auto* r = qobject_cast<const QRadioButton*>(w))
        return w->parentWidget()->objectName().toStdString() + " item \"" +
               r->text().toStdString() + "\"";
    // A part of a control (a combo box's edit) is named after the control.
    if (w->objectName().isEmpty() && w->parentWidget())
        return nameOf(w->parentWidget()) + " " + w->metaObject()->className();
    return w->objectName().toStdString();
}

std::string str(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

// The sections of a table header whose text is wider than the section.
void headerFaults(const QHeaderView* h, std::vector<std::string>& faults) {
    const QAbstractItemModel* model = h->model();
    if (!model) return;
    const int margin = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    for (int i = 0; i < h->count(); ++i) {
        if (h->isSectionHidden(i)) continue;
        const QString text = model->headerData(i, h->orientation()).toString();
        const QSize need = h->fontMetrics().size(0, text) + QSize(2 * margin, 2 * margin);
        const int size = h->sectionSize(i);
        const int needed = h->orientation() == Qt::Horizontal ? need.width() : need.height();
        if (needed > size)
            faults.push_back(h->parentWidget()->objectName().toStdString() + " header \"" +
                             text.toStdString() + "\": needs " + std::to_string(needed) + ", has " +
                             std::to_string(size));
    }
}

}  // namespace

std::vector<std::string> textFaults(const QWidget& window) {
    std::vector<std::string> faults;
    PaintedPixels painted;
    int measured = 0;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (auto* h = qobject_cast<const QHeaderView*>(w)) headerFaults(h, faults);
        const std::optional<TextPlace> place = textPlace(w);
        if (!place || place->drawn.isEmpty()) continue;
        if (!place->room.contains(place->drawn))
            faults.push_back(nameOf(w) + ": text " + str(place->drawn) + " cut by its room " +
                             str(place->room));
        ++measured;
        // Beside other controls only the glyphs count, and only where a neighbour
        // paints: the designer's group frames share their edge lines.
        const QRect inParent = place->ink.translated(w->pos());
        const QWidget* parent = w->parentWidget();
        auto* group = qobject_cast<const QGroupBox*>(parent);
        // Inside a group the frame line is no room for text.
        const QRect parentRoom = group ? parent->rect().adjusted(1, 1, -1, -1) : parent->rect();
        if (group && painted.frameInside(group, inParent))
            faults.push_back(nameOf(w) + ": text " + str(inParent) + " crossed by the frame of " +
                             parent->objectName().toStdString());
        if (!parentRoom.contains(inParent))
            faults.push_back(nameOf(w) + ": text " + str(inParent) + " cut by " +
                             parent->objectName().toStdString() + " " + str(parentRoom));
        for (const QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling == w || !sibling->isVisible() || sibling->isWindow()) continue;
            if (painted.inside(sibling, inParent))
                faults.push_back(nameOf(w) + ": text " + str(inParent) + " under " +
                                 nameOf(sibling) + " " + str(sibling->geometry()));
        }
    }
    if (measured == 0) faults.push_back("no text measured");
    return faults;
}

}  // namespace tv::testing
