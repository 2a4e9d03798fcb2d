#include "editing/record_file.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "engine/file_lock.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The records of the lines into the state, and what changed against those it
// held: the records that kept their lines at the head and the tail keep their
// strings too, and only the others are put together.
void count_records(EditingState& state, const std::vector<std::string_view>& lines) {
    std::vector<RecordBounds> records = record_bounds(lines);
    std::vector<std::string>& before = state.contents;
    const std::size_t common = std::min(before.size(), records.size());
    std::size_t head = 0;
    while (head < common && record_content_is(lines, records[head], before[head])) ++head;
    std::size_t tail = 0;
    while (tail < common - head && record_content_is(lines, records[records.size() - 1 - tail],
                                                     before[before.size() - 1 - tail])) {
        ++tail;
    }
    std::vector<std::string> contents(records.size());
    for (std::size_t k = 0; k < records.size(); ++k) {
        if (k < head) {
            contents[k] = std::move(before[k]);
        } else if (k >= records.size() - tail) {
            contents[k] = std::move(before[k + before.size() - records.size()]);
        } else {
            contents[k] = record_content(lines, records[k]);
        }
    }
    // Changes add up until the one who shows the records takes them (see RecordChange).
    state.change = {std::min(state.change.same_head, static_cast<int>(head)),
                    std::min(state.change.same_tail, static_cast<int>(tail))};
    state.records = std::move(records);
    state.contents = std::move(contents);
}

// A file that cannot be read: reported, and nothing of it counted.
bool forget_unreadable(EditingState& state, MessageSink& sink, const std::string& reason) {
    state.records.clear();
    state.contents.clear();
    state.change = {};
    state.loaded = {};
    sink.show_message(read_failure_text(state.current_file, reason), MessageIcon::critical);
    return false;
}

// Whether record `current_record` of `doc` (counted as the state counted) still
// holds the lines the editor opened.
bool holds_opened(const EditingState& state, const std::vector<std::string_view>& doc) {
    if (state.current_record < 1 || state.current_record > state.record_count()) return false;
    const auto k = std::size_t(state.current_record - 1);
    if (state.opened.empty() && k >= state.contents.size()) return false;
    const std::string& opened = state.opened.empty() ? state.contents[k] : state.opened;
    return record_content_is(doc, state.records[k], opened);
}

}  // namespace

void take_written(EditingState& state, const ReminderDocument& doc) {
    std::vector<std::string_view> lines;
    lines.reserve(doc.lines.size());
    for (const DocumentLine& line : doc.lines) lines.emplace_back(line.text);
    count_records(state, lines);
}

void take_written_text(EditingState& state, std::string_view text) {
    count_records(state, line_views(text));
}

bool load_text_unchanged(const EditingState& state, WriteOutcome& outcome, CountedText& file) {
    const FileRead read = read_regular_file(state.current_file, file.bytes);
    if (!read.ok) {
        // Gone or changed: the reader's reason is shown, and the caller reloads.
        if (current_stamp(state.current_file) != state.loaded) {
            outcome = WriteOutcome::failed(WriteFailure::changed_outside, state.current_file);
            outcome.detail = read.message;
        } else {
            outcome = WriteOutcome::worded(read.message);
        }
        return false;
    }
    if (read.stamp != state.loaded) {
        outcome = WriteOutcome::failed(WriteFailure::changed_outside, state.current_file);
        return false;
    }
    file.byte_order_mark = file.bytes.starts_with(kBom);
    // A UTF-8 file is its own text: only a Windows-1252 one is decoded into a copy.
    file.text = std::string_view(file.bytes).substr(file.byte_order_mark ? kBom.size() : 0);
    if (!is_valid_utf8(file.text)) {
        file.encoding = TextEncoding::windows1252;
        file.decoded = windows1252_to_utf8(file.text);
        file.text = file.decoded;
    }
    file.lines = line_views(file.text);
    return true;
}

std::string replaced_record_text(const CountedText& file, const RecordBounds& bounds,
                                 std::string_view inserted) {
    const std::string_view text = file.text;
    const auto count = static_cast<long long>(file.lines.size());
    // Where a line starts in the text; past the last line, the text's end.
    const auto start_of = [&](long long line) {
        return line <= count ? std::size_t(file.lines[std::size_t(line - 1)].data() - text.data())
                             : text.size();
    };
    const long long first = std::clamp(first_line_of(file.lines, bounds), 1LL, count + 1);
    const long long last = std::clamp(bounds.end, first - 1, count);
    std::string out;
    out.reserve(text.size() + inserted.size() + 2);
    out.append(text.substr(0, start_of(first)));
    // Lines after a last line without its end begin on a line of their own.
    if (!inserted.empty() && !out.empty() && out.back() != '\n' && out.back() != '\r')
        out += kLineEnd;
    out.append(inserted);
    out.append(text.substr(start_of(last + 1)));
    return out;
}

std::optional<std::string> text_bytes(const CountedText& file, const std::string& text,
                                      Utf8Change utf8) {
    if (file.encoding == TextEncoding::utf8)
        return file.byte_order_mark ? std::string(kBom) + text : text;
    ReminderDocument doc;
    doc.encoding = file.encoding;
    doc.byte_order_mark = file.byte_order_mark;
    doc.lines.push_back({text, {}});
    if (utf8 == Utf8Change::ask && must_become_utf8(doc)) return std::nullopt;
    return document_bytes(doc);
}

void take_written(EditingState& state, std::string bytes) {
    const FileText text = decode_text(std::move(bytes));
    count_records(state, line_views(text.text));
}

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

bool rescan(EditingState& state, MessageSink& sink) {
    std::string bytes;
    const FileRead read = read_regular_file(state.current_file, bytes);
    // The same bytes hold the same records: they need no counting again.
    if (read.ok && read.stamp == state.loaded && state.contents.size() == state.records.size())
        return true;
    if (!read.ok) return forget_unreadable(state, sink, read.message);
    const FileText text = decode_text(std::move(bytes));
    count_records(state, line_views(text.text));
    state.loaded = read.stamp;
    return true;
}

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
    state.new_record = false;
    state.opened.clear();
    if (!rescan(state, sink)) return false;
    if (state.current_record > state.record_count() || state.current_record < 1) {
        state.new_record = true;
        start_new_record(fields, memory, presets.record_color);
        return true;
    }
    state.opened = state.contents.at(std::size_t(state.current_record - 1));
    const RecordBounds& bounds = state.records[std::size_t(state.current_record - 1)];
    // The fields are read from the lines after the start line. The record's
    // lines as counted run to its end from that start line, or from the line
    // after it when it has no `<record>` line of its own: they end with those.
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < state.opened.size();) {
        const std::size_t end = state.opened.find('\n', pos);
        lines.push_back(std::string_view(state.opened).substr(pos, end - pos));
        pos = end == std::string::npos ? state.opened.size() : end + 1;
    }
    const auto wanted = std::size_t(std::max(bounds.end - bounds.start, 0LL));
    ReminderDocument record;
    for (std::size_t n = lines.size() - std::min(wanted, lines.size()); n < lines.size(); ++n)
        record.lines.push_back({std::string(lines[n]), {}});
    load_record_lines(record, {0, static_cast<long long>(record.lines.size())}, presets.groups,
                      presets.record_color, fields, memory);
    return true;
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
    CountedText file;
    if (!load_text_unchanged(state, outcome, file)) return outcome;
    const bool counted = state.current_record >= 1 && state.current_record <= state.record_count();
    if (!counted && state.opened.empty()) {
        return WriteOutcome::worded("Der Datensatz steht nicht mehr in der Datei.");
    }
    if (!holds_opened(state, file.lines)) return refused_as_changed(state.current_file);
    const RecordBounds& bounds = state.records[std::size_t(state.current_record - 1)];
    std::string record;
    for (const DocumentLine& line :
         new_lines(write_record(fields, prepare_date(fields.date), record_color)))
        record += line.text + line.ending;
    const std::string text = replaced_record_text(file, bounds, record);
    const std::optional<std::string> new_bytes = text_bytes(file, text, utf8);
    if (!new_bytes) return needs_utf8();
    if (*new_bytes == file.bytes) return {};
    outcome = rewrite_with_backup(state.current_file, {.before = file.bytes, .after = *new_bytes},
                                  &state.loaded);
    note_write(state, outcome);
    if (outcome.ok()) {
        take_written_text(state, text);
    } else {
        rescan(state, sink);
    }
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

namespace {

// The lines appended to the bytes of an existing file without taking it apart:
// the file is held once, with the new lines after it. Nullopt when the file's
// encoding cannot take them unchanged (then the caller takes the file apart).
std::optional<WriteOutcome> append_bytes(const fs::path& file,
                                         const std::vector<std::string>& lines) {
    std::error_code ec;
    const std::uintmax_t expected = fs::file_size(file, ec);
    std::string added;
    for (const DocumentLine& line : new_lines(lines)) added += line.text + line.ending;
    std::string bytes;
    // Room for the new lines from the start, so that appending them copies nothing.
    if (!ec && expected <= kMaxEditedFileBytes) bytes.reserve(expected + added.size() + 2);
    const FileRead read = read_regular_file(file, bytes);
    if (!read.ok) return WriteOutcome::worded(read.message);
    const std::size_t old_size = bytes.size();
    const std::string_view text =
        std::string_view(bytes).substr(bytes.starts_with(kBom) ? kBom.size() : 0);
    // Text that is not UTF-8 stays so whatever follows it (a cut-off character
    // at its end is closed by the line end): the file still reads as Windows-1252.
    const bool utf8 = is_valid_utf8(text);
    if (!utf8) {
        std::optional<std::string> encoded = utf8_to_windows1252(added);
        if (!encoded) return std::nullopt;
        added = std::move(*encoded);
    }
    // A last line without its end gets one first.
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') bytes += kLineEnd;
    bytes += added;
    const std::string_view old_bytes = std::string_view(bytes).substr(0, old_size);
    return rewrite_with_backup(file, {.before = old_bytes, .after = bytes}, &read.stamp);
}

}  // namespace

WriteOutcome append_lines(const fs::path& file, const std::vector<std::string>& lines,
                          Utf8Change utf8) {
    const FileLock lock = lock_file(file);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, file);
    std::error_code ec;
    if (fs::is_regular_file(file, ec)) {
        if (std::optional<WriteOutcome> appended = append_bytes(file, lines)) return *appended;
    }
    std::string reason;
    bool exists = false;
    std::optional<ReminderDocument> doc = load_or_new_document(file, reason, exists);
    if (!doc) return WriteOutcome::worded(reason);
    return append_to_document(file, *doc, exists, lines, utf8);
}

WriteOutcome append_record(EditingState& state, const RecordFields& fields,
                           std::int32_t record_color, Utf8Change utf8) {
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
    if (!outcome.ok()) return outcome;
    take_written(state, *doc);
    if (!state.contents.empty()) state.opened = state.contents.back();
    return outcome;
}

}  // namespace merkwald
