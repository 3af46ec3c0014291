#include "app/pages/channels_page.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>

#include "app/pages/form_controls.h"

namespace tv {

namespace {

constexpr int kMargin = 8;
constexpr int kGap = 8;

// The grid's height for its header and eight rows, with room for the sideways
// scroll bar, so no row is ever hidden behind it.
int gridHeight(const QTableView* grid) {
    const int rows = grid->verticalHeader()->defaultSectionSize() * 8;
    const int header = grid->horizontalHeader()->sizeHint().height();
    const int bar = grid->horizontalScrollBar()->sizeHint().height();
    return rows + header + bar + 2 * grid->frameWidth();
}

}  // namespace

void ChannelsPage::buildChannelsPage(QTabWidget* pageControl, ChannelGridSource source) {
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    pageControl->addTab(TabSheet4, QStringLiteral("Channels"));

    ChannelGrid = new QTableView(TabSheet4);
    ChannelGrid->setObjectName(QStringLiteral("ChannelGrid"));
    m_gridModel = new ChannelGridModel(std::move(source), ChannelGrid);
    ChannelGrid->setModel(m_gridModel);
    ChannelGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ChannelGrid->setSelectionMode(QAbstractItemView::NoSelection);
    // One Tab stop: the arrow keys move through the cells (and scroll sideways),
    // Tab goes on to the buttons.
    ChannelGrid->setFocusPolicy(Qt::StrongFocus);
    ChannelGrid->setTabKeyNavigation(false);
    // No label stands beside the grid: a screen reader says the page's name.
    ChannelGrid->setAccessibleName(QStringLiteral("Channels"));
    ChannelGrid->verticalHeader()->hide();  // the "ch" column names the rows
    ChannelGrid->verticalHeader()->setDefaultSectionSize(ChannelGrid->fontMetrics().height() + 6);
    ChannelGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ChannelGrid->horizontalHeader()->setHighlightSections(false);
    ChannelGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ChannelGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ChannelGrid->setWordWrap(false);
    ChannelGrid->setTextElideMode(Qt::ElideNone);

    ReadUnitButton = makeButton(TabSheet4, "ReadUnitButton", QStringLiteral("Read unit"), 0, 0);
    TakeUnitButton =
        makeButton(TabSheet4, "TakeUnitButton", QStringLiteral("Take unit's channels"), 0, 0);
    OpenHeaderButton =
        makeButton(TabSheet4, "OpenHeaderButton", QStringLiteral("Open header…"), 0, 0);
    SaveHeaderAsButton =
        makeButton(TabSheet4, "SaveHeaderAsButton", QStringLiteral("Save header as…"), 0, 0);
    TakeUnitButton->setEnabled(false);  // until a Read unit brings the memory

    const int width = pageControl->width() - 2 * kMargin - 8;  // inside the page's frame
    place(ChannelGrid, kMargin, kMargin, width, gridHeight(ChannelGrid));
    // The buttons in a row below the grid, each as wide as its caption needs.
    int left = kMargin;
    const int top = ChannelGrid->geometry().bottom() + 1 + 2 * kGap;
    for (QPushButton* b : {ReadUnitButton, TakeUnitButton, OpenHeaderButton, SaveHeaderAsButton}) {
        const int w = std::max(75, b->sizeHint().width());
        place(b, left, top, w, 25);
        left += w + kGap;
    }
    showChannels();
}

void ChannelsPage::showChannels() {
    m_gridModel->refresh();
    ChannelGrid->resizeColumnsToContents();
}

}  // namespace tv
