#include "editing/record_fields.h"

#include <cmath>
#include <cstdio>

#include "engine/date_text.h"
#include "engine/number.h"
#include "engine/tags.h"
#include "engine/text.h"

namespace merkwald {

namespace {

void switch_text(std::string& text, std::string& remembered, bool was_on, bool on,
                 bool remember_empty) {
    if (was_on && !on) {
        if (remember_empty || !text.empty()) remembered = text;
        text.clear();
    } else if (!was_on && on && text.empty()) {
        text = remembered;
    }
}

// The number at the start of a value as decimal text ("7", "2.5").
std::string leading_number_text(std::string_view value) {
    const double v = leading_value(value);
    if (v == std::floor(v) && std::fabs(v) < 1e15) return int_text(static_cast<long long>(v));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

// Step 2 of loading, for new and existing records alike.
void reset_for_load(RecordFields& fields, RememberedTexts& memory, std::int32_t record_color) {
    select_mode(fields, memory, RecordMode::always);
    fields.text.clear();
    fields.color = record_color;
}

void apply_active(RecordFields& fields, RememberedTexts& memory, const std::string& value,
                  std::string_view prepared, bool& first_text) {
    switch (find_active_value(value)) {
        case ActiveValue::always:
            select_mode(fields, memory, RecordMode::always);
            fields.lead_time.clear();
            return;
        case ActiveValue::once:
            select_mode(fields, memory, RecordMode::once);
            return;
        case ActiveValue::periodic:
            select_mode(fields, memory, RecordMode::periodic);
            return;
        case ActiveValue::monthly:
            select_mode(fields, memory, RecordMode::monthly);
            return;
        case ActiveValue::none:
            break;
    }
    if (!first_text) fields.text += '\n';
    fields.text += prepared;
    first_text = false;
}

void apply_active_day(RecordFields& fields, const std::string& value) {
    if (leading_value(value) > 0) {
        fields.ordinal = leading_number_text(value);
        return;
    }
    if (const int day = weekday_number(value); day != 0) fields.day_selector = day;
}

void apply_group(RecordFields& fields, const std::vector<std::string>& groups,
                 const std::string& value) {
    for (const std::string& name : groups) {
        if (equals_ignore_case(name, value)) {
            fields.group = name;
            return;
        }
    }
}

struct LoadContext {
    RecordFields& fields;
    RememberedTexts& memory;
    const std::vector<std::string>& groups;
    bool first_text = true;
};

// The first rule that fits the tag applies; everything else is record text.
void apply_line(LoadContext& c, const std::string& name, const std::string& value,
                std::string_view prepared) {
    RecordFields& f = c.fields;
    switch (find_tag(name)) {
        case Tag::color:
            if (auto n = to_int32(leading_value(value))) f.color = *n;
            return;
        case Tag::date:
            f.date = value;
            select_mode(f, c.memory, RecordMode::yearly);
            return;
        case Tag::active_before:
            f.lead_time = value;
            c.memory.lead_time = value;
            return;
        case Tag::active:
            apply_active(f, c.memory, value, prepared, c.first_text);
            return;
        case Tag::record:
        case Tag::end_record:
            return;
        case Tag::periodic_repeat:
            select_mode(f, c.memory, RecordMode::periodic);
            f.period = leading_number_text(value);
            return;
        case Tag::active_week:
            f.ordinal = leading_number_text(value);
            return;
        case Tag::active_day:
            apply_active_day(f, value);
            return;
        case Tag::group:
            apply_group(f, c.groups, value);
            return;
        // The editor has no field for these: they stay lines of the text.
        case Tag::add_file:
        case Tag::background:
        case Tag::priority:
        case Tag::active_after:
        case Tag::none:
            break;
    }
    if (!c.first_text) f.text += '\n';
    f.text += prepared;
    c.first_text = false;
}

}  // namespace

EnabledFields enabled_fields(std::optional<RecordMode> mode) {
    if (!mode) return {};
    EnabledFields e;
    e.lead_time = *mode != RecordMode::always;
    e.period = *mode == RecordMode::periodic;
    e.monthly = *mode == RecordMode::monthly;
    e.date = *mode != RecordMode::monthly;
    return e;
}

void select_mode(RecordFields& fields, RememberedTexts& memory, RecordMode mode) {
    if (fields.mode == mode) return;
    const EnabledFields before = enabled_fields(fields.mode);
    const EnabledFields after = enabled_fields(mode);
    fields.mode = mode;
    switch_text(fields.lead_time, memory.lead_time, before.lead_time, after.lead_time, true);
    switch_text(fields.period, memory.period, before.period, after.period, false);
    switch_text(fields.ordinal, memory.ordinal, before.monthly, after.monthly, false);
    switch_text(fields.date, memory.date, before.date, after.date, true);
    if (before.monthly && !after.monthly) {
        if (fields.day_selector != kNoDay) memory.day_selector = fields.day_selector;
        fields.day_selector = kNoDay;
    } else if (!before.monthly && after.monthly && fields.day_selector == kNoDay) {
        fields.day_selector = memory.day_selector;
    }
}

RecordFields initial_fields(const std::string& days_before, std::optional<std::int32_t> pref_group,
                            const std::vector<std::string>& groups, std::int32_t record_color) {
    RecordFields fields;
    fields.lead_time = days_before;
    fields.ordinal = '1';  // a character: GCC 12 at -O3 misreads a one-letter literal (-Wrestrict)
    fields.day_selector = kDayOfMonth;
    fields.color = record_color;
    const std::vector<std::string> list = group_list(groups);
    if (pref_group && *pref_group >= 0 && std::size_t(*pref_group) < list.size()) {
        fields.group = list[std::size_t(*pref_group)];
    }
    return fields;
}

void start_new_record(RecordFields& fields, RememberedTexts& memory, std::int32_t record_color) {
    reset_for_load(fields, memory, record_color);
    select_mode(fields, memory, RecordMode::yearly);
    fields.date.clear();
}

void load_record_lines(const ReminderDocument& doc, const RecordBounds& bounds,
                       const std::vector<std::string>& groups, std::int32_t record_color,
                       RecordFields& fields, RememberedTexts& memory) {
    reset_for_load(fields, memory, record_color);
    fields.group = kNoGroup;
    LoadContext context{fields, memory, groups};
    // An empty line repeats the rule of the line before it; the `<record>` line
    // itself counts as a text line here.
    std::string name, value;
    const auto last = std::min<long long>(bounds.end, static_cast<long long>(doc.lines.size()));
    for (long long number = bounds.start + 1; number <= last; ++number) {
        std::string prepared = doc.lines[std::size_t(number - 1)].text;
        if (!prepared.empty()) {
            tabs_to_spaces(prepared);
            SplitLine split = split_tag_line(prepared);
            name = std::move(split.name);
            value = std::move(split.value);
        }
        apply_line(context, name, value, prepared);
    }
}

std::string prepare_date(std::string_view date_field) {
    const std::optional<DaySerial> date = parse_date(date_field);
    return date ? written_date(*date) : std::string();
}

std::string written_date(DaySerial date) {
    const Ymd ymd = ymd_of(date);
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", ymd.day, ymd.month, ymd.year);
    return text;
}

namespace {

void append_mode_lines(const RecordFields& fields, std::vector<std::string>& lines) {
    switch (fields.mode.value_or(RecordMode::yearly)) {
        case RecordMode::always:
            lines.push_back("<active=always>");
            break;
        case RecordMode::once:
            lines.push_back("<active=once>");
            break;
        case RecordMode::periodic:
            lines.push_back("<active=periodic>");
            lines.push_back("<periodic_repeat=" +
                            (leading_value(fields.period) > 0 ? fields.period : "7") + ">");
            break;
        case RecordMode::monthly:
            lines.push_back("<active=monthly>");
            if (fields.day_selector <= kDayOfMonth || fields.day_selector > 7) {
                lines.push_back("<active_day=" + fields.ordinal + ">");
            } else {
                lines.push_back("<active_day=" + std::string(weekday_word(fields.day_selector)) +
                                ">");
                lines.push_back("<active_week=" + fields.ordinal + ">");
            }
            break;
        case RecordMode::yearly:
            break;
    }
}

}  // namespace

std::vector<std::string> write_record(const RecordFields& fields, std::string_view prepared_date,
                                      std::int32_t record_color) {
    std::vector<std::string> lines{"<record>"};
    if (!prepared_date.empty()) lines.push_back("<date=" + std::string(prepared_date) + ">");
    append_mode_lines(fields, lines);
    if (fields.color != record_color) {
        lines.push_back("<color=" + std::string(fields.color >= 0 ? " " : "") +
                        int_text(fields.color) + ">");
    }
    if (fields.mode != RecordMode::always) {
        lines.push_back("<active_before=" + fields.lead_time + ">");
    }
    if (!equals_ignore_case(fields.group, kNoGroup))
        lines.push_back("<group=" + fields.group + ">");
    std::size_t pos = 0;
    while (true) {
        const std::size_t end = fields.text.find('\n', pos);
        std::string line = fields.text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    lines.push_back("</record>");
    return lines;
}

std::vector<std::string> group_list(const std::vector<std::string>& groups) {
    std::vector<std::string> list{std::string(kNoGroup)};
    list.insert(list.end(), groups.begin(), groups.end());
    return list;
}

}  // namespace merkwald
