// The result list as a Qt table model.
#include "ui/qt/result_model.h"

#include "ui/core/result_cells.h"

namespace kordel::qt {

ResultModel::ResultModel(ui::ResultList& list, QObject* parent) : QAbstractTableModel(parent), m_list(list) {
    m_list.SetListener(this);
}

ResultModel::~ResultModel() { m_list.SetListener(nullptr); }

int ResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.RowCount());
}

int ResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.ColumnCount());
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    // Paths are shown as the bytes the file system gave, read as UTF-8 where they are.
    return QString::fromStdString(
        ui::CellText(m_list, static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.column())));
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const auto& columns = ui::ListColumns(m_list.percentColumns());
    if (section < 0 || section >= static_cast<int>(columns.size())) return {};
    const auto title = columns[static_cast<std::size_t>(section)].title;
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

void ResultModel::RowsInserted(std::size_t first, std::size_t count) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(first + count - 1));
    endInsertRows();
}

void ResultModel::RowsRemoved(std::size_t first, std::size_t count) {
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(first + count - 1));
    endRemoveRows();
}

void ResultModel::CellsChanged(std::size_t row) {
    const int r = static_cast<int>(row);
    emit dataChanged(index(r, 0), index(r, columnCount() - 1), {Qt::DisplayRole});
}

void ResultModel::ListReset() {
    beginResetModel();
    endResetModel();
}

}  // namespace kordel::qt
