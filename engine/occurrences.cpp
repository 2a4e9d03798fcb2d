#include "occurrences.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "evaluate.h"
#include "placeholders.h"
#include "refresh.h"
#include "tags.h"
#include "text.h"

namespace merkwald {

namespace {

// The record's text as a calendar shows it, the same from both programs: the
// light program's reader puts two blanks after every line break, and each
// program keeps as text a tag line the other acts on (`active_after`, an
// `add_file` in a linked file). Tag lines expand to nothing in either, so
// they are dropped, and the lines are joined as the full program joins them.
std::string feed_text(std::string_view text, bool light) {
    std::string out;
    out.reserve(text.size());
    const std::string_view line_end = light ? "\r\n  " : "\r\n";
    while (!text.empty()) {
        std::size_t end = text.find(line_end);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(0, end);
        const SplitView split = split_prepared_line(trim_blanks(line));
        if (split.kind != LineKind::tag || find_tag(split.name) == Tag::none) {
            out.append(line);
            out += "\r\n";
        }
        text.remove_prefix(std::min(text.size(), end + line_end.size()));
    }
    return out;
}

// The file's own name, not the file list's spelling of its path ("gross.rmd",
// "./gross.rmd" and "/home/a/gross.rmd" are one file), in lower case as a
// Windows folder sees it. Moving the folder keeps the identities; renaming the
// file gives its events new ones.
std::string identity_file_name(const std::string& file) {
    const std::filesystem::path path(std::u8string(file.begin(), file.end()));
    const std::u8string name = path.filename().u8string();
    return to_lower(std::string(name.begin(), name.end()));
}

// Neither the time of the run nor its time zone enter: the same record on the
// same day has the same identity in every run of either program.
std::uint64_t record_identity(const CapturedRecord& c) {
    const WorkingRecord& r = c.record;
    std::uint64_t h = fnv1a(identity_file_name(c.file));
    h = fnv1a(r.text, fnv1a("\n", h));
    // An undated (monthly) record's date is the day it was read.
    const std::string rule = (r.undated ? std::string("-") : std::to_string(r.date.value())) + '/' +
                             std::to_string(r.periodic_repeat) + '/' +
                             std::to_string(r.day_of_month) + '/' + std::to_string(r.weekday) +
                             '/' + std::to_string(r.active_week) + (r.monthly ? "m" : "") +
                             (r.periodic ? "p" : "") + (r.once ? "o" : "");
    return fnv1a(rule, h);
}

// The same placeholder error would otherwise be reported on every day of the range.
class OnceSink final : public MessageSink {
public:
    explicit OnceSink(MessageSink& inner) : inner_(inner) {}
    void show_message(std::string_view text, MessageIcon icon) override {
        if (shown_.emplace(text).second) inner_.show_message(text, icon);
    }

private:
    MessageSink& inner_;
    std::set<std::string, std::less<>> shown_;
};

std::string without_final_break(std::string text) {
    while (text.ends_with("\r\n")) text.resize(text.size() - 2);
    return text;
}

// Evaluates `c` for the state's today, as the reader would have on that day.
void evaluate_on(EngineState& state, const CapturedRecord& c, const TakeOccurrence& take,
                 MessageSink& sink, std::uint64_t identity) {
    const WorkingRecord& r = c.record;
    const Verdict verdict = evaluate_record(state, r, state.today);
    if (!verdict.due) return;
    std::string text =
        expand_placeholders(state, r.text, {.record = r.date, .event = verdict.event_date},
                            TextOrigin{c.file, c.line}, sink)
            .text;
    if (text.empty()) return;
    Occurrence o;
    o.day = state.today;
    o.text = without_final_break(std::move(text));
    if (state.settings.groups) o.group = r.group;
    o.color = r.color;
    o.file = c.file;
    o.line = c.line;
    o.identity = identity;
    take(std::move(o));
}

// Every event of the range in order, each handed to `take` as soon as it is made.
void each_occurrence(EngineState& state, std::vector<CapturedRecord> records,
                     const DateRange& range, MessageSink& sink, const TakeOccurrence& take) {
    // A record without a date that is not monthly falls due every day.
    std::erase_if(records, [](const CapturedRecord& c) {
        return c.record.always || (c.record.undated && !c.record.monthly);
    });
    std::vector<std::uint64_t> identities;
    identities.reserve(records.size());
    for (CapturedRecord& c : records) {
        c.record.text = feed_text(c.record.text, state.settings.light);
        identities.push_back(record_identity(c));
    }

    // Each record counts on its own day only: no lead days.
    for (CapturedRecord& c : records) c.record.active_before = 0;

    const DaySerial today = state.today;
    OnceSink once(sink);
    for (DaySerial day = range.from; day <= range.to; ++day) {
        state.today = day;
        for (std::size_t i = 0; i < records.size(); ++i)
            evaluate_on(state, records[i], take, once, identities[i]);
    }
    state.today = today;
}

}  // namespace

std::vector<Occurrence> occurrences_of(EngineState& state, std::vector<CapturedRecord> records,
                                       const DateRange& range, MessageSink& sink) {
    std::vector<Occurrence> events;
    each_occurrence(state, std::move(records), range, sink,
                    [&events](Occurrence&& o) { events.push_back(std::move(o)); });
    return events;
}

OccurrenceList stream_occurrences(EngineState& state, const std::string& main_file,
                                  const DateRange& range, MessageSink& sink,
                                  const TakeOccurrence& take) {
    OccurrenceList out;
    RefreshTables tables;
    tables.capture = RefreshTables::Capture::only;
    refresh_range(state, tables, main_file, range, sink);
    out.read_ok = tables.read_ok;
    out.failed_files = tables.failed_files;
    out.failed_names = std::move(tables.failed_names);
    const TakeOccurrence dropped = [](Occurrence&&) {};
    each_occurrence(state, std::move(tables.captured), range, sink,
                    out.failed_files > 0 ? dropped : take);
    return out;
}

OccurrenceList collect_occurrences(EngineState& state, const std::string& main_file,
                                   const DateRange& range, MessageSink& sink) {
    std::vector<Occurrence> events;
    OccurrenceList out =
        stream_occurrences(state, main_file, range, sink,
                           [&events](Occurrence&& o) { events.push_back(std::move(o)); });
    out.events = std::move(events);
    return out;
}

}  // namespace merkwald
