#pragma once
// ChannelGrid's model: a view of the window's channel table. It holds nothing of
// its own; every cell is read from the table (and the baseline and the unit's
// memory the window keeps) when the grid asks for it.
#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <optional>
#include <string>

#include "device/channel_image.h"
#include "device/channel_rows.h"
#include "device/channel_table.h"

namespace tv {

// What the grid shows, owned by the window.
struct ChannelGridSource {
    const ChannelTable* table = nullptr;
    // The table as the last whole Write sent it (the empty table before any):
    // cells that differ from it are marked.
    const ChannelTable* written = nullptr;
    // The unit's memory of the last Read unit whose memory came.
    const std::optional<ChannelImage>* unit = nullptr;
    std::function<int32_t()> variant;
    std::function<std::string()> decimalSeparator;
};

class ChannelGridModel : public QAbstractTableModel {
public:
    // The marks' colours: a cell not written yet, a word the unit holds
    // otherwise, counters that break a rule of the chip.
    static inline const QColor kNotWritten{255, 232, 150};
    static inline const QColor kUnitDiffers{255, 186, 186};
    static inline const QColor kRuleBroken{255, 186, 186};

    ChannelGridModel(ChannelGridSource source, QObject* parent);

    // The table, the baseline, the unit's memory or the variant changed.
    void refresh();
    ChannelColumn columnAt(int column) const;
    // "same", or the words the unit holds where they differ from the table's
    // ("NReg 00026900"); empty before a Read unit.
    std::string unitText(std::size_t channel) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool notWritten(std::size_t channel, ChannelColumn column) const;

    ChannelGridSource m_source;
    std::vector<ChannelColumn> m_columns;
};

}  // namespace tv
