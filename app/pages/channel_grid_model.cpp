#include "app/pages/channel_grid_model.h"

#include <QApplication>
#include <QStyle>

#include "app/qt_text.h"
#include "device/unit_memory.h"
#include "os/hex_text.h"

namespace tv {

namespace {

constexpr const char* kWordNames[] = {"InitReg", "RefReg", "NReg", "FuncReg"};

std::array<int32_t, 4> wordsOf(const ChannelTable& t, std::size_t c) {
    // The image's order: the order the unit holds them in.
    return {t.InitReg[c], t.RefReg[c], t.NReg[c], t.FuncReg[c]};
}

bool isCounter(ChannelColumn column) {
    return column == ChannelColumn::R || column == ChannelColumn::N || column == ChannelColumn::B ||
           column == ChannelColumn::A;
}

}  // namespace

ChannelGridModel::ChannelGridModel(ChannelGridSource source, QObject* parent)
    : QAbstractTableModel(parent), m_source(std::move(source)) {
    m_columns = channelColumns(m_source.variant());
}

void ChannelGridModel::refresh() {
    beginResetModel();
    m_columns = channelColumns(m_source.variant());
    endResetModel();
}

ChannelColumn ChannelGridModel::columnAt(int column) const {
    return m_columns.at(static_cast<std::size_t>(column));
}

int ChannelGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ChannelTable::kChannels;
}

int ChannelGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

std::string ChannelGridModel::unitText(std::size_t channel) const {
    if (!m_source.unit->has_value()) return {};
    const ChannelTable held = channelsFromImage(**m_source.unit);
    // The words as the unit holds them: a negative word of the table is laid
    // out otherwise, so the comparison is of images, word by word.
    const ChannelImage table = channelImage(*m_source.table);
    const ChannelTable tableAsHeld = channelsFromImage(table);
    const auto mine = wordsOf(tableAsHeld, channel);
    const auto theirs = wordsOf(held, channel);
    std::string text;
    for (std::size_t w = 0; w < mine.size(); ++w) {
        if (mine[w] == theirs[w]) continue;
        if (!text.empty()) text += ", ";
        text += std::string(kWordNames[w]) + " " + hexText(theirs[w]);
    }
    return text.empty() ? "same" : text;
}

bool ChannelGridModel::notWritten(std::size_t c, ChannelColumn column) const {
    const ChannelTable& t = *m_source.table;
    const ChannelTable& w = *m_source.written;
    switch (column) {
        case ChannelColumn::Description:
            return t.description[c] != w.description[c];
        case ChannelColumn::InitReg:
            return t.InitReg[c] != w.InitReg[c];
        case ChannelColumn::RefReg:
            return t.RefReg[c] != w.RefReg[c];
        case ChannelColumn::NReg:
            return t.NReg[c] != w.NReg[c];
        case ChannelColumn::FuncReg:
            return t.FuncReg[c] != w.FuncReg[c];
        default:
            return false;
    }
}

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto c = static_cast<std::size_t>(index.row());
    const ChannelColumn column = columnAt(index.column());
    const ChannelRow row =
        channelRow(*m_source.table, c, m_source.variant(), m_source.decimalSeparator());
    switch (role) {
        case Qt::DisplayRole:
            return q(column == ChannelColumn::Unit ? unitText(c) : row.text(column));
        case Qt::ToolTipRole:
            // The whole rule line, as Memo2 gives it, wherever the row is pointed at.
            if (!row.ruleLine.empty()) return q(row.ruleLine);
            if (column == ChannelColumn::Description && !row.description.empty())
                return q(row.description);
            return {};
        case Qt::DecorationRole:
            if (column == ChannelColumn::Ch && !row.ruleLine.empty())
                return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            return {};
        case Qt::BackgroundRole: {
            if (column == ChannelColumn::Unit) {
                const std::string text = unitText(c);
                if (!text.empty() && text != "same") return kUnitDiffers;
                return {};
            }
            if ((column == ChannelColumn::Ch || isCounter(column)) && !row.ruleLine.empty())
                return kRuleBroken;
            if (notWritten(c, column)) return kNotWritten;
            return {};
        }
        case Qt::TextAlignmentRole:
            if (isCounter(column) || column == ChannelColumn::PD || column == ChannelColumn::VCO)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= columnCount()) return {};
    return QString::fromLatin1(channelColumnTitle(columnAt(section)));
}

}  // namespace tv
