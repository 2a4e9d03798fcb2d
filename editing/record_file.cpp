#include "editing/record_file.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "engine/file_lock.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

std::optional<ReminderDocument> load_into(EditingState& state, MessageSink& sink) {
    std::string reason;
    std::optional<ReminderDocument> doc = load_document(state.current_file, &reason);
    if (!doc) {
        state.records.clear();
        state.loaded = {};
        sink.show_message(read_failure_text(state.current_file, reason), MessageIcon::critical);
        return std::nullopt;
    }
    state.records = record_bounds(*doc);
    state.contents.clear();
    state.contents.reserve(state.records.size());
    for (const RecordBounds& bounds : state.records)
        state.contents.push_back(record_content(*doc, bounds));
    state.loaded = doc->stamp;
    return doc;
}

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

WriteOutcome refused_as_changed(const fs::path& file) {
    return WriteOutcome::failed(WriteFailure::changed_outside, file);
}

std::optional<int> find_record(const EditingState& state, const std::string& content, int near) {
    std::optional<int> found;
    for (int k = 1; k <= static_cast<int>(state.contents.size()); ++k) {
        if (state.contents[std::size_t(k - 1)] != content) continue;
        if (!found || std::abs(k - near) < std::abs(*found - near)) found = k;
    }
    return found;
}

bool rescan(EditingState& state, MessageSink& sink) { return load_into(state, sink).has_value(); }

std::optional<ReminderDocument> load_unchanged(const EditingState& state, WriteOutcome& outcome) {
    std::string reason;
    std::optional<ReminderDocument> doc = load_document(state.current_file, &reason);
    if (!doc) {
        // Gone or changed: the reader's reason is shown, and the caller reloads.
        if (current_stamp(state.current_file) != state.loaded) {
            outcome = WriteOutcome::failed(WriteFailure::changed_outside, state.current_file);
            outcome.detail = reason;
        } else {
            outcome = WriteOutcome::worded(reason);
        }
        return std::nullopt;
    }
    if (doc->stamp != state.loaded) {
        outcome = WriteOutcome::failed(WriteFailure::changed_outside, state.current_file);
        return std::nullopt;
    }
    return doc;
}

void note_write(EditingState& state, const WriteOutcome& outcome) {
    if (!outcome.ok()) return;
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

std::string utf8_question(const fs::path& file) {
    return "Die Datei " + display_name(file) +
           " ist in Windows-1252 geschrieben und kann den neuen Text nur als UTF-8 aufnehmen. "
           "Als UTF-8 speichern?";
}

namespace {

WriteOutcome needs_utf8() { return WriteOutcome::failed(WriteFailure::needs_utf8, {}); }

}  // namespace

WriteOutcome replace_record(EditingState& state, const RecordFields& fields,
                            std::int32_t record_color, MessageSink& sink, Utf8Change utf8) {
    const FileLock lock = lock_file(state.current_file);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, state.current_file);
    WriteOutcome outcome;
    std::optional<ReminderDocument> doc = load_unchanged(state, outcome);
    if (!doc) return outcome;
    const bool counted = state.current_record >= 1 && state.current_record <= state.record_count();
    if (!counted && state.opened.empty()) {
        return WriteOutcome::worded("Der Datensatz steht nicht mehr in der Datei.");
    }
    if (!holds_opened(state, *doc)) return refused_as_changed(state.current_file);
    const RecordBounds& bounds = state.records[std::size_t(state.current_record - 1)];
    const std::vector<DocumentLine> record =
        new_lines(write_record(fields, prepare_date(fields.date), record_color));
    const std::string old_bytes = doc->bytes;
    doc->lines = splice_lines(doc->lines, first_line_of(*doc, bounds), bounds.end, record);
    if (utf8 == Utf8Change::ask && must_become_utf8(*doc)) return needs_utf8();
    const std::string new_bytes = document_bytes(*doc);
    if (new_bytes == old_bytes) return {};
    outcome = rewrite_with_backup(state.current_file, {.before = old_bytes, .after = new_bytes},
                                  &state.loaded);
    note_write(state, outcome);
    rescan(state, sink);
    if (outcome.ok() && state.current_record <= state.record_count())
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
    return rewrite_with_backup(file, {.before = doc.bytes, .after = document_bytes(doc)},
                               &doc.stamp);
}

}  // namespace

WriteOutcome append_lines(const fs::path& file, const std::vector<std::string>& lines,
                          Utf8Change utf8) {
    const FileLock lock = lock_file(file);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, file);
    std::string reason;
    bool exists = false;
    std::optional<ReminderDocument> doc = load_or_new_document(file, reason, exists);
    if (!doc) return WriteOutcome::worded(reason);
    return append_to_document(file, *doc, exists, lines, utf8);
}

WriteOutcome append_record(EditingState& state, const RecordFields& fields,
                           std::int32_t record_color, MessageSink& sink, Utf8Change utf8) {
    const FileLock lock = lock_file(state.current_file);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, state.current_file);
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
        if (!doc) return WriteOutcome::worded(reason);
    }
    std::vector<std::string> texts{""};
    const std::vector<std::string> record =
        write_record(fields, prepare_date(fields.date), record_color);
    texts.insert(texts.end(), record.begin(), record.end());
    outcome = append_to_document(state.current_file, *doc, exists, texts, utf8);
    note_write(state, outcome);
    // A failed write leaves the file as it was, and so its record table.
    if (outcome.ok() && rescan(state, sink) && !state.contents.empty())
        state.opened = state.contents.back();
    return outcome;
}

}  // namespace merkwald
