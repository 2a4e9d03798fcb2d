#pragma once
// Reading numbers the way the tag values and settings are read: leading blanks
// skipped, an optional sign, digits, an optional decimal point with digits; the
// number stops at the first character that cannot continue it; no number is 0.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace merkwald {

[[nodiscard]] double leading_value(std::string_view text);

// Conversion into a field of fixed width, halves rounded to the even neighbour.
// nullopt when the rounded value does not fit.
[[nodiscard]] std::optional<std::int16_t> to_int16(double v);
[[nodiscard]] std::optional<std::int32_t> to_int32(double v);
// Rounded down (for `active_week`), nullopt when it does not fit 16 bits.
[[nodiscard]] std::optional<std::int16_t> floor_int16(double v);

// Decimal text of a whole number, no leading blank ("-3", "12").
[[nodiscard]] std::string int_text(long long v);

}  // namespace merkwald
