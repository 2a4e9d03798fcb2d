#include "editors/records/record_table_model.h"

#include <algorithm>

#include "settings/qt_bridges.h"

namespace merkwald {

namespace {

// A preview ends at its last text line: the grid shows no empty lines below it.
QString shown_text(const std::string& text) {
    QString shown = to_qstring(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    return shown;
}

QString column_heading(int section) {
    switch (section) {
        case 0:
            return QStringLiteral("Nr.");
        case 1:
            return QStringLiteral(
                "Textvorschau (nicht immer exakt, v.a. bei monatl. und period. Datensätzen)");
        case 2:
            return QStringLiteral("Datum");
        case 3:
            return QStringLiteral("Farbe");
        case 4:
            return QStringLiteral("Vorl.");
        case 5:
            return QStringLiteral("wie oft");
        case 6:
            return QStringLiteral("Gruppe");
        default:
            return {};
    }
}

}  // namespace

RecordTableModel::RecordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    const ListRow& row = rows_[std::size_t(index.row())];
    switch (index.column()) {
        case 0:
            return QString::number(index.row() + 1);
        case 1:
            return shown_text(row.preview);
        case 2:
            return to_qstring(row.date_shown);
        case 3:
            return QString::number(row.color);
        case 4:
            return to_qstring(row.lead_time);
        case 5:
            return to_qstring(row.frequency);
        case 6:
            return to_qstring(row.group);
        default:
            return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return column_heading(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void RecordTableModel::reset_rows(std::vector<ListRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

std::pair<int, int> RecordTableModel::rearrange_rows(const std::vector<int>& from,
                                                     std::vector<ListRow> fresh,
                                                     const std::vector<int>& records) {
    const int before = rowCount();
    const int now = static_cast<int>(from.size());
    const int common = std::min(before, now);
    int head = 0;
    while (head < common && from[std::size_t(head)] == head) ++head;
    int tail = 0;
    while (tail < common - head && from[std::size_t(now - 1 - tail)] == before - 1 - tail) ++tail;
    // The kept rows move over instead of being copied; nothing is shown in between.
    std::vector<ListRow> rows;
    rows.reserve(from.size());
    for (std::size_t i = 0; i < from.size(); ++i) {
        rows.push_back(from[i] >= 0 ? std::move(rows_[std::size_t(from[i])])
                                    : std::move(fresh[std::size_t(-1 - from[i])]));
        rows.back().record = records[i];
    }
    return replace_middle(std::move(rows), head, tail);
}

std::pair<int, int> RecordTableModel::replace_middle(std::vector<ListRow> rows, int head,
                                                     int tail) {
    const int old_middle = rowCount() - head - tail;
    const int new_middle = static_cast<int>(rows.size()) - head - tail;
    const int kept = std::min(old_middle, new_middle);
    if (old_middle > kept) {
        beginRemoveRows({}, head + kept, head + old_middle - 1);
        rows_ = std::move(rows);
        endRemoveRows();
    } else if (new_middle > kept) {
        beginInsertRows({}, head + kept, head + new_middle - 1);
        rows_ = std::move(rows);
        endInsertRows();
    } else {
        // The record numbers behind the rows may have moved without showing.
        rows_ = std::move(rows);
    }
    if (kept > 0) emit dataChanged(index(head, 0), index(head + kept - 1, kGridColumns - 1));
    return {head, head + new_middle};
}

}  // namespace merkwald
