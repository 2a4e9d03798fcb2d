#pragma once
// The record list's grid as a model: the rows live here once, the view asks
// for what it paints. After a change of the file only the rows that differ
// are announced, so the view keeps its place and its work stays small.

#include <QAbstractTableModel>
#include <vector>

#include "editors/record_rows.h"

namespace merkwald {

inline constexpr int kGridColumns = 8;

// What the grid shows of a row: everything but the record number it maps to.
[[nodiscard]] bool same_shown(const ListRow& a, const ListRow& b);

// The rows that differ between two versions of the grid: the first `head`
// rows and the last `tail` rows show the same, the rest does not.
struct RowChange {
    int head = 0;
    int tail = 0;
};
[[nodiscard]] RowChange row_change(const std::vector<ListRow>& before,
                                   const std::vector<ListRow>& after);

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
    // The same grid after a change: rows that show the same stay as they are,
    // the others are changed in place, removed or inserted. Answers the rows
    // of `rows` that were changed or inserted, [first, last).
    std::pair<int, int> update_rows(std::vector<ListRow> rows);

private:
    std::vector<ListRow> rows_;
};

}  // namespace merkwald
