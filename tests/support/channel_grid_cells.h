#pragma once
// ChannelGrid read as the operator reads it: a cell by its row and column title.
#include <QAbstractItemModel>
#include <QTableView>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace tv::testing {

inline std::vector<std::string> gridTitles(const QTableView* grid) {
    std::vector<std::string> titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles.push_back(grid->model()->headerData(c, Qt::Horizontal).toString().toStdString());
    return titles;
}

inline QVariant gridData(const QTableView* grid, int row, const std::string& title,
                         int role = Qt::DisplayRole) {
    const std::vector<std::string> titles = gridTitles(grid);
    const auto column = std::find(titles.begin(), titles.end(), title) - titles.begin();
    if (column == static_cast<long>(titles.size())) throw std::logic_error("no column " + title);
    return grid->model()->data(grid->model()->index(row, static_cast<int>(column)), role);
}

inline std::string gridText(const QTableView* grid, int row, const std::string& title) {
    return gridData(grid, row, title).toString().toStdString();
}

// Whether a cell is marked (highlighted by its background).
inline bool gridMarked(const QTableView* grid, int row, const std::string& title) {
    return gridData(grid, row, title, Qt::BackgroundRole).isValid();
}

}  // namespace tv::testing
