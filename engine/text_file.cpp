#include "engine/text_file.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "engine/file_access.h"

namespace merkwald {

namespace {

// Windows-1252 0x80-0x9F. The five bytes the code page leaves undefined map to the C1
// control with the same number, so every byte converts and converts back.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

[[nodiscard]] std::optional<char> windows1252_byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// Length of the valid UTF-8 sequence at `p` (Unicode table 3-7: no overlong forms, no
// surrogates, nothing above U+10FFFF), 0 when it is not valid.
[[nodiscard]] std::size_t valid_sequence(const unsigned char* p, std::size_t left) {
    const unsigned char c = p[0];
    if (c < 0x80) return 1;
    std::size_t len = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (left < len || p[1] < lo || p[1] > hi) return 0;
    for (std::size_t i = 2; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
    }
    return len;
}

[[nodiscard]] char32_t decode_sequence(const unsigned char* p, std::size_t len) {
    if (len == 1) return p[0];
    char32_t cp = p[0] & (0x7F >> len);
    for (std::size_t i = 1; i < len; ++i) cp = (cp << 6) | (p[i] & 0x3F);
    return cp;
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        // Reminder files are nearly all ASCII: step over it 32, then eight bytes at a time.
        while (i + 32 <= n) {
            std::uint64_t block[4];
            std::memcpy(block, p + i, sizeof block);
            if ((block[0] | block[1] | block[2] | block[3]) & 0x8080808080808080ULL) break;
            i += 32;
        }
        while (i + 8 <= n) {
            std::uint64_t block = 0;
            std::memcpy(&block, p + i, 8);
            if (block & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= n) break;
        const std::size_t len = valid_sequence(p + i, n - i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string windows1252_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            append_utf8(out, c < 0xA0 ? kHighControls[c - 0x80] : char32_t{c});
        }
    }
    return out;
}

std::optional<std::string> utf8_to_windows1252(std::string_view utf8) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t len = valid_sequence(p + i, utf8.size() - i);
        if (len == 0) return std::nullopt;
        const std::optional<char> byte = windows1252_byte(decode_sequence(p + i, len));
        if (!byte) return std::nullopt;
        out += *byte;
        i += len;
    }
    return out;
}

FileText decode_text(std::string bytes) {
    // A byte order mark is never meant as text, whatever the rest turns out to be.
    if (bytes.starts_with(kBom)) bytes.erase(0, kBom.size());
    if (is_valid_utf8(bytes)) return {std::move(bytes), TextEncoding::utf8};
    return {windows1252_to_utf8(bytes), TextEncoding::windows1252};
}

std::optional<FileText> read_text_file(const std::filesystem::path& path) {
    std::string bytes;
    if (!read_regular_file(path, bytes).ok) return std::nullopt;
    return decode_text(std::move(bytes));
}

std::vector<std::string> split_lines(std::string_view text) {
    std::vector<std::string> lines;
    for_each_line(text, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

}  // namespace merkwald
