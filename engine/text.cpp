#include "engine/text.h"

#include <algorithm>
#include <cstdio>

namespace merkwald {

namespace {

[[nodiscard]] constexpr bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Number of bytes a sequence starting with `lead` claims; 0 for a byte that cannot start one.
[[nodiscard]] constexpr int sequence_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Lower-cases byte `c`, given the byte before it. Every letter handled keeps its UTF-8
// length, so strings can be compared and converted byte by byte.
[[nodiscard]] constexpr unsigned char lower_byte(unsigned char prev, unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    // U+00C0-U+00DE are C3 80 - C3 9E; U+00D7 (multiplication sign) has no lower case.
    if (prev == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97) {
        return static_cast<unsigned char>(c + 0x20);
    }
    return c;
}

}  // namespace

void trim_blanks_in_place(std::string& s) {
    const std::size_t last = s.find_last_not_of(' ');
    if (last == std::string::npos) {
        s.clear();
        return;
    }
    s.erase(last + 1);
    s.erase(0, s.find_first_not_of(' '));
}

std::string to_lower(std::string_view utf8) {
    std::string out(utf8);
    unsigned char prev = 0;
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        ch = static_cast<char>(lower_byte(prev, c));
        prev = c;
    }
    return out;
}

bool equals_ignore_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    unsigned char prev_a = 0;
    unsigned char prev_b = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        // Equal bytes after equal bytes lower alike (the reader compares every
        // group value with every group name).
        const bool same = ca == cb && prev_a == prev_b;
        if (!same && lower_byte(prev_a, ca) != lower_byte(prev_b, cb)) return false;
        prev_a = ca;
        prev_b = cb;
    }
    return true;
}

void tabs_to_spaces(std::string& line) { std::replace(line.begin(), line.end(), '\t', ' '); }

std::string_view drop_last_char(std::string_view s) {
    if (s.empty()) return s;
    if (static_cast<unsigned char>(s.back()) < 0x80) return s.substr(0, s.size() - 1);
    std::size_t i = s.size() - 1;
    int continuations = 0;
    while (i > 0 && continuations < 3 && is_continuation(static_cast<unsigned char>(s[i]))) {
        --i;
        ++continuations;
    }
    // A broken sequence loses one byte only, so no neighbouring character goes with it.
    if (sequence_length(static_cast<unsigned char>(s[i])) != continuations + 1) {
        return s.substr(0, s.size() - 1);
    }
    return s.substr(0, i);
}

namespace {

// drop_last_char with the common case, an ASCII last character, inline: every
// tag line of every file passes here.
std::string_view without_last_char(std::string_view s) {
    if (!s.empty() && static_cast<unsigned char>(s.back()) < 0x80) return s.substr(0, s.size() - 1);
    return drop_last_char(s);
}

}  // namespace

SplitView split_prepared_line(std::string_view line) {
    SplitView out;
    if (line.empty() || line.front() != '<') return out;
    out.kind = LineKind::tag;
    const std::string_view inner = line.substr(1);
    const std::size_t eq = inner.find('=');
    if (eq == std::string_view::npos) {
        out.name = trim_blanks(without_last_char(inner));
    } else {
        out.name = trim_blanks(inner.substr(0, eq));
        out.value = trim_blanks(without_last_char(inner.substr(eq + 1)));
    }
    return out;
}

SplitLine split_tag_line(std::string& line) {
    trim_blanks_in_place(line);
    const SplitView view = split_prepared_line(line);
    SplitLine out;
    out.kind = view.kind;
    out.name = to_lower(view.name);
    out.value = std::string(view.value);
    return out;
}

std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string hex64(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace merkwald
