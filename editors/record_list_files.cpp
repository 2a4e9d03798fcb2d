#include "editors/record_list_files.h"

#include <system_error>

#include "editors/record_file.h"
#include "editors/record_rows.h"
#include "editors/reminder_document.h"
#include "engine/date_text.h"
#include "engine/number.h"
#include "engine/record_scan.h"

namespace merkwald {

namespace fs = std::filesystem;

WriteOutcome delete_record(const fs::path& file, int record, MessageSink& sink) {
    std::optional<ReminderDocument> doc = load_document(file);
    const RecordScan scan = scan_records(file, sink);
    if (!doc || !scan.ok) return {false, unreadable_message(file)};
    if (record < 1 || record > static_cast<int>(scan.records.size())) {
        return {false, "Der Datensatz steht nicht mehr in der Datei."};
    }
    const RecordBounds& bounds = scan.records[std::size_t(record - 1)];
    const std::string old_bytes = doc->bytes;
    doc->lines = splice_lines(doc->lines, bounds.start, bounds.end, {});
    return rewrite_with_backup(file, old_bytes, document_bytes(*doc));
}

UndoResult undo_from_backup(const fs::path& file, std::string& message) {
    const fs::path backup = backup_name(file);
    std::error_code ec;
    if (!fs::exists(backup, ec)) {
        message = kNoBackupMessage;
        return UndoResult::no_backup;
    }
    std::string bytes;
    if (!read_file_bytes(backup, bytes)) {
        message = unreadable_message(backup);
        return UndoResult::failed;
    }
    const WriteOutcome written = write_file_safely(file, bytes);
    message = written.message;
    return written.ok ? UndoResult::restored : UndoResult::failed;
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
    const std::string stamp = "gelöscht am: " + format_date(state.today, "dd.mm.yyyy");
    long long next = 1;  // the first line not yet handed on
    int number = 0;
    for (const RecordBounds& bounds : records) {
        ++number;
        const ListRow row = read_row(doc, bounds, number, groups, state.settings.record_color);
        if (bounds.start < next || bounds.end > static_cast<long long>(doc.lines.size()) ||
            !is_expired_once(row, state.today)) {
            continue;
        }
        split.kept.insert(split.kept.end(), doc.lines.begin() + (next - 1),
                          doc.lines.begin() + (bounds.start - 1));
        split.moved.push_back({stamp, std::string(kLineEnd)});
        split.moved.insert(split.moved.end(), doc.lines.begin() + (bounds.start - 1),
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

MoveOutcome move_expired_records(const fs::path& file, const fs::path& deleted_file,
                                 const EngineState& state, MessageSink& sink) {
    MoveOutcome outcome;
    std::optional<ReminderDocument> doc = load_document(file);
    const RecordScan scan = scan_records(file, sink);
    if (!doc || !scan.ok) {
        outcome.write = {false, unreadable_message(file)};
        return outcome;
    }
    Split split = split_expired(*doc, scan.records, state);
    if (split.count == 0) return outcome;

    std::error_code ec;
    std::optional<ReminderDocument> deleted =
        fs::exists(deleted_file, ec) ? load_document(deleted_file) : std::nullopt;
    if (!deleted) {
        if (fs::exists(deleted_file, ec)) {
            outcome.write = {false, unreadable_message(deleted_file)};
            return outcome;
        }
        deleted = parse_document({});
        deleted->encoding = doc->encoding;  // a new file follows the file it comes from
    }
    end_last_line(deleted->lines);
    deleted->lines.insert(deleted->lines.end(), split.moved.begin(), split.moved.end());
    outcome.write = write_file_safely(deleted_file, document_bytes(*deleted));
    if (!outcome.write.ok) return outcome;

    const std::string old_bytes = doc->bytes;
    doc->lines = std::move(split.kept);
    outcome.write = rewrite_with_backup(file, old_bytes, document_bytes(*doc));
    if (outcome.write.ok) outcome.moved = split.count;
    return outcome;
}

std::string moved_message(int moved) {
    return " " + int_text(moved) +
           (moved == 1 ? " gelöschter Datensatz in Datei deleted.rmd bewegt"
                       : " gelöschte Datensätze in Datei deleted.rmd bewegt");
}

WriteOutcome rewrite_links(const fs::path& main_file, const std::vector<std::string>& linked) {
    std::optional<ReminderDocument> doc = load_document(main_file);
    if (!doc) return {false, unreadable_message(main_file)};
    std::vector<std::string> links;
    for (const std::string& file : linked) links.push_back("<add_file=" + file + ">");
    std::vector<DocumentLine> lines = new_lines(links);
    for (const DocumentLine& line : doc->lines) {
        if (line.text.find("<add_file=") == std::string::npos) lines.push_back(line);
    }
    const std::string old_bytes = doc->bytes;
    doc->lines = std::move(lines);
    const std::string new_bytes = document_bytes(*doc);
    if (new_bytes == old_bytes) return {};
    return rewrite_with_backup(main_file, old_bytes, new_bytes);
}

WriteOutcome copy_file_safely(const fs::path& from, const fs::path& to) {
    std::string bytes;
    if (!read_file_bytes(from, bytes)) return {false, unreadable_message(from)};
    return write_file_safely(to, bytes);
}

}  // namespace merkwald
