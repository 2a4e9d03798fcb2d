#include "editing/record_rows.h"

#include <algorithm>
#include <tuple>

#include "editing/record_fields.h"
#include "engine/date_text.h"
#include "engine/evaluate.h"
#include "engine/number.h"
#include "engine/placeholders.h"
#include "engine/tags.h"
#include "engine/text.h"

namespace merkwald {

namespace {

struct RowBuilder {
    ListRow& row;
    const std::vector<std::string>& groups;
    int text_count = 0;

    void add_text(std::string_view line) {
        if (text_count > 0) row.text += kLineEnd;
        row.text += line;
        ++text_count;
    }

    void apply(const std::string& name, const std::string& value, std::string_view prepared) {
        switch (find_tag(name)) {
            case Tag::color:
                if (auto n = to_int32(leading_value(value))) row.color = *n;
                return;
            case Tag::date: {
                row.date = value;
                const std::optional<DaySerial> d = parse_date(value);
                row.date_shown = d ? written_date(*d) : value;
                return;
            }
            case Tag::active_before:
                row.lead_time = value;
                return;
            case Tag::active:
                if (apply_active(find_active_value(value))) return;
                break;
            case Tag::periodic_repeat:
                row.frequency = "p(" + value + ")";
                return;
            case Tag::group:
                row.group.clear();
                for (const std::string& g : groups) {
                    if (equals_ignore_case(g, value)) row.group = g;
                }
                return;
            case Tag::record:
            case Tag::end_record:
            case Tag::active_day:
            case Tag::active_week:
                return;
            // The grid has no column for these: they stay in the text it shows.
            case Tag::add_file:
            case Tag::background:
            case Tag::priority:
            case Tag::active_after:
            case Tag::none:
                break;
        }
        add_text(prepared);
    }

    void add_line(std::string_view line) {
        std::string prepared(line);
        tabs_to_spaces(prepared);
        const SplitLine split = split_tag_line(prepared);
        apply(split.name, split.value, prepared);
    }

    void finish() {
        if (row.date_shown.empty() && row.frequency != "monatlich") row.frequency = "immer";
        row.text_lines = std::max(1, text_count);
    }

    // false: an `active` value the reader does not know, which is text.
    bool apply_active(ActiveValue active) {
        switch (active) {
            case ActiveValue::always:
                row.frequency = "immer";
                return true;
            case ActiveValue::once:
                row.frequency = "einmal";
                return true;
            case ActiveValue::monthly:
                row.frequency = "monatlich";
                return true;
            case ActiveValue::periodic:
                return true;
            case ActiveValue::none:
                break;
        }
        return false;
    }
};

using Key = std::tuple<std::int64_t, std::int64_t, std::int64_t, std::string>;

Key sort_key(const ListRow& row, int column, DateOrder order) {
    switch (column) {
        case 1:
            return {0, 0, 0, row.preview};
        case 2: {
            const Ymd d = ymd_of(row_date(row));
            if (order == DateOrder::year) return {d.year, d.month, d.day, {}};
            if (order == DateOrder::month) return {d.month, d.day, d.year, {}};
            return {d.day, d.month, d.year, {}};
        }
        case 3:
            return {row.color, 0, 0, {}};
        case 4:
            return {0, 0, 0, row.lead_time};
        case 5:
            return {0, 0, 0, row.frequency};
        default:
            return {0, 0, 0, row.group};
    }
}

// A row before its record's lines are read: what a record without tags shows.
ListRow empty_row(int number, std::uint32_t record_color) {
    ListRow row;
    row.record = number;
    row.color = record_color;
    row.frequency = "jährlich";
    return row;
}

ListRow row_of_lines(const std::vector<DocumentLine>& lines, const RecordBounds& bounds, int number,
                     const std::vector<std::string>& groups, std::uint32_t record_color) {
    ListRow row = empty_row(number, record_color);
    RowBuilder builder{row, groups};
    const auto last = std::min<long long>(bounds.end, static_cast<long long>(lines.size()));
    for (long long n = bounds.start + 1; n <= last; ++n)
        builder.add_line(lines[std::size_t(n - 1)].text);
    builder.finish();
    return row;
}

}  // namespace

ListRow read_row(const ReminderDocument& doc, const RecordBounds& bounds, int number,
                 const std::vector<std::string>& groups, std::uint32_t record_color) {
    return row_of_lines(doc.lines, bounds, number, groups, record_color);
}

ListRow row_of_content(const std::string& content, int number,
                       const std::vector<std::string>& groups, std::uint32_t record_color) {
    ListRow row = empty_row(number, record_color);
    RowBuilder builder{row, groups};
    // The record's own `<record>` line, when it has one, is passed over as read_row passes it.
    for (std::size_t pos = 0; pos < content.size();) {
        const std::size_t end = content.find('\n', pos);
        builder.add_line(std::string_view(content).substr(pos, end - pos));
        pos = end == std::string::npos ? content.size() : end + 1;
    }
    builder.finish();
    return row;
}

void expand_preview(ListRow& row, EngineState& state, const std::string& file_name, long long line,
                    MessageSink& sink) {
    const DaySerial record_date = parse_date(row.date).value_or(state.today);
    const DaySerial event_date =
        next_anniversary({.date = record_date, .today = state.today}).value_or(record_date);
    row.preview = expand_placeholders(state, row.text, {.record = record_date, .event = event_date},
                                      {file_name, line}, sink)
                      .text;
    // The grid shows the preview only: the text is not kept beside it.
    std::string().swap(row.text);
}

std::vector<std::string> group_names(const EngineState& state) {
    std::vector<std::string> names;
    for (int i = 1; i <= state.group_count && i < kGroupSlots; ++i) {
        names.push_back(state.groups[std::size_t(i)]);
    }
    return names;
}

FilledRows fill_rows(const std::filesystem::path& file, EngineState& state, MessageSink& sink) {
    FilledRows filled;
    std::string bytes;
    const FileRead read = read_regular_file(file, bytes);
    if (!read.ok) {
        sink.show_message(read_failure_text(file, read.message), MessageIcon::critical);
        return filled;
    }
    {
        // The lines are looked at in place: a large file is not held a second
        // time line by line, and the text is let go before the rows are made.
        const FileText text = decode_text(std::move(bytes));
        const std::vector<std::string_view> lines = line_views(text.text);
        filled.records = record_bounds(lines);
        filled.contents.reserve(filled.records.size());
        for (const RecordBounds& bounds : filled.records)
            filled.contents.push_back(record_content(lines, bounds));
    }
    filled.stamp = read.stamp;
    filled.rows.reserve(filled.records.size());
    const std::vector<std::string> groups = group_names(state);
    const std::string file_name = file.string();
    for (std::size_t k = 0; k < filled.records.size(); ++k) {
        ListRow row = row_of_content(filled.contents[k], static_cast<int>(k) + 1, groups,
                                     state.settings.record_color);
        expand_preview(row, state, file_name, filled.records[k].end, sink);
        filled.rows.push_back(std::move(row));
    }
    filled.ok = true;
    return filled;
}

DaySerial row_date(const ListRow& row) { return parse_date(row.date).value_or(DaySerial{0}); }

std::vector<std::size_t> sorted_order(const std::vector<const ListRow*>& rows, int column,
                                      DateOrder order, bool descending) {
    std::vector<std::size_t> positions(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) positions[i] = i;
    if (column < 1 || column > 7) return positions;
    std::vector<Key> keys;
    keys.reserve(rows.size());
    for (const ListRow* row : rows) keys.push_back(sort_key(*row, column, order));
    std::stable_sort(positions.begin(), positions.end(),
                     [&keys, descending](std::size_t a, std::size_t b) {
                         return descending ? keys[b] < keys[a] : keys[a] < keys[b];
                     });
    return positions;
}

void sort_rows(std::vector<ListRow>& rows, int column, DateOrder order, bool descending) {
    if (column < 1 || column > 7) return;
    std::vector<const ListRow*> pointers;
    pointers.reserve(rows.size());
    for (const ListRow& row : rows) pointers.push_back(&row);
    const std::vector<std::size_t> positions = sorted_order(pointers, column, order, descending);
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t p : positions) sorted.push_back(std::move(rows[p]));
    rows = std::move(sorted);
}

bool is_expired_once(const ListRow& row, DaySerial today) {
    if (row.frequency != "einmal") return false;
    const std::optional<DaySerial> date = parse_date(row.date);
    return date && *date < today;
}

}  // namespace merkwald
