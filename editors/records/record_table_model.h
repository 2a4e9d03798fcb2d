#pragma once
// The record list's grid as a model: the rows live here once, the view asks
// for what it paints. After a change of the file only the rows that differ
// are announced, so the view keeps its place and its work stays small.

#include <QAbstractTableModel>
#include <vector>

#include "editing/record_rows.h"

namespace merkwald {

inline constexpr int kGridColumns = 8;

class RecordTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordTableModel(QObject* parent);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    [[nodiscard]] const std::vector<ListRow>& rows() const { return rows_; }

    // Other rows altogether (another file, another order).
    void reset_rows(std::vector<ListRow> rows);
    // The same grid after a change: row i of the grid after the change is
    // the row now shown at `from[i]` (>= 0), kept as it is, or
    // fresh[-1 - from[i]]; it maps to record `records[i]`. Rows kept in
    // place at the head and the tail are not announced, the others are
    // changed in place, removed or inserted. Answers the rows that were
    // changed or inserted, [first, last).
    std::pair<int, int> rearrange_rows(const std::vector<int>& from, std::vector<ListRow> fresh,
                                       const std::vector<int>& records);

private:
    // Announces that rows [head, size - tail) of the grid are replaced by
    // those of `rows`, which then become the grid.
    std::pair<int, int> replace_middle(std::vector<ListRow> rows, int head, int tail);

    std::vector<ListRow> rows_;
};

}  // namespace merkwald
