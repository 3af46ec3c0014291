#pragma once
// The Channels page: ChannelGrid, a view of the channel table with the unit's
// words beside it, and the buttons that read a unit, take its channels and open
// and save headers through a file dialog.
#include <memory>

#include "app/pages/channel_grid_model.h"

class QPushButton;
class QTabWidget;
class QTableView;
class QWidget;

namespace tv {

class ChannelsPage {
public:
    QWidget* TabSheet4;
    QTableView* ChannelGrid;
    QPushButton *ReadUnitButton, *TakeUnitButton, *OpenHeaderButton, *SaveHeaderAsButton;

    ChannelGridModel& channelGridModel() { return *m_gridModel; }

protected:
    ~ChannelsPage() = default;
    // Adds the page "Channels" after the pages already there, with its controls.
    void buildChannelsPage(QTabWidget* pageControl, ChannelGridSource source);
    // The table or what is known of the unit changed: the grid shows it now.
    void showChannels();

private:
    ChannelGridModel* m_gridModel = nullptr;  // owned by the grid
};

}  // namespace tv
