// The small readers every tag value passes through: dates, numbers, tag lines,
// case folding and the date format patterns.

#include <cmath>
#include <cstdint>
#include <string>

#include "engine/date_text.h"
#include "engine/number.h"
#include "engine/text.h"
#include "engine/text_file.h"
#include "fuzz_support.h"

namespace {

using namespace merkwald;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void dates(std::string_view text) {
    const auto d = parse_date(text);
    if (!d) return;
    check(in_range(*d));
    // The short date reads back as the same day (it has no four-digit form of the
    // years before 1000, as the system's short date has none).
    if (ymd_of(*d).year >= 1000) check(parse_date(format_date(*d, "ddddd")) == d);
}

void numbers(std::string_view text) {
    const double v = leading_value(text);
    if (const auto i = to_int16(v)) check(std::fabs(*i - v) <= 0.5);
    if (const auto i = to_int32(v)) check(std::fabs(*i - v) <= 0.5);
    if (const auto i = floor_int16(v)) check(*i <= v && v < *i + 1);
}

void lines(std::string_view text) {
    const std::string utf8 = is_valid_utf8(text) ? std::string(text) : windows1252_to_utf8(text);
    check(is_valid_utf8(utf8));
    const std::string_view shorter = drop_last_char(utf8);
    check(utf8.empty() || shorter.size() < utf8.size());
    check(is_valid_utf8(shorter));
    std::string line = utf8;
    const SplitLine split = split_tag_line(line);
    check(is_valid_utf8(split.name) && is_valid_utf8(split.value));
    check(to_lower(utf8).size() == utf8.size());
    check(equals_ignore_case(utf8, to_lower(utf8)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Header h(data, size);
    const DaySerial day = fuzz::pick_date(h);
    const int second = int(h.word()) * 2 - 65536;
    const std::string_view text = h.rest();
    dates(text);
    numbers(text);
    lines(text);
    if (text.size() < 256) (void)format_datetime({day, second}, text);
    (void)week_sunday_first(day);
    (void)iso_week(day);
    return 0;
}
