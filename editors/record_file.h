#pragma once
// Reading and writing one record of a reminder file for the record editor.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "editors/record_fields.h"
#include "editors/safe_rewrite.h"
#include "engine/messages.h"
#include "engine/record_scan.h"

namespace merkwald {

// Shared by the main window, the record list and the record editor.
struct EditingState {
    std::filesystem::path current_file;
    std::vector<RecordBounds> records;  // record k at index k - 1
    int current_record = 1;             // record_count() + 1: a new record
    bool new_record = false;
    [[nodiscard]] int record_count() const { return static_cast<int>(records.size()); }
};

// `scan_records` into the state; false when the file cannot be read (reported).
bool rescan(EditingState& state, MessageSink& sink);

struct EditorPresets {
    std::vector<std::string> groups;  // the group table's names, without the empty slot
    std::int32_t record_color = 0;
};

// Reads record `current_record` into the fields, or prepares a new one when it
// lies beyond the last record; sets `new_record`. False when the file cannot be
// read: the fields keep what was set before.
bool load_record(EditingState& state, const EditorPresets& presets, RecordFields& fields,
                 RememberedTexts& memory, MessageSink& sink);

// The file with the fields' record in place of record `current_record`; the
// previous content goes to the backup.
[[nodiscard]] WriteOutcome replace_record(EditingState& state, const RecordFields& fields,
                                          std::int32_t record_color, MessageSink& sink);

// Appends the lines, each ending with CRLF, to the file (created when missing).
// The lines already there keep their bytes and the file its encoding, unless a
// new line holds a character that Windows-1252 lacks: then the whole file
// becomes UTF-8. A last line without line end gets one first.
[[nodiscard]] WriteOutcome append_lines(const std::filesystem::path& file,
                                        const std::vector<std::string>& lines);

// The fields' record after one empty line at the end of the file (created when
// missing), then a rescan, so that the record is number `record_count()`.
[[nodiscard]] WriteOutcome append_record(EditingState& state, const RecordFields& fields,
                                         std::int32_t record_color, MessageSink& sink);

// Lines `first` ... `last` (1-based, inclusive) of the document replaced by `lines`.
[[nodiscard]] std::vector<DocumentLine> splice_lines(const std::vector<DocumentLine>& lines,
                                                     long long first, long long last,
                                                     const std::vector<DocumentLine>& inserted);

// What every rewrite says when the file cannot be read.
[[nodiscard]] std::string unreadable_message(const std::filesystem::path& file);

}  // namespace merkwald
