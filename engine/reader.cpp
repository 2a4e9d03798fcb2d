#include "reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "date_text.h"
#include "evaluate.h"
#include "line_source.h"
#include "name_days.h"
#include "number.h"
#include "placeholders.h"
#include "platform_file.h"
#include "tags.h"
#include "text.h"

namespace merkwald {

namespace {

// The numeric tags: the range a value must fit and where it is kept. A value
// out of range is a read failure that ends the file.
enum class NumberRange { int16, int32, int16_floor };

struct NumberTag {
    Tag tag;
    NumberRange range;
    void (*store)(WorkingRecord&, std::int32_t);
};

using R = WorkingRecord;
constexpr std::array<NumberTag, 8> kNumberTags{{
    {Tag::background, NumberRange::int32, [](R& r, std::int32_t v) { r.background = v; }},
    {Tag::color, NumberRange::int32, [](R& r, std::int32_t v) { r.color = std::uint32_t(v); }},
    {Tag::priority, NumberRange::int16, [](R& r, std::int32_t v) { r.priority = v; }},
    {Tag::active_before, NumberRange::int16, [](R& r, std::int32_t v) { r.active_before = v; }},
    {Tag::active_after, NumberRange::int16, [](R& r, std::int32_t v) { r.active_after = v; }},
    {Tag::periodic_repeat, NumberRange::int16, [](R& r, std::int32_t v) { r.periodic_repeat = v; }},
    {Tag::active_day, NumberRange::int16,
     [](R& r, std::int32_t v) { r.day_of_month = std::max(v, 1); }},
    {Tag::active_week, NumberRange::int16_floor, [](R& r, std::int32_t v) { r.active_week = v; }},
}};

std::optional<std::int32_t> read_number(NumberRange range, std::string_view value) {
    const auto v = leading_value(value);
    switch (range) {
        case NumberRange::int16:
            return to_int16(v);
        case NumberRange::int32:
            return to_int32(v);
        case NumberRange::int16_floor:
            return floor_int16(v);
    }
    return std::nullopt;
}

const NumberTag* number_tag_of(Tag tag) {
    const auto row = std::find_if(kNumberTags.begin(), kNumberTags.end(),
                                  [tag](const NumberTag& n) { return n.tag == tag; });
    return row == kNumberTags.end() ? nullptr : &*row;
}

// The flag each value of `active` sets.
bool R::*active_flag(std::string_view value) {
    switch (find_active_value(value)) {
        case ActiveValue::always:
            return &R::always;
        case ActiveValue::once:
            return &R::once;
        case ActiveValue::periodic:
            return &R::periodic;
        case ActiveValue::monthly:
            return &R::monthly;
        case ActiveValue::none:
            break;
    }
    return nullptr;
}

// Reads one file; a member function per concern keeps the line loop flat.
class FileReader {
public:
    FileReader(EngineState& s, RefreshTables& t, bool main_file, MessageSink& sink)
        : s_(s), t_(t), r_(s.record), main_(main_file), sink_(sink) {}

    // false: a read failure ends the file.
    bool line(std::string_view prepared);

private:
    bool tag_line(Tag tag, std::string_view value, std::string_view prepared);
    void append_text(std::string_view prepared);
    bool add_file(std::string_view value);
    void date(std::string_view value);
    bool number_tag(Tag tag, std::string_view value);
    int group_index(std::string_view value);

    EngineState& s_;
    RefreshTables& t_;
    WorkingRecord& r_;
    bool main_;
    MessageSink& sink_;
    // Records name a few groups over and over: the values seen first and their
    // groups (0 for none).
    static constexpr std::size_t kKnownGroupValues = 8;
    std::vector<std::pair<std::string, int>> known_groups_;
};

int FileReader::group_index(std::string_view value) {
    for (const auto& [known, index] : known_groups_)
        if (known == value) return index;
    int found = 0;
    for (int i = 1; i <= s_.group_count; ++i)  // the last name that matches counts
        if (equals_ignore_case(value, s_.groups[std::size_t(i)])) found = i;
    if (known_groups_.size() < kKnownGroupValues) known_groups_.emplace_back(value, found);
    return found;
}

void FileReader::append_text(std::string_view prepared) {
    r_.text.append(prepared);
    r_.text.append(s_.settings.light ? "\r\n  " : "\r\n");
}

bool FileReader::line(std::string_view prepared) {
    const SplitView split = split_prepared_line(prepared);
    const Tag tag = split.kind == LineKind::tag ? find_tag(split.name) : Tag::none;
    if (tag == Tag::none) {
        append_text(prepared);
        return true;
    }
    return tag_line(tag, trim_blanks(split.value), prepared);
}

bool FileReader::tag_line(Tag tag, std::string_view value, std::string_view prepared) {
    switch (tag) {
        case Tag::record:
            start_record(s_, t_);
            return true;
        case Tag::add_file:
            if (!main_ && !s_.settings.light) break;
            return add_file(value);
        case Tag::date:
            date(value);
            return true;
        case Tag::active_after:
            if (s_.settings.light) break;
            return number_tag(tag, value);
        case Tag::background:
        case Tag::color:
        case Tag::priority:
        case Tag::active_before:
        case Tag::periodic_repeat:
        case Tag::active_week:
            return number_tag(tag, value);
        case Tag::active:
            if (const auto flag = active_flag(value)) {
                r_.*flag = true;
                return true;
            }
            break;
        case Tag::active_day: {
            const int day = weekday_number(value);
            if (day == 0) return number_tag(tag, value);
            r_.weekday = day;
            return true;
        }
        case Tag::group:
            if (const int i = group_index(value); i > 0) r_.group = s_.groups[std::size_t(i)];
            return true;
        case Tag::end_record:
            end_record(s_, t_, sink_);
            return true;
        case Tag::none:
            break;
    }
    append_text(prepared);
    return true;
}

bool FileReader::number_tag(Tag tag, std::string_view value) {
    const NumberTag* row = number_tag_of(tag);
    const auto v = read_number(row->range, value);
    if (!v) return false;
    row->store(r_, *v);
    // The sort date of an undated record depends on its priority.
    if (tag == Tag::priority) set_sort_date(s_, t_);
    return true;
}

void FileReader::date(std::string_view value) {
    r_.undated = false;
    if (value.empty()) {
        r_.date = s_.today;
    } else if (const auto d = parse_date(value)) {
        r_.date = *d;
    } else {
        sink_.show_message(s_.messages[0], MessageIcon::critical);
        r_.date = s_.today;
    }
    if (r_.priority == 1) set_sort_date(s_, t_);
}

bool FileReader::add_file(std::string_view value) {
    const std::string name(value);
    if (!file_exists(s_.resolve(name))) return true;
    const std::string lower = to_lower(name);
    for (const std::string& entry : t_.files) {
        const std::string listed = to_lower(entry);
        if (lower.find(listed) != std::string::npos || listed.find(lower) != std::string::npos)
            return true;
    }
    if (int(t_.files.size()) >= kMaxFiles) return false;
    t_.files.push_back(name);
    return true;
}

}  // namespace

bool is_reader_tag(std::string_view name) { return find_tag(name) != Tag::none; }

bool is_active_value(std::string_view value) {
    return find_active_value(value) != ActiveValue::none;
}

bool number_value_fits(std::string_view name, std::string_view value) {
    const Tag tag = find_tag(name);
    if (tag == Tag::active_day && weekday_number(value) != 0) return true;
    const NumberTag* row = number_tag_of(tag);
    return row == nullptr || read_number(row->range, value).has_value();
}

bool file_exists(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::FILE* f = platform::open_stream(path);
    if (!f) return false;
    std::fclose(f);
    return true;
}

void start_record(EngineState& state, RefreshTables& tables) {
    WorkingRecord& r = state.record;
    r.text.clear();
    r.date = state.today;
    r.undated = true;
    r.priority = 1;
    tables.pending_sort_date = state.today;
    r.periodic = r.monthly = false;
    r.periodic_repeat = 0;
    r.day_of_month = 1;
    r.weekday = 1;
    r.active_week = 0;
    r.active_after = 0;
    r.group.clear();
    r.color = state.settings.record_color;
}

namespace {

// A record's group is the state's spelling of it, so it nearly always matches
// byte for byte; the case-blind compare is the rare way.
bool is_group(std::string_view group, std::string_view name) {
    return group == name || equals_ignore_case(group, name);
}

}  // namespace

void end_record(EngineState& state, RefreshTables& tables, MessageSink& sink) {
    WorkingRecord& r = state.record;
    if (tables.capture != RefreshTables::Capture::none) {
        if (tables.capture != RefreshTables::Capture::people)
            tables.captured.push_back({r, tables.current_file, tables.current_line});
        const bool birthday = is_group(r.group, kBirthdayGroup);
        if (birthday || is_group(r.group, kNameDayGroup))
            tables.people.push_back({r.text, r.date, birthday});
    }
    if (tables.capture == RefreshTables::Capture::only) {
        r.always = r.once = false;
        return;
    }
    // The override stays in the run-long field after the refresh.
    if (state.lead_days) r.active_before = *state.lead_days;
    const Verdict verdict = evaluate_record(state, r, tables.pending_sort_date);
    if (verdict.missed && int(tables.missed.size()) < kMaxMissed)
        tables.missed.push_back({r.text, r.date, r.once});
    const bool full = verdict.due && tables.line_counter() > kMaxShownLines;
    if (verdict.due && !full) {
        const TextOrigin origin{tables.current_file, tables.current_line};
        LineEntry entry;
        entry.text =
            expand_placeholders(state, r.text, {.record = r.date, .event = verdict.event_date},
                                origin, sink)
                .text;
        entry.color = r.color;
        if (state.settings.groups) entry.group = r.group;
        entry.sort_date = verdict.sort_date;
        tables.lines.push_back(std::move(entry));
        tables.pending_sort_date = DaySerial{};  // the next slot starts cleared
    } else {
        // The slot stays: a record without `<record>` may still fill it.
        tables.pending_sort_date = verdict.sort_date;
    }
    if (verdict.event_today && !full) state.sound_mark = true;
    r.always = r.once = false;
}

void read_records(EngineState& state, RefreshTables& tables, const std::string& file_name,
                  bool main_file, MessageSink& sink) {
    tables.current_file = file_name;
    tables.current_line = 0;
    tables.read_ok = true;
    LineSource source(state.resolve(file_name));
    FileReader reader(state, tables, main_file, sink);
    std::string prepared;
    std::string_view raw;
    bool ok = source.is_open() && !source.failed();
    while (ok && source.next(raw)) {
        ++tables.current_line;
        std::string_view line = raw;
        if (line.find('\t') != std::string_view::npos) {
            prepared.assign(raw);
            tabs_to_spaces(prepared);
            line = prepared;
        }
        ok = reader.line(trim_blanks(line));
    }
    if (!ok || source.failed()) {
        sink.show_message(state.messages[1], MessageIcon::critical);
        tables.read_ok = false;
        ++tables.failed_files;
        tables.failed_names.push_back(file_name);
    }
}

}  // namespace merkwald
