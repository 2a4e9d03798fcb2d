#include "editors/record_file.h"

#include <algorithm>
#include <system_error>

namespace merkwald {

namespace fs = std::filesystem;

bool rescan(EditingState& state, MessageSink& sink) {
    RecordScan scan = scan_records(state.current_file, sink);
    state.records = std::move(scan.records);
    return scan.ok;
}

bool load_record(EditingState& state, const EditorPresets& presets, RecordFields& fields,
                 RememberedTexts& memory, MessageSink& sink) {
    const bool scanned = rescan(state, sink);
    state.new_record = false;
    if (!scanned) return false;
    if (state.current_record > state.record_count() || state.current_record < 1) {
        state.new_record = true;
        start_new_record(fields, memory, presets.record_color);
        return true;
    }
    const std::optional<ReminderDocument> doc = load_document(state.current_file);
    if (!doc) {
        sink.show_message("Datei nicht gefunden", MessageIcon::critical);
        return false;
    }
    load_record_lines(*doc, state.records[std::size_t(state.current_record - 1)],
                      presets.groups, presets.record_color, fields, memory);
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

std::string unreadable_message(const fs::path& file) {
    const std::u8string name = file.u8string();
    return "Die Datei " + std::string(reinterpret_cast<const char*>(name.data()), name.size()) +
           " konnte nicht gelesen werden.";
}

WriteOutcome replace_record(EditingState& state, const RecordFields& fields,
                            std::int32_t record_color, MessageSink& sink) {
    std::optional<ReminderDocument> doc = load_document(state.current_file);
    if (!doc || !rescan(state, sink)) return {false, unreadable_message(state.current_file)};
    if (state.current_record < 1 || state.current_record > state.record_count()) {
        return {false, "Der Datensatz steht nicht mehr in der Datei."};
    }
    const RecordBounds& bounds = state.records[std::size_t(state.current_record - 1)];
    const std::vector<DocumentLine> record =
        new_lines(write_record(fields, prepare_date(fields.date), record_color));
    const std::string old_bytes = doc->bytes;
    doc->lines = splice_lines(doc->lines, bounds.start, bounds.end, record);
    WriteOutcome outcome = rewrite_with_backup(state.current_file, old_bytes, document_bytes(*doc));
    rescan(state, sink);
    return outcome;
}

WriteOutcome append_lines(const fs::path& file, const std::vector<std::string>& lines) {
    std::error_code ec;
    const bool exists = fs::exists(file, ec);
    std::optional<ReminderDocument> doc = exists ? load_document(file) : parse_document({});
    if (!doc) return {false, unreadable_message(file)};
    end_last_line(doc->lines);
    const std::vector<DocumentLine> appended = new_lines(lines);
    doc->lines.insert(doc->lines.end(), appended.begin(), appended.end());
    if (!exists) return write_file_safely(file, document_bytes(*doc));
    return rewrite_with_backup(file, doc->bytes, document_bytes(*doc));
}

WriteOutcome append_record(EditingState& state, const RecordFields& fields,
                           std::int32_t record_color, MessageSink& sink) {
    std::vector<std::string> texts{""};
    const std::vector<std::string> record =
        write_record(fields, prepare_date(fields.date), record_color);
    texts.insert(texts.end(), record.begin(), record.end());
    WriteOutcome outcome = append_lines(state.current_file, texts);
    // A failed write leaves the file as it was, and so its record table.
    if (outcome.ok) rescan(state, sink);
    return outcome;
}

}  // namespace merkwald
