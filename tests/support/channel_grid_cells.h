#pragma once
// ChannelGrid read as the operator reads it: a cell by its row and column title.
#include <QAbstractItemModel>
#include <QTableView>
#include <stdexcept>
#include <string>
#include <vector>

namespace tv::testing {

inline int gridColumn(const QTableView* grid, const std::string& title) {
    const QAbstractItemModel* m = grid->model();
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal).toString().toStdString() == title) return c;
    throw std::logic_error("ChannelGrid has no column " + title);
}

inline QVariant gridData(const QTableView* grid, int row, const std::string& title,
                         int role = Qt::DisplayRole) {
    const QAbstractItemModel* m = grid->model();
    return m->data(m->index(row, gridColumn(grid, title)), role);
}

inline std::string gridText(const QTableView* grid, int row, const std::string& title) {
    return gridData(grid, row, title).toString().toStdString();
}

// Whether a cell is marked (highlighted by its background).
inline bool gridMarked(const QTableView* grid, int row, const std::string& title) {
    return gridData(grid, row, title, Qt::BackgroundRole).isValid();
}

inline std::vector<std::string> gridTitles(const QTableView* grid) {
    std::vector<std::string> titles;
    const QAbstractItemModel* m = grid->model();
    for (int c = 0; c < m->columnCount(); ++c)
        titles.push_back(m->headerData(c, Qt::Horizontal).toString().toStdString());
    return titles;
}

}  // namespace tv::testing
