#pragma once
// Reading reminder and data files: valid UTF-8 is taken as it is, anything else
// is Windows-1252 and converted to UTF-8. CRLF, a lone CR and a lone LF all end a line.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace merkwald {

enum class TextEncoding { utf8, windows1252 };

struct FileText {
    std::string text;  // UTF-8, line ends as in the file
    TextEncoding encoding = TextEncoding::utf8;
};

// nullopt when the file cannot be opened or read.
[[nodiscard]] std::optional<FileText> read_text_file(const std::filesystem::path& path);

[[nodiscard]] bool is_valid_utf8(std::string_view bytes);
[[nodiscard]] std::string windows1252_to_utf8(std::string_view bytes);
// nullopt when a character has no Windows-1252 byte.
[[nodiscard]] std::optional<std::string> utf8_to_windows1252(std::string_view utf8);
// Decodes bytes as described above.
[[nodiscard]] FileText decode_text(std::string bytes);

// Walks the lines of a text; the last line counts only when it is not empty.
// Calls f(std::string_view line) for each; stops early when f returns false.
template <class F>
void for_each_line(std::string_view text, F&& f) {
    std::size_t pos = 0;
    const std::size_t n = text.size();
    while (pos < n) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = n;
        if (!f(text.substr(pos, end - pos))) return;
        if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
        pos = end + 1;
    }
}

[[nodiscard]] std::vector<std::string> split_lines(std::string_view text);

}  // namespace merkwald
