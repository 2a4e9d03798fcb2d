#include "editors/record_file.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "engine/file_lock.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

// The records of `doc` (a document or the views of its lines) into the state,
// and what changed against those it held.
template <class Lines>
void count_records(EditingState& state, const Lines& doc) {
    std::vector<RecordBounds> records = record_bounds(doc);
    std::vector<std::string> contents;
    contents.reserve(records.size());
    for (const RecordBounds& bounds : records) contents.push_back(record_content(doc, bounds));
    // Changes add up until the one who shows the records takes them (see RecordChange).
    const RecordChange now = compare_records(state.contents, contents);
    state.change = {std::min(state.change.same_head, now.same_head),
                    std::min(state.change.same_tail, now.same_tail)};
    state.records = std::move(records);
    state.contents = std::move(contents);
}

std::optional<ReminderDocument> load_into(EditingState& state, MessageSink& sink) {
    std::string reason;
    std::optional<ReminderDocument> doc = load_document(state.current_file, &reason);
    if (!doc) {
        state.records.clear();
        state.contents.clear();
        state.change = {};
        state.loaded = {};
        sink.show_message(read_failure_text(state.current_file, reason), MessageIcon::critical);
        return std::nullopt;
    }
    // The same bytes hold the same records: they need no counting again.
    if (doc->stamp.exists && doc->stamp == state.loaded &&
        state.contents.size() == state.records.size()) {
        return doc;
    }
    count_records(state, *doc);
    state.loaded = doc->stamp;
    return doc;
}

WriteOutcome lock_refused(const FileLock& lock) { return {false, lock.message()}; }

// Whether record `current_record` of `doc` (counted as the state counted) still
// holds the lines the editor opened.
bool holds_opened(const EditingState& state, const ReminderDocument& doc) {
    if (state.current_record < 1 || state.current_record > state.record_count()) return false;
    const auto k = std::size_t(state.current_record - 1);
    if (state.opened.empty() && k >= state.contents.size()) return false;
    const std::string& opened = state.opened.empty() ? state.contents[k] : state.opened;
    return record_content(doc, state.records[k]) == opened;
}

}  // namespace

RecordChange compare_records(const std::vector<std::string>& before,
                             const std::vector<std::string>& after) {
    const std::size_t common = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < common && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < common - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    return {static_cast<int>(head), static_cast<int>(tail)};
}

void take_written(EditingState& state, const ReminderDocument& doc) { count_records(state, doc); }

WriteOutcome refused_as_changed(const fs::path& file) {
    WriteOutcome outcome{false, changed_outside_message(file)};
    outcome.changed_outside = true;
    return outcome;
}

std::optional<int> find_record(const EditingState& state, const std::string& content, int near) {
    std::optional<int> found;
    for (int k = 1; k <= static_cast<int>(state.contents.size()); ++k) {
        if (state.contents[std::size_t(k - 1)] != content) continue;
        if (!found || std::abs(k - near) < std::abs(*found - near)) found = k;
    }
    return found;
}

bool rescan(EditingState& state, MessageSink& sink) {
    std::string bytes;
    const FileRead read = read_regular_file(state.current_file, bytes);
    // The same bytes hold the same records: they need no counting again.
    if (read.ok && read.stamp == state.loaded && state.contents.size() == state.records.size())
        return true;
    if (!read.ok) return load_into(state, sink).has_value();
    const FileText text = decode_text(std::move(bytes));
    count_records(state, line_views(text.text));
    state.loaded = read.stamp;
    return true;
}

std::optional<ReminderDocument> load_unchanged(const EditingState& state, WriteOutcome& outcome) {
    std::string reason;
    std::optional<ReminderDocument> doc = load_document(state.current_file, &reason);
    if (!doc) {
        outcome = {false, reason};
        outcome.changed_outside = current_stamp(state.current_file) != state.loaded;
        return std::nullopt;
    }
    if (doc->stamp != state.loaded) {
        outcome = {false, changed_outside_message(state.current_file)};
        outcome.changed_outside = true;
        return std::nullopt;
    }
    return doc;
}

void note_write(EditingState& state, const WriteOutcome& outcome) {
    if (!outcome.ok) return;
    state.loaded = outcome.written_stamp;
    if (!outcome.backup.empty()) {
        state.undo = UndoPoint{state.current_file, outcome.backup, outcome.backup_stamp,
                               outcome.written_stamp};
    }
}

bool load_record(EditingState& state, const EditorPresets& presets, RecordFields& fields,
                 RememberedTexts& memory, MessageSink& sink) {
    const std::optional<ReminderDocument> doc = load_into(state, sink);
    state.new_record = false;
    state.opened.clear();
    if (!doc) return false;
    if (state.current_record > state.record_count() || state.current_record < 1) {
        state.new_record = true;
        start_new_record(fields, memory, presets.record_color);
        return true;
    }
    state.opened = state.contents.at(std::size_t(state.current_record - 1));
    load_record_lines(*doc, state.records[std::size_t(state.current_record - 1)], presets.groups,
                      presets.record_color, fields, memory);
    return true;
}

std::vector<DocumentLine> splice_lines(const std::vector<DocumentLine>& lines, long long first,
                                       long long last, const std::vector<DocumentLine>& inserted) {
    const auto size = static_cast<long long>(lines.size());
    first = std::clamp(first, 1LL, size + 1);
    last = std::clamp(last, first - 1, size);
    std::vector<DocumentLine> out(lines.begin(), lines.begin() + (first - 1));
    if (!inserted.empty()) end_last_line(out);
    out.insert(out.end(), inserted.begin(), inserted.end());
    out.insert(out.end(), lines.begin() + last, lines.end());
    return out;
}

void splice_lines_in_place(std::vector<DocumentLine>& lines, long long first, long long last,
                           std::vector<DocumentLine> inserted) {
    const auto size = static_cast<long long>(lines.size());
    first = std::clamp(first, 1LL, size + 1);
    last = std::clamp(last, first - 1, size);
    const auto from = lines.begin() + (first - 1);
    if (!inserted.empty() && first > 1 && from[-1].ending.empty()) from[-1].ending = kLineEnd;
    const auto common = std::min<long long>(last - first + 1, std::ssize(inserted));
    std::move(inserted.begin(), inserted.begin() + common, from);
    if (common < last - first + 1) {
        lines.erase(from + common, lines.begin() + last);
    } else {
        lines.insert(from + common, std::make_move_iterator(inserted.begin() + common),
                     std::make_move_iterator(inserted.end()));
    }
}

std::string utf8_question(const fs::path& file) {
    return "Die Datei " + display_name(file) +
           " ist in Windows-1252 geschrieben und kann den neuen Text nur als UTF-8 aufnehmen. "
           "Als UTF-8 speichern?";
}

namespace {

WriteOutcome needs_utf8() {
    WriteOutcome outcome{false, {}};
    outcome.needs_utf8 = true;
    return outcome;
}

}  // namespace

WriteOutcome replace_record(EditingState& state, const RecordFields& fields,
                            std::int32_t record_color, MessageSink& sink, Utf8Change utf8) {
    const FileLock lock = lock_file(state.current_file);
    if (!lock.held()) return lock_refused(lock);
    WriteOutcome outcome;
    std::optional<ReminderDocument> doc = load_unchanged(state, outcome);
    if (!doc) return outcome;
    const bool counted = state.current_record >= 1 && state.current_record <= state.record_count();
    if (!counted && state.opened.empty()) {
        return {false, "Der Datensatz steht nicht mehr in der Datei."};
    }
    if (!holds_opened(state, *doc)) return refused_as_changed(state.current_file);
    const RecordBounds& bounds = state.records[std::size_t(state.current_record - 1)];
    const std::vector<DocumentLine> record =
        new_lines(write_record(fields, prepare_date(fields.date), record_color));
    const std::string old_bytes = doc->bytes;
    splice_lines_in_place(doc->lines, first_line_of(*doc, bounds), bounds.end, record);
    if (utf8 == Utf8Change::ask && must_become_utf8(*doc)) return needs_utf8();
    const std::string new_bytes = document_bytes(*doc);
    if (new_bytes == old_bytes) return {};
    outcome = rewrite_with_backup(state.current_file, old_bytes, new_bytes, &state.loaded);
    note_write(state, outcome);
    if (outcome.ok) {
        take_written(state, *doc);
    } else {
        rescan(state, sink);
    }
    if (outcome.ok && state.current_record <= state.record_count())
        state.opened = state.contents.at(std::size_t(state.current_record - 1));
    return outcome;
}

namespace {

// `doc` as read from `file` (or new when nothing stood there) with `lines` after it.
WriteOutcome append_to_document(const fs::path& file, ReminderDocument& doc, bool existed,
                                const std::vector<std::string>& lines, Utf8Change utf8) {
    end_last_line(doc.lines);
    const std::vector<DocumentLine> appended = new_lines(lines);
    doc.lines.insert(doc.lines.end(), appended.begin(), appended.end());
    if (utf8 == Utf8Change::ask && must_become_utf8(doc)) return needs_utf8();
    if (!existed) return write_file_safely(file, document_bytes(doc));
    return rewrite_with_backup(file, doc.bytes, document_bytes(doc), &doc.stamp);
}

}  // namespace

WriteOutcome append_lines(const fs::path& file, const std::vector<std::string>& lines,
                          Utf8Change utf8) {
    const FileLock lock = lock_file(file);
    if (!lock.held()) return lock_refused(lock);
    std::string reason;
    bool exists = false;
    std::optional<ReminderDocument> doc = load_or_new_document(file, reason, exists);
    if (!doc) return {false, reason};
    return append_to_document(file, *doc, exists, lines, utf8);
}

// The records are counted from the lines written: no reading to report on.
WriteOutcome append_record(EditingState& state, const RecordFields& fields,
                           std::int32_t record_color, MessageSink& /*sink*/, Utf8Change utf8) {
    const FileLock lock = lock_file(state.current_file);
    if (!lock.held()) return lock_refused(lock);
    WriteOutcome outcome;
    std::optional<ReminderDocument> doc;
    bool exists = state.loaded.exists;
    if (exists) {
        // The file as counted is the file appended to: it is read once.
        doc = load_unchanged(state, outcome);
        if (!doc) return outcome;
    } else {
        std::string reason;
        doc = load_or_new_document(state.current_file, reason, exists);
        if (!doc) return {false, reason};
    }
    std::vector<std::string> texts{""};
    const std::vector<std::string> record =
        write_record(fields, prepare_date(fields.date), record_color);
    texts.insert(texts.end(), record.begin(), record.end());
    outcome = append_to_document(state.current_file, *doc, exists, texts, utf8);
    note_write(state, outcome);
    // A failed write leaves the file as it was, and so its record table.
    if (!outcome.ok) return outcome;
    take_written(state, *doc);
    if (!state.contents.empty()) state.opened = state.contents.back();
    return outcome;
}

}  // namespace merkwald
