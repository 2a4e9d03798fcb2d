#include "engine/number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace merkwald {

namespace {

[[nodiscard]] constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
// Up to this many significant digits the mantissa stays below 2^53, so one division by an
// exact power of ten gives the correctly rounded value.
constexpr int kFastDigits = 15;

// Rounds to the nearest whole number, halves to the even neighbour, independent of the
// floating-point environment's rounding mode.
[[nodiscard]] double round_half_even(double v) {
    const double down = std::floor(v);
    const double diff = v - down;
    if (diff > 0.5) return down + 1;
    if (diff < 0.5) return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

template <class Int>
[[nodiscard]] std::optional<Int> fit(double whole) {
    if (!(whole >= std::numeric_limits<Int>::min() && whole <= std::numeric_limits<Int>::max())) {
        return std::nullopt;  // also NaN
    }
    return static_cast<Int>(whole);
}

}  // namespace

double leading_value(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fraction_digits = 0;
    while (i < n && is_digit(text[i])) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (mantissa != 0) ++digits;
        ++i;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && is_digit(text[i])) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
            if (mantissa != 0) ++digits;
            ++fraction_digits;
            ++i;
        }
    }
    const std::size_t end = i;
    if (end == start || (end == start + 1 && text[start] == '.')) return 0.0;  // no digits
    double value = 0.0;
    if (digits <= kFastDigits && fraction_digits <= kFastDigits) {
        value = static_cast<double>(mantissa) / kPowersOfTen[fraction_digits];
    } else {
        // Rare long numbers: the mantissa would overflow or lose exactness.
        const auto r = std::from_chars(text.data() + start, text.data() + end, value);
        if (r.ec == std::errc::result_out_of_range) {
            value = std::numeric_limits<double>::infinity();
        }
    }
    return negative ? -value : value;
}

std::optional<std::int16_t> to_int16(double v) { return fit<std::int16_t>(round_half_even(v)); }

std::optional<std::int32_t> to_int32(double v) { return fit<std::int32_t>(round_half_even(v)); }

std::optional<std::int16_t> floor_int16(double v) { return fit<std::int16_t>(std::floor(v)); }

std::string int_text(long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace merkwald
