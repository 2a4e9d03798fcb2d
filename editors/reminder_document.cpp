#include "editors/reminder_document.h"

#include <utility>

#include "editors/safe_rewrite.h"

namespace merkwald {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The same cuts as for_each_line, keeping each line's own end.
std::vector<DocumentLine> split_with_endings(std::string_view text) {
    std::vector<DocumentLine> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::size_t next = end;
        if (next < text.size()) {
            next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2
                                                                                              : 1;
        }
        lines.push_back({std::string(text.substr(pos, end - pos)),
                         std::string(text.substr(end, next - end))});
        pos = next;
    }
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

std::optional<ReminderDocument> load_document(const std::filesystem::path& path) {
    std::string bytes;
    if (!read_file_bytes(path, bytes)) return std::nullopt;
    return parse_document(std::move(bytes));
}

std::string document_bytes(const ReminderDocument& doc) {
    const std::string text = joined(doc.lines);
    const std::string_view mark = doc.byte_order_mark ? kBom : std::string_view();
    if (doc.encoding == TextEncoding::windows1252) {
        if (std::optional<std::string> bytes = utf8_to_windows1252(text)) {
            std::string out = std::string(mark) + *bytes;
            // Bytes that happen to form valid UTF-8 would be read back as other
            // characters: such a file must become UTF-8 as well.
            if (decode_text(out).text == text) return out;
        }
    }
    return std::string(mark) + text;
}

std::vector<DocumentLine> new_lines(const std::vector<std::string>& texts) {
    std::vector<DocumentLine> lines;
    lines.reserve(texts.size());
    for (const std::string& text : texts) lines.push_back({text, std::string(kLineEnd)});
    return lines;
}

void end_last_line(std::vector<DocumentLine>& lines) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = kLineEnd;
}

}  // namespace merkwald
