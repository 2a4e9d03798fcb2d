#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "engine/number.h"

namespace merkwald {
namespace {

TEST(Number, LeadingValueUpToInfinity) {
    const struct {
        std::string text;
        double value;
    } rows[] = {
        {"12", 12},
        {"  7", 7},
        {"-3", -3},
        {"+4", 4},
        {"2.5", 2.5},
        {"-0.25", -0.25},
        {".5", 0.5},
        {"5.", 5},
        {"12abc", 12},
        {"3.4.5", 3.4},
        {"1e5", 1},
        {"1,5", 1},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {".", 0},
        {"- 3", 0},
        {"0007", 7},
        {"  \t 9 x", 9},
        {"65535", 65535},
        {"16777215", 16777215},
        {"0.1", 0.1},
        {"123.456", 123.456},
        {"12345678901234567890", 12345678901234567890.0},
        {"0.00000000000000000001", 1e-20},
    };
    for (const auto& row : rows) EXPECT_EQ(leading_value(row.text), row.value) << row.text;
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
    } rows[] = {{2.5, 2, 2},
                {3.5, 4, 4},
                {-2.5, -2, -2},
                {-3.5, -4, -4},
                {0.5, 0, 0},
                {1.5, 2, 2},
                {2.4, 2, 2},
                {2.6, 3, 3},
                {-2.6, -3, -3},
                {-0.4, 0, 0},
                {32767.4, 32767, 32767},
                {-32768.5, -32768, -32768},
                {32767.5, {}, 32768},
                {-32769, {}, -32769},
                {2147483647.4, {}, 2147483647},
                {2147483647.5, {}, {}},
                {-2147483648.5, {}, std::int32_t(-2147483648LL)},
                {nan, {}, {}}};
    for (const auto& row : rows) {
        EXPECT_EQ(to_int16(row.v), row.i16) << row.v;
        EXPECT_EQ(to_int32(row.v), row.i32) << row.v;
    }
    EXPECT_EQ(floor_int16(2.9), I16(2));
    EXPECT_EQ(floor_int16(-0.5), I16(-1));
    EXPECT_EQ(floor_int16(32767.9), I16(32767));
    EXPECT_EQ(floor_int16(-32768.1), std::nullopt);
    EXPECT_EQ(floor_int16(32768), std::nullopt);
    EXPECT_EQ(int_text(0) + " " + int_text(-3) + " " + int_text(12), "0 -3 12");
    EXPECT_EQ(int_text(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace merkwald
