#pragma once
// Reading and writing one record of a reminder file for the record editor.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editing/record_fields.h"
#include "editing/reminder_document.h"
#include "engine/messages.h"
#include "engine/safe_rewrite.h"

namespace merkwald {

// The backup one action wrote, so that Undo restores that file from that
// backup and nothing else.
struct UndoPoint {
    std::filesystem::path file;  // as the dialog names it
    std::filesystem::path backup;
    FileStamp backup_stamp;  // what the action left in the backup
    FileStamp file_stamp;    // and in the file
};

// Whether a Windows-1252 file may silently become UTF-8 when new text needs it;
// with `ask` such a write answers `needs_utf8` and writes nothing.
enum class Utf8Change { allowed, ask };

// Which records the readings and writes of the file changed since the one who
// shows them last set it: the first `same_head` and the last `same_tail`
// records hold the lines they held then, the ones between are new. Nothing
// changed is {n, n} for n records: each later change then only lowers them.
struct RecordChange {
    int same_head = 0;
    int same_tail = 0;
    friend bool operator==(const RecordChange&, const RecordChange&) = default;
};

// Shared by the main window, the record list and the record editor.
struct EditingState {
    std::filesystem::path current_file;
    std::vector<RecordBounds> records;  // record k at index k - 1
    int current_record = 1;             // record_count() + 1: a new record
    bool new_record = false;
    FileStamp loaded;                   // the file the records were counted in
    std::vector<std::string> contents;  // record k's lines as counted, at index k - 1
    // The lines of the record the editor opened: a write replaces only a record
    // that still has them, found by them and never by its number alone.
    std::string opened;
    std::optional<UndoPoint> undo;  // the backup of the last write, if any
    RecordChange change;            // what readings and writes changed since it was set
    [[nodiscard]] int record_count() const { return static_cast<int>(records.size()); }
};

// The records of the file into the state; false when the file cannot be read
// (reported). A file that is still what the state counted is not counted again.
bool rescan(EditingState& state, MessageSink& sink);

// After a write of `doc`'s lines: the records as the file holds them now,
// counted from the lines in hand instead of reading the file again.
void take_written(EditingState& state, const ReminderDocument& doc);
// The same from the bytes written.
void take_written(EditingState& state, std::string bytes);
// The same from the decoded text written.
void take_written_text(EditingState& state, std::string_view text);

// The file as the state counted it, or nullopt with `outcome` saying why not:
// unreadable, or changed by another program since (then nothing may be written).
[[nodiscard]] std::optional<ReminderDocument> load_unchanged(const EditingState& state,
                                                             WriteOutcome& outcome);

// The file as read for a rewrite, its lines looked at in place: a large file
// is not taken apart line by line to change one record.
struct CountedText {
    std::string bytes;  // as read: the backup of the rewrite
    TextEncoding encoding = TextEncoding::utf8;
    bool byte_order_mark = false;
    std::string decoded;                  // the text, when it is not `bytes` themselves
    std::string_view text;                // the decoded text: into `bytes` or `decoded`
    std::vector<std::string_view> lines;  // into `text`
    // The views point into the strings (a short one holds its characters
    // inside itself): it stays where it was filled.
    CountedText() = default;
    CountedText(const CountedText&) = delete;
    CountedText& operator=(const CountedText&) = delete;
};

// load_unchanged for CountedText: false with `outcome` saying why not.
[[nodiscard]] bool load_text_unchanged(const EditingState& state, WriteOutcome& outcome,
                                       CountedText& file);

// The text with the record's lines (first_line_of ... its end) replaced by `inserted`.
[[nodiscard]] std::string replaced_record_text(const CountedText& file, const RecordBounds& bounds,
                                               std::string_view inserted);

// The bytes of `text` in the file's encoding (see document_bytes), nullopt
// when it would have to become UTF-8 and `utf8` says to ask first.
[[nodiscard]] std::optional<std::string> text_bytes(const CountedText& file,
                                                    const std::string& text, Utf8Change utf8);

// The number (from 1) of the record whose lines are `content`, the one nearest
// to `near` when there are several; nullopt when none has them.
[[nodiscard]] std::optional<int> find_record(const EditingState& state, const std::string& content,
                                             int near);

// Nothing written because the file is not as it was counted.
[[nodiscard]] WriteOutcome refused_as_changed(const std::filesystem::path& file);

// After a write: the new stamp and, when a backup was made, the undo point.
void note_write(EditingState& state, const WriteOutcome& outcome);

struct EditorPresets {
    std::vector<std::string> groups;  // the group table's names, without the empty slot
    std::int32_t record_color = 0;
};

// The German question before a file becomes UTF-8.
[[nodiscard]] std::string utf8_question(const std::filesystem::path& file);

// Reads record `current_record` into the fields, or prepares a new one when it
// lies beyond the last record; sets `new_record` and `opened`. False when the
// file cannot be read: the fields keep what was set before.
bool load_record(EditingState& state, const EditorPresets& presets, RecordFields& fields,
                 RememberedTexts& memory, MessageSink& sink);

// The file with the fields' record in place of record `current_record`; the
// previous content goes to the backup. Nothing is written when the file changed
// since it was counted or that record no longer holds the lines opened.
[[nodiscard]] WriteOutcome replace_record(EditingState& state, const RecordFields& fields,
                                          std::int32_t record_color, MessageSink& sink,
                                          Utf8Change utf8 = Utf8Change::allowed);

// Appends the lines, each ending with CRLF, to the file (created when missing).
// The lines already there keep their bytes and the file its encoding, unless a
// new line holds a character that Windows-1252 lacks: then the whole file
// becomes UTF-8. A last line without line end gets one first.
[[nodiscard]] WriteOutcome append_lines(const std::filesystem::path& file,
                                        const std::vector<std::string>& lines,
                                        Utf8Change utf8 = Utf8Change::allowed);

// The fields' record after one empty line at the end of the file (created when
// missing). The records are then counted from the lines written, so that the
// record is number `record_count()` and the one `opened`.
[[nodiscard]] WriteOutcome append_record(EditingState& state, const RecordFields& fields,
                                         std::int32_t record_color,
                                         Utf8Change utf8 = Utf8Change::allowed);

}  // namespace merkwald
