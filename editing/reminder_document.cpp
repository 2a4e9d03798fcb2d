#include "editing/reminder_document.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <utility>

#include "engine/safe_rewrite.h"
#include "engine/tags.h"
#include "engine/text.h"

namespace merkwald {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The same cuts as for_each_line; `take` gets each line and its own end.
template <class Take>
void cut_lines(std::string_view text, Take take) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A plain loop: find_first_of looks up each byte in the set, many times slower.
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::size_t next = end;
        if (next < text.size()) {
            next +=
                (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        }
        take(text.substr(pos, end - pos), text.substr(end, next - end));
        pos = next;
    }
}

std::vector<DocumentLine> split_with_endings(std::string_view text) {
    std::vector<DocumentLine> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    cut_lines(text, [&lines](std::string_view line, std::string_view ending) {
        lines.push_back({std::string(line), std::string(ending)});
    });
    return lines;
}

std::string joined(const std::vector<DocumentLine>& lines) {
    std::string text;
    for (const DocumentLine& line : lines) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

}  // namespace

ReminderDocument parse_document(std::string bytes) {
    ReminderDocument doc;
    doc.byte_order_mark = std::string_view(bytes).starts_with(kBom);
    FileText decoded = decode_text(bytes);
    doc.encoding = decoded.encoding;
    doc.lines = split_with_endings(decoded.text);
    doc.bytes = std::move(bytes);
    return doc;
}

std::optional<ReminderDocument> load_document(const std::filesystem::path& path,
                                              std::string* message) {
    std::string bytes;
    const FileRead read = read_regular_file(path, bytes);
    if (!read.ok) {
        if (message != nullptr) *message = read.message;
        return std::nullopt;
    }
    ReminderDocument doc = parse_document(std::move(bytes));
    doc.stamp = read.stamp;
    return doc;
}

std::optional<ReminderDocument> load_or_new_document(const std::filesystem::path& path,
                                                     std::string& message, bool& existed) {
    std::error_code ec;
    existed = std::filesystem::exists(std::filesystem::symlink_status(path, ec));
    if (!existed) return parse_document({});
    return load_document(path, &message);
}

SplitLine split_as_read(std::string line) {
    tabs_to_spaces(line);
    return split_tag_line(line);
}

namespace {

// The tag of a line as the reader sees it.
Tag tag_of(std::string_view line) {
    // Only a line whose first character past blanks and tabs is '<' can be a tag:
    // most lines are text and need no copy.
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] != '<') return Tag::none;
    // Without tabs and with a short plain name, as most tag lines are, the name
    // is looked at in place; anything else takes the reader's own way.
    if (line.find('\t') == std::string_view::npos) {
        const SplitView view = split_prepared_line(trim_blanks(line));
        std::array<char, 16> lower{};
        if (view.name.size() <= lower.size() &&
            std::all_of(view.name.begin(), view.name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            std::transform(view.name.begin(), view.name.end(), lower.begin(), [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            });
            return find_tag(std::string_view(lower.data(), view.name.size()));
        }
    }
    const SplitLine split = split_as_read(std::string(line));
    return split.kind == LineKind::tag ? find_tag(split.name) : Tag::none;
}

const std::string& text_of(const DocumentLine& line) { return line.text; }
std::string_view text_of(std::string_view line) { return line; }

template <class Lines>
std::vector<RecordBounds> bounds_of(const Lines& lines) {
    std::vector<RecordBounds> records;
    RecordBounds current;
    long long previous_end = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Tag tag = tag_of(text_of(lines[i]));
        const auto number = static_cast<long long>(i) + 1;
        if (tag == Tag::record) {
            current.start = number;
        } else if (tag == Tag::end_record) {
            if (current.start == 0) current.start = previous_end;
            current.end = number;
            records.push_back(current);
            previous_end = number;
            current = {};
        }
    }
    return records;
}

template <class Lines>
long long first_line_in(const Lines& lines, const RecordBounds& bounds) {
    const bool own_start = bounds.start >= 1 &&
                           bounds.start <= static_cast<long long>(lines.size()) &&
                           tag_of(text_of(lines[std::size_t(bounds.start - 1)])) == Tag::record;
    return own_start ? bounds.start : bounds.start + 1;
}

template <class Lines>
std::string content_of(const Lines& lines, const RecordBounds& bounds) {
    std::string content;
    const auto last = std::min(bounds.end, static_cast<long long>(lines.size()));
    for (long long i = std::max(first_line_in(lines, bounds), 1LL); i <= last; ++i) {
        content += text_of(lines[std::size_t(i - 1)]);
        content += '\n';
    }
    return content;
}

}  // namespace

std::vector<RecordBounds> record_bounds(const ReminderDocument& doc) {
    return bounds_of(doc.lines);
}

std::vector<RecordBounds> record_bounds(const std::vector<std::string_view>& lines) {
    return bounds_of(lines);
}

std::vector<std::string_view> line_views(std::string_view text) {
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    cut_lines(text, [&lines](std::string_view line, std::string_view) { lines.push_back(line); });
    return lines;
}

long long first_line_of(const ReminderDocument& doc, const RecordBounds& bounds) {
    return first_line_in(doc.lines, bounds);
}

std::string record_content(const ReminderDocument& doc, const RecordBounds& bounds) {
    return content_of(doc.lines, bounds);
}

bool record_content_is(const std::vector<std::string_view>& lines, const RecordBounds& bounds,
                       std::string_view content) {
    const auto last = std::min(bounds.end, static_cast<long long>(lines.size()));
    for (long long i = std::max(first_line_in(lines, bounds), 1LL); i <= last; ++i) {
        const std::string_view line = lines[std::size_t(i - 1)];
        if (!content.starts_with(line) || content.size() == line.size() ||
            content[line.size()] != '\n')
            return false;
        content.remove_prefix(line.size() + 1);
    }
    return content.empty();
}

long long first_line_of(const std::vector<std::string_view>& lines, const RecordBounds& bounds) {
    return first_line_in(lines, bounds);
}

std::string record_content(const std::vector<std::string_view>& lines, const RecordBounds& bounds) {
    return content_of(lines, bounds);
}

namespace {

// The Windows-1252 bytes of the document, nullopt when they cannot hold it.
std::optional<std::string> windows1252_bytes(const ReminderDocument& doc, const std::string& text) {
    const std::string_view mark = doc.byte_order_mark ? kBom : std::string_view();
    std::optional<std::string> bytes = utf8_to_windows1252(text);
    if (!bytes) return std::nullopt;
    std::string out = std::string(mark) + *bytes;
    // Bytes that happen to form valid UTF-8 would be read back as other
    // characters: such a file must become UTF-8 as well.
    if (decode_text(out).text != text) return std::nullopt;
    return out;
}

}  // namespace

std::string document_bytes(const ReminderDocument& doc) {
    const std::string text = joined(doc.lines);
    if (doc.encoding == TextEncoding::windows1252) {
        if (std::optional<std::string> out = windows1252_bytes(doc, text)) return *out;
    }
    return std::string(doc.byte_order_mark ? kBom : std::string_view()) + text;
}

bool must_become_utf8(const ReminderDocument& doc) {
    return doc.encoding == TextEncoding::windows1252 &&
           !windows1252_bytes(doc, joined(doc.lines)).has_value();
}

std::string blank_controls(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f) c = ' ';
    }
    return text;
}

std::vector<DocumentLine> new_lines(const std::vector<std::string>& texts) {
    std::vector<DocumentLine> lines;
    lines.reserve(texts.size());
    for (const std::string& text : texts)
        lines.push_back({blank_controls(text), std::string(kLineEnd)});
    return lines;
}

void end_last_line(std::vector<DocumentLine>& lines) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = kLineEnd;
}

}  // namespace merkwald
