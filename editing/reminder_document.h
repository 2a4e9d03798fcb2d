#pragma once
// A reminder file held as lines for the editing tools. Untouched lines keep
// their exact bytes: the line ends they had (CRLF, LF or CR) and the file's
// encoding are written back as read. Lines the tools write end with CRLF.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_access.h"
#include "engine/text.h"
#include "engine/text_file.h"

namespace merkwald {

inline constexpr std::string_view kLineEnd = "\r\n";

struct DocumentLine {
    std::string text;    // UTF-8, without its line end
    std::string ending;  // "\r\n", "\n", "\r", or "" for a last line without one
    friend bool operator==(const DocumentLine&, const DocumentLine&) = default;
};

// Where one record stands, lines counted from 1 (see record_bounds).
struct RecordBounds {
    long long start = 0;  // line of `<record>`
    long long end = 0;    // line of `</record>`
    friend bool operator==(const RecordBounds&, const RecordBounds&) = default;
};

struct ReminderDocument {
    std::vector<DocumentLine> lines;
    TextEncoding encoding = TextEncoding::utf8;
    bool byte_order_mark = false;
    std::string bytes;  // the file as read: the backup of a rewrite
    FileStamp stamp;    // the file when it was read
};

// Lines as the reader counts them: a last line counts only when it is not empty.
[[nodiscard]] ReminderDocument parse_document(std::string bytes);
// nullopt when the file cannot be read; `message` then says why.
[[nodiscard]] std::optional<ReminderDocument> load_document(const std::filesystem::path& path,
                                                            std::string* message = nullptr);

// The document of `path`, or an empty one when nothing stands there (then
// `existed` is false); nullopt, with the reason in `message`, when something
// stands there that cannot be read.
[[nodiscard]] std::optional<ReminderDocument> load_or_new_document(
    const std::filesystem::path& path, std::string& message, bool& existed);

// Where the records stand, counted as the reader counts them, except that a
// record's lines are its own: a record without its own `<record>` line starts
// after the previous record's end (`start` is then the line before its first
// line), so no record ever reaches back over an earlier one.
[[nodiscard]] std::vector<RecordBounds> record_bounds(const ReminderDocument& doc);

// The same over lines held elsewhere (see line_views): for reading a file's
// records without holding each of its lines as a string of its own.
[[nodiscard]] std::vector<RecordBounds> record_bounds(const std::vector<std::string_view>& lines);
[[nodiscard]] std::string record_content(const std::vector<std::string_view>& lines,
                                         const RecordBounds& bounds);

[[nodiscard]] long long first_line_of(const std::vector<std::string_view>& lines,
                                      const RecordBounds& bounds);

// Whether the record's lines are `content` (as record_content gives them),
// without putting them together.
[[nodiscard]] bool record_content_is(const std::vector<std::string_view>& lines,
                                     const RecordBounds& bounds, std::string_view content);

// The decoded text cut into lines as parse_document cuts it, as views into `text`.
[[nodiscard]] std::vector<std::string_view> line_views(std::string_view text);

// A line cut into tag name and value as the reader cuts it, tabs read as blanks.
[[nodiscard]] SplitLine split_as_read(std::string line);

// The first line a rewrite of the record replaces: its `<record>` line, or the
// line after the previous record's end.
[[nodiscard]] long long first_line_of(const ReminderDocument& doc, const RecordBounds& bounds);

// The lines of one record, from first_line_of to its end, each followed by
// '\n': what the record is recognised by when it may have moved.
[[nodiscard]] std::string record_content(const ReminderDocument& doc, const RecordBounds& bounds);

// The lines in the document's encoding. When a line cannot be held by
// Windows-1252 the whole file becomes UTF-8, so that no character is lost.
[[nodiscard]] std::string document_bytes(const ReminderDocument& doc);

// True when the document was Windows-1252 and its lines now hold a character
// that only UTF-8 can: writing it changes the file's encoding.
[[nodiscard]] bool must_become_utf8(const ReminderDocument& doc);

// The text with every control character (C0 but the tab, and DEL) as a blank: a
// line break would split its line, the others no one sees.
[[nodiscard]] std::string blank_controls(std::string text);

// New lines written by the tools, each ending with CRLF, after blank_controls:
// nothing a dialog, an import or an argument brings in is written raw.
[[nodiscard]] std::vector<DocumentLine> new_lines(const std::vector<std::string>& texts);

// Gives a last line without line end its CRLF, so that lines can follow it.
void end_last_line(std::vector<DocumentLine>& lines);

}  // namespace merkwald
