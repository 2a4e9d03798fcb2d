#include "editors/record_table_model.h"

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

bool same_shown(const ListRow& a, const ListRow& b) {
    return a.preview == b.preview && a.date_shown == b.date_shown && a.color == b.color &&
           a.lead_time == b.lead_time && a.frequency == b.frequency && a.group == b.group &&
           a.text_lines == b.text_lines && a.date == b.date && a.text == b.text;
}

RowChange row_change(const std::vector<ListRow>& before, const std::vector<ListRow>& after) {
    const std::size_t common = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < common && same_shown(before[head], after[head])) ++head;
    std::size_t tail = 0;
    while (tail < common - head &&
           same_shown(before[before.size() - 1 - tail], after[after.size() - 1 - tail])) {
        ++tail;
    }
    return {static_cast<int>(head), static_cast<int>(tail)};
}

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

std::pair<int, int> RecordTableModel::update_rows(std::vector<ListRow> rows) {
    const RowChange change = row_change(rows_, rows);
    const int old_middle = rowCount() - change.head - change.tail;
    const int new_middle = static_cast<int>(rows.size()) - change.head - change.tail;
    const int kept = std::min(old_middle, new_middle);
    const auto at = [this](int row) { return rows_.begin() + row; };
    if (old_middle > kept) {
        beginRemoveRows({}, change.head + kept, change.head + old_middle - 1);
        rows_.erase(at(change.head + kept), at(change.head + old_middle));
        endRemoveRows();
    } else if (new_middle > kept) {
        beginInsertRows({}, change.head + kept, change.head + new_middle - 1);
        const auto from = rows.begin() + change.head + kept;
        rows_.insert(at(change.head + kept), from, from + (new_middle - kept));
        endInsertRows();
    }
    // The record numbers behind the rows may have moved without showing.
    rows_ = std::move(rows);
    if (kept > 0) {
        emit dataChanged(index(change.head, 0), index(change.head + kept - 1, kGridColumns - 1));
    }
    return {change.head, change.head + new_middle};
}

}  // namespace merkwald
