// The result list as a table model: the list's cell texts, shown as they are.
#pragma once

#include <QAbstractTableModel>

#include "ui/core/result_list.h"

namespace kordel::qt {

class ResultModel final : public QAbstractTableModel, public ui::ResultListListener {
    Q_OBJECT
public:
    explicit ResultModel(ui::ResultList& list, QObject* parent = nullptr);
    ~ResultModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void RowsInserted(std::size_t first, std::size_t count) override;
    void RowsRemoved(std::size_t first, std::size_t count) override;
    void CellsChanged(std::size_t row) override;
    void ListReset() override;

private:
    ui::ResultList& m_list;
};

}  // namespace kordel::qt
