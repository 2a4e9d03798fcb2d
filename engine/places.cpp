#include "engine/places.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "engine/text.h"
#include "engine/text_file.h"

namespace merkwald {

namespace {

// One line's values: separated by commas, a value in double quotes may hold
// commas, blanks around values do not count.
void split_values(std::string_view line, std::vector<std::string>& out) {
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && kBlanksAndTabs.find(line[i]) != std::string_view::npos) ++i;
        std::size_t comma;
        if (i < line.size() && line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? line.size() : close;
            out.emplace_back(line.substr(i + 1, end - i - 1));
            comma = line.find(',', end);
        } else {
            comma = line.find(',', i);
            out.emplace_back(
                trim_blanks(line.substr(i, comma == std::string_view::npos ? comma : comma - i),
                            kBlanksAndTabs));
        }
        if (comma == std::string_view::npos) return;
        i = comma + 1;
    }
}

std::vector<std::string> split_file(std::string_view text) {
    std::vector<std::string> values;
    for_each_line(text, [&values](std::string_view line) {
        if (!trim_blanks(line, kBlanksAndTabs).empty()) split_values(line, values);
        return true;
    });
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
    const std::vector<std::string> values = split_file(decode_text(std::string(bytes)).text);
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
    const std::optional<FileText> file = read_text_file(folder / kPlacesFileName);
    if (!file) return {};
    return parse_places(file->text);
}

}  // namespace merkwald
