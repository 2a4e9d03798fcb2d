#pragma once
// Line preparation and splitting shared by the reader and every editing tool.
// All text inside the program is UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

namespace merkwald {

// The comma-separated files (places, birthday import) also allow tabs around values.
inline constexpr std::string_view kBlanksAndTabs = " \t";

// Removes leading and trailing `blanks` (by default code 32 only, like the rest
// of the program). Inline: the reader trims every line of every file.
[[nodiscard]] inline std::string_view trim_blanks(std::string_view s,
                                                  std::string_view blanks = " ") {
    // A single blank, the common case, is compared, not searched for.
    const auto is_blank = [blanks](char c) {
        return blanks.size() == 1 ? c == blanks[0] : blanks.find(c) != std::string_view::npos;
    };
    std::size_t first = 0, last = s.size();
    while (first < last && is_blank(s[first])) ++first;
    while (last > first && is_blank(s[last - 1])) --last;
    return s.substr(first, last - first);
}
void trim_blanks_in_place(std::string& s);

// Lower case for ASCII and the Latin-1 letters (Ä Ö Ü and the rest of U+00C0-U+00DE).
[[nodiscard]] std::string to_lower(std::string_view utf8);
[[nodiscard]] bool equals_ignore_case(std::string_view a, std::string_view b);

// Every tab becomes one blank.
void tabs_to_spaces(std::string& line);

// FNV-1a of the bytes, continuing from `hash`: the same in every run and build,
// unlike std::hash. It tells accidental changes and identities apart, never secrets.
[[nodiscard]] std::uint64_t fnv1a(std::string_view bytes,
                                  std::uint64_t hash = 14695981039346656037ull);
// Sixteen lower-case hex digits.
[[nodiscard]] std::string hex64(std::uint64_t value);

enum class LineKind { tag = 1, text = 2 };

struct SplitLine {
    LineKind kind = LineKind::text;
    std::string name;   // lower case, trimmed; empty for text lines
    std::string value;  // trimmed; the closing character dropped
};

// Trims the line in place, then cuts a tag line ("<" first) into name and value:
// with "=" the name is between "<" and the first "=", the value everything after it
// minus its last character (the ">", whatever it is); without "=" the name is
// between the first and the last character. Characters are code points, never bytes.
SplitLine split_tag_line(std::string& line);

// The same on an already prepared (tab-free, trimmed) line without allocating:
// the views point into `line`; `name` is NOT lower-cased.
struct SplitView {
    LineKind kind = LineKind::text;
    std::string_view name;
    std::string_view value;
};
[[nodiscard]] SplitView split_prepared_line(std::string_view line);

// Drops the last code point of a UTF-8 string view.
[[nodiscard]] std::string_view drop_last_char(std::string_view s);

}  // namespace merkwald
