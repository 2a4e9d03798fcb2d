#include "editors/record_rows.h"

#include <algorithm>
#include <tuple>

#include "editors/record_fields.h"
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

}  // namespace

ListRow read_row(const ReminderDocument& doc, const RecordBounds& bounds, int number,
                 const std::vector<std::string>& groups, std::uint32_t record_color) {
    ListRow row;
    row.record = number;
    row.color = record_color;
    row.frequency = "jährlich";
    RowBuilder builder{row, groups};
    const auto last = std::min<long long>(bounds.end, static_cast<long long>(doc.lines.size()));
    for (long long n = bounds.start + 1; n <= last; ++n) {
        std::string prepared = doc.lines[std::size_t(n - 1)].text;
        tabs_to_spaces(prepared);
        const SplitLine split = split_tag_line(prepared);
        builder.apply(split.name, split.value, prepared);
    }
    if (row.date_shown.empty() && row.frequency != "monatlich") row.frequency = "immer";
    row.text_lines = std::max(1, builder.text_count);
    return row;
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
    std::string reason;
    const std::optional<ReminderDocument> doc = load_document(file, &reason);
    if (!doc) {
        sink.show_message(read_failure_text(file, reason), MessageIcon::critical);
        return filled;
    }
    filled.records = record_bounds(*doc);
    filled.stamp = doc->stamp;
    const std::vector<std::string> groups = group_names(state);
    const std::string file_name = file.string();
    int number = 0;
    for (const RecordBounds& bounds : filled.records) {
        filled.contents.push_back(record_content(*doc, bounds));
        ListRow row = read_row(*doc, bounds, ++number, groups, state.settings.record_color);
        const DaySerial record_date = parse_date(row.date).value_or(state.today);
        const DaySerial event_date =
            next_anniversary({.date = record_date, .today = state.today}).value_or(record_date);
        row.preview =
            expand_placeholders(state, row.text, {.record = record_date, .event = event_date},
                                {file_name, bounds.end}, sink)
                .text;
        filled.rows.push_back(std::move(row));
    }
    filled.ok = true;
    return filled;
}

DaySerial row_date(const ListRow& row) { return parse_date(row.date).value_or(DaySerial{0}); }

void sort_rows(std::vector<ListRow>& rows, int column, DateOrder order, bool descending) {
    if (column < 1 || column > 7) return;
    std::vector<std::pair<Key, ListRow>> keyed;
    keyed.reserve(rows.size());
    for (ListRow& row : rows) keyed.emplace_back(sort_key(row, column, order), std::move(row));
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
        return descending ? b.first < a.first : a.first < b.first;
    });
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::move(keyed[i].second);
}

bool is_expired_once(const ListRow& row, DaySerial today) {
    if (row.frequency != "einmal") return false;
    const std::optional<DaySerial> date = parse_date(row.date);
    return date && *date < today;
}

}  // namespace merkwald
