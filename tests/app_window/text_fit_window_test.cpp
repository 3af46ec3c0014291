// Every text on screen is drawn whole: measured with each control's own font
// against the room its style gives the text, and against the controls beside it.
#include <QFontInfo>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTableView>
#include <optional>

#include "tests/support/window_fixture.h"

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
    return w->objectName().toStdString();
}

std::string str(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

// What is cut or covered among the visible controls of the window, one line each.
std::vector<std::string> textFaults(const QWidget& window) {
    std::vector<std::string> faults;
    PaintedPixels painted;
    int measured = 0;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
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

// ChannelGrid: every column as wide as its title and its cells need, all eight
// rows shown above the sideways scroll bar.
std::vector<std::string> gridFaults(const QTableView& grid) {
    std::vector<std::string> faults;
    for (int c = 0; c < grid.model()->columnCount(); ++c) {
        if (grid.columnWidth(c) <
            std::max(grid.horizontalHeader()->sectionSizeHint(c),
                     static_cast<const QAbstractItemView&>(grid).sizeHintForColumn(c)))
            faults.push_back("column " + std::to_string(c) + " narrower than its texts");
    }
    if (grid.rowViewportPosition(7) + grid.rowHeight(7) > grid.viewport()->height())
        faults.push_back("ch7 hidden below the grid's view");
    return faults;
}

class TextFitWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
#ifdef _WIN32
        GTEST_SKIP() << "Qt's offscreen platform on Windows has no font database, so no text "
                        "can be measured there";
#endif
    }
};

TEST_F(TextFitWindowTest, TheProgramsFontsAreTheOnesMeasured) {
    start();
    EXPECT_EQ(QFontInfo(control<QLabel>("Label1")->font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(control<QLineEdit>("Edit9")->font()).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(QFontInfo(control<QPlainTextEdit>("Memo3")->font()).family(),
              QStringLiteral("IPAGothic"));
}

TEST_F(TextFitWindowTest, NoTextIsCutOrDrawnUnderAnotherControl) {
    struct Case {
        const char* page;
        bool longResults;  // LocalOutput 1001, Multiplier 3, STD 13: VCO and PD of 16 digits
    };
    const Case cases[] = {
        {"TabSheet1", false}, {"TabSheet2", false}, {"TabSheet2", true},
        {"TabSheet3", false}, {"TabSheet4", false}, {"TabSheet4", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.page) + (c.longResults ? " with long results" : ""));
        start();
        if (c.longResults) {
            typeInto(control<QLineEdit>("Edit1"), QStringLiteral("1001"));
            typeInto(control<QLineEdit>("Edit2"), QStringLiteral("3"));
            typeInto(control<QLineEdit>("Edit3"), QStringLiteral("13"));
            click(control<QPushButton>("Button4"));
            ASSERT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("333.666666666667"));
            ASSERT_EQ(control<QLabel>("Label11")->text(), QStringLiteral("4333.33333333333"));
            click(control<QPushButton>("Button14"));  // the long figures in the grid too
        }
        control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>(c.page));
        EXPECT_EQ(textFaults(*m_form), std::vector<std::string>{});
        EXPECT_EQ(gridFaults(*control<QTableView>("ChannelGrid")), std::vector<std::string>{});
        m_form.reset();
    }
}

}  // namespace
}  // namespace tv::testing
