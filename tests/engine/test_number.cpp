#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "engine/number.h"

namespace merkwald {
namespace {

TEST(Number, LeadingValueUpToInfinity) {
    const std::pair<const char*, double> rows[] = {
        {"  7", 7},   {"-3", -3},
        {"+4", 4},    {".5", 0.5},
        {"5.", 5},    {"3.4.5", 3.4},
        {"1e5", 1},   {"1,5", 1},
        {"", 0},      {"-", 0},
        {"- 3", 0},   {"  \t 9 x", 9},
        {"0.1", 0.1}, {"12345678901234567890", 12345678901234567890.0},
    };
    for (const auto& [text, value] : rows) EXPECT_EQ(leading_value(text), value) << text;
    const std::string huge(400, '9');  // infinite, and fits nothing
    EXPECT_EQ(leading_value(huge), std::numeric_limits<double>::infinity());
    EXPECT_EQ(to_int32(leading_value(huge)), std::nullopt);
    EXPECT_EQ(to_int16(-leading_value(huge)), std::nullopt);
}

TEST(Number, RoundsHalvesToEvenFailsOutOfRangeAndPrints) {
    using I16 = std::optional<std::int16_t>;
    using I32 = std::optional<std::int32_t>;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double v;
        I16 i16;
        I32 i32;
    } rows[] = {
        {2.5, 2, 2},
        {3.5, 4, 4},
        {-2.5, -2, -2},
        {2.6, 3, 3},
        {32767.4, 32767, 32767},
        {-32768.5, -32768, -32768},
        {32767.5, {}, 32768},
        {2147483647.5, {}, {}},
        {-2147483648.5, {}, std::int32_t(-2147483648LL)},
        {nan, {}, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(to_int16(row.v), row.i16) << row.v;
        EXPECT_EQ(to_int32(row.v), row.i32) << row.v;
    }
    EXPECT_EQ(floor_int16(-0.5), I16(-1));
    EXPECT_EQ(floor_int16(32767.9), I16(32767));
    EXPECT_EQ(floor_int16(-32768.1), std::nullopt);
    EXPECT_EQ(int_text(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace merkwald
