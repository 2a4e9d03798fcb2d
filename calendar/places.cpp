#include "places.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>

namespace merkwald {

namespace {

// Length of the UTF-8 sequence starting at s[i], 0 when it is not valid there.
std::size_t utf8_sequence(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    if (b < 0x80) return 1;
    if (b < 0xC2 || b > 0xF4) return 0;
    const std::size_t len = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    unsigned cp = b & (0x7Fu >> len);
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3Fu);
    }
    const bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

bool is_utf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = utf8_sequence(s, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

void append_utf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Bytes 0x80-0x9F of Windows-1252; the five unused ones stay C1 controls.
constexpr unsigned short kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string to_utf8(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (is_utf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const unsigned b = static_cast<unsigned char>(c);
        append_utf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
    }
    return out;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// One line's values: separated by commas, a value in double quotes may hold
// commas, blanks around values do not count.
void split_values(std::string_view line, std::vector<std::string>& out) {
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && is_blank(line[i])) ++i;
        std::size_t comma;
        if (i < line.size() && line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? line.size() : close;
            out.emplace_back(line.substr(i + 1, end - i - 1));
            comma = line.find(',', end);
        } else {
            comma = line.find(',', i);
            out.emplace_back(
                trim(line.substr(i, comma == std::string_view::npos ? comma : comma - i)));
        }
        if (comma == std::string_view::npos) return;
        i = comma + 1;
    }
}

std::vector<std::string> split_file(std::string_view text) {
    std::vector<std::string> values;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        if (!trim(line).empty()) split_values(line, values);
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
        pos = end + 1;
    }
    return values;
}

// A plain decimal number with a point: optional sign, digits, optional fraction.
// from_chars reads it the same in every locale.
std::optional<double> number_of(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    std::size_t i = !s.empty() && s.front() == '-' ? 1 : 0;
    const auto digits_from = [&](std::size_t k) {
        while (k < s.size() && s[k] >= '0' && s[k] <= '9') ++k;
        return k;
    };
    const std::size_t int_end = digits_from(i);
    std::size_t end = int_end;
    if (end < s.size() && s[end] == '.') end = digits_from(end + 1);
    const bool has_digit = int_end > i || end > int_end + 1;
    if (end != s.size() || !has_digit) return std::nullopt;
    double value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

constexpr std::size_t kValuesPerPlace = 11;

std::optional<Place> place_of(const std::string* v) {
    Place p;
    p.name = v[0];
    p.longitude_direction = v[4];
    p.latitude_direction = v[8];
    double* const numbers[] = {
        &p.longitude_degree, &p.longitude_minute, &p.longitude_second, &p.latitude_degree,
        &p.latitude_minute,  &p.latitude_second,  &p.diff_to_gmt,      &p.height};
    const std::size_t columns[] = {1, 2, 3, 5, 6, 7, 9, 10};
    for (std::size_t k = 0; k < std::size(columns); ++k) {
        const std::optional<double> n = number_of(v[columns[k]]);
        if (!n) return std::nullopt;
        *numbers[k] = *n;
    }
    return p;
}

}  // namespace

PlacesFile parse_places(std::string_view bytes) {
    PlacesFile file;
    const std::vector<std::string> values = split_file(to_utf8(bytes));
    if (values.empty()) return file;
    const std::optional<double> n = number_of(values[0]);
    if (!n || *n < 0 || *n > 1e6 || *n != std::floor(*n)) return file;
    file.count = int(*n);
    for (int i = 0; i < file.count; ++i) {
        const std::size_t first = 1 + std::size_t(i) * kValuesPerPlace;
        if (i >= kMaxPlaces || first + kValuesPerPlace > values.size()) return file;
        std::optional<Place> place = place_of(&values[first]);
        if (!place) return file;
        file.places.push_back(std::move(*place));
    }
    file.ok = true;
    return file;
}

PlacesFile read_places(const std::filesystem::path& folder) {
    std::ifstream in(folder / kPlacesFileName, std::ios::binary);
    if (!in) return {};
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return {};
    return parse_places(bytes);
}

}  // namespace merkwald
