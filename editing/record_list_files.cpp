#include "editing/record_list_files.h"

#include <algorithm>
#include <system_error>

#include "editing/record_file.h"
#include "editing/record_rows.h"
#include "editing/reminder_document.h"
#include "engine/date_text.h"
#include "engine/file_lock.h"
#include "engine/number.h"
#include "engine/text.h"

namespace merkwald {

namespace fs = std::filesystem;

WriteOutcome delete_record(EditingState& state, int record) {
    const FileLock lock = lock_file(state.current_file);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, state.current_file);
    WriteOutcome outcome;
    CountedText file;
    if (!load_text_unchanged(state, outcome, file)) return outcome;
    if (record < 1 || record > state.record_count() ||
        std::size_t(record) > state.contents.size()) {
        return WriteOutcome::worded("Der Datensatz steht nicht mehr in der Datei.");
    }
    const RecordBounds& bounds = state.records[std::size_t(record - 1)];
    if (!record_content_is(file.lines, bounds, state.contents[std::size_t(record - 1)]))
        return refused_as_changed(state.current_file);
    const std::string text = replaced_record_text(file, bounds, {});
    outcome = rewrite_with_backup(
        state.current_file,
        {.before = file.bytes, .after = *text_bytes(file, text, Utf8Change::allowed)},
        &state.loaded);
    note_write(state, outcome);
    if (outcome.ok()) take_written_text(state, text);
    return outcome;
}

UndoResult undo_from_backup(EditingState& state, std::string& message, bool& changed_outside) {
    changed_outside = false;
    const FileLock lock = lock_file(state.current_file);
    if (!lock.held()) {
        message = lock.message();
        return UndoResult::failed;
    }
    const std::optional<UndoPoint> point = state.undo;
    std::string bytes;
    // The read's own stamp tells whether the backup is still what this program wrote.
    const FileRead backup = point && point->file == state.current_file
                                ? read_regular_file(point->backup, bytes)
                                : FileRead{};
    if (!backup.ok || backup.stamp != point->backup_stamp) {
        message = kNoBackupMessage;
        return UndoResult::no_backup;
    }
    if (current_stamp(state.current_file) != point->file_stamp) {
        changed_outside = true;
        message = changed_outside_message(state.current_file);
        return UndoResult::failed;
    }
    const WriteOutcome written = write_file_safely(state.current_file, bytes);
    message = german_text(written);
    if (!written.ok()) return UndoResult::failed;
    state.undo.reset();
    state.loaded = written.written_stamp;
    take_written(state, std::move(bytes));
    return UndoResult::restored;
}

namespace {

// The blocks for the deleted file and the lines that stay, in one pass.
struct Split {
    std::vector<DocumentLine> kept;
    std::vector<DocumentLine> moved;
    int count = 0;
};

Split split_expired(const ReminderDocument& doc, const std::vector<RecordBounds>& records,
                    const EngineState& state) {
    Split split;
    const std::vector<std::string> groups = group_names(state);
    const std::string stamp = "gelöscht am: " + written_date(state.today);
    long long next = 1;  // the first line not yet handed on
    int number = 0;
    for (const RecordBounds& bounds : records) {
        ++number;
        const ListRow row = read_row(doc, bounds, number, groups, state.settings.record_color);
        const long long first = first_line_of(doc, bounds);
        if (first < next || bounds.end > static_cast<long long>(doc.lines.size()) ||
            !is_expired_once(row, state.today)) {
            continue;
        }
        split.kept.insert(split.kept.end(), doc.lines.begin() + (next - 1),
                          doc.lines.begin() + (first - 1));
        split.moved.push_back({stamp, std::string(kLineEnd)});
        split.moved.insert(split.moved.end(), doc.lines.begin() + (first - 1),
                           doc.lines.begin() + bounds.end);
        end_last_line(split.moved);
        split.moved.push_back({"", std::string(kLineEnd)});
        next = bounds.end + 1;
        ++split.count;
    }
    split.kept.insert(split.kept.end(), doc.lines.begin() + (next - 1), doc.lines.end());
    return split;
}

}  // namespace

namespace {

// Appends the moved blocks to the deleted file (created when missing, in the
// encoding of the file they come from).
WriteOutcome append_moved(const fs::path& deleted_file, const std::vector<DocumentLine>& moved,
                          TextEncoding encoding) {
    const FileLock lock = lock_file(deleted_file);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, deleted_file);
    std::string reason;
    bool exists = false;
    std::optional<ReminderDocument> deleted = load_or_new_document(deleted_file, reason, exists);
    if (!deleted) return WriteOutcome::worded(reason);
    if (!exists) deleted->encoding = encoding;
    end_last_line(deleted->lines);
    deleted->lines.insert(deleted->lines.end(), moved.begin(), moved.end());
    return write_file_safely(deleted_file, document_bytes(*deleted));
}

}  // namespace

MoveOutcome move_expired_records(EditingState& editing, const fs::path& deleted_file,
                                 const EngineState& state) {
    MoveOutcome outcome;
    // Appending to the file being cleaned up would put each record back into it.
    if (same_file(deleted_file, editing.current_file)) {
        outcome.write = WriteOutcome::worded(
            "Die Datei " + display_name(editing.current_file) +
            " ist selbst die Datei für gelöschte Datensätze. Abgelaufene Datensätze können nicht "
            "in sie bewegt werden; es wurde nichts geändert.");
        return outcome;
    }
    const FileLock lock = lock_file(editing.current_file);
    if (!lock.held()) {
        outcome.write = WriteOutcome::failed(WriteFailure::busy, editing.current_file);
        return outcome;
    }
    std::optional<ReminderDocument> doc = load_unchanged(editing, outcome.write);
    if (!doc) return outcome;
    Split split = split_expired(*doc, editing.records, state);
    if (split.count == 0) return outcome;
    outcome.write = append_moved(deleted_file, split.moved, doc->encoding);
    if (!outcome.write.ok()) return outcome;

    const std::string_view old_bytes = doc->bytes;
    doc->lines = std::move(split.kept);
    outcome.write =
        rewrite_with_backup(editing.current_file,
                            {.before = old_bytes, .after = document_bytes(*doc)}, &editing.loaded);
    note_write(editing, outcome.write);
    if (outcome.write.ok()) outcome.moved = split.count;
    return outcome;
}

std::string moved_message(int moved) {
    // Appended rather than `" " + text`: GCC 12 at -O3 reports a false overlap
    // (-Wrestrict) inside std::string's operator+ for a one-character prefix.
    std::string text = " ";
    text += int_text(moved);
    text += moved == 1 ? " gelöschter Datensatz in Datei deleted.rmd bewegt"
                       : " gelöschte Datensätze in Datei deleted.rmd bewegt";
    return text;
}

std::optional<std::string> link_of_line(const std::string& line) {
    const SplitLine split = split_as_read(line);
    if (split.kind != LineKind::tag || split.name != "add_file") return std::nullopt;
    return split.value;
}

WriteOutcome rewrite_links(const fs::path& main_file, const std::vector<std::string>& added,
                           const std::vector<std::string>& removed) {
    if (added.empty() && removed.empty()) return {};
    const FileLock lock = lock_file(main_file);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, main_file);
    std::string reason;
    std::optional<ReminderDocument> doc = load_document(main_file, &reason);
    if (!doc) return WriteOutcome::worded(reason);
    std::vector<std::string> links;
    for (const std::string& file : added) links.push_back("<add_file=" + file + ">");
    std::vector<DocumentLine> lines = new_lines(links);
    for (const DocumentLine& line : doc->lines) {
        const std::optional<std::string> link = link_of_line(line.text);
        const bool gone = link && std::find(removed.begin(), removed.end(), *link) != removed.end();
        if (!gone) lines.push_back(line);
    }
    const std::string_view old_bytes = doc->bytes;
    doc->lines = std::move(lines);
    const std::string new_bytes = document_bytes(*doc);
    if (new_bytes == old_bytes) return {};
    return rewrite_with_backup(main_file, {.before = old_bytes, .after = new_bytes}, &doc->stamp);
}

bool create_if_missing(const fs::path& file) {
    const FileLock lock = lock_file(file);
    if (!lock.held()) return false;
    std::error_code ec;
    return fs::exists(file, ec) || write_file_safely(file, {}).ok();
}

WriteOutcome copy_file_safely(const fs::path& from, const fs::path& to) {
    if (same_file(from, to)) {
        return WriteOutcome::worded("Die Datei " + display_name(to) +
                                    " kann nicht zugleich Quelle und Ziel sein.");
    }
    std::string bytes;
    if (!read_regular_file(from, bytes).ok) {
        return WriteOutcome::failed(WriteFailure::unreadable, from);
    }
    return write_file_safely(to, bytes);
}

}  // namespace merkwald
