#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "engine/number.h"

namespace merkwald {
namespace {

TEST(Number, LeadingValue) {
    const struct {
        std::string text;
        double value;
    } rows[] = {
        {"12", 12},         {"  7", 7},           {"-3", -3},           {"+4", 4},
        {"2.5", 2.5},       {"-0.25", -0.25},     {".5", 0.5},          {"5.", 5},
        {"12abc", 12},      {"3.4.5", 3.4},       {"1e5", 1},           {"1,5", 1},
        {"", 0},            {"abc", 0},           {"-", 0},             {".", 0},
        {"- 3", 0},         {"0007", 7},          {"  \t 9 x", 9},      {"65535", 65535},
        {"16777215", 16777215},                   {"0.1", 0.1},         {"123.456", 123.456},
        {"12345678901234567890", 12345678901234567890.0},
        {"0.00000000000000000001", 1e-20},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(leading_value(row.text), row.value);
    }
}

TEST(Number, HugeNumberIsInfiniteAndFitsNothing) {
    const std::string huge(400, '9');
    EXPECT_EQ(leading_value(huge), std::numeric_limits<double>::infinity());
    EXPECT_EQ(to_int32(leading_value(huge)), std::nullopt);
    EXPECT_EQ(to_int16(-leading_value(huge)), std::nullopt);
}

TEST(Number, RoundsHalvesToEven) {
    const struct {
        double v;
        int expected;
    } rows[] = {{2.5, 2},   {3.5, 4},   {-2.5, -2}, {-3.5, -4}, {0.5, 0},  {1.5, 2},
                {2.4, 2},   {2.6, 3},   {-2.6, -3}, {-0.4, 0},  {7, 7},    {32767.4, 32767},
                {-32768.5, -32768}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.v);
        EXPECT_EQ(to_int16(row.v), std::optional<std::int16_t>(row.expected));
        EXPECT_EQ(to_int32(row.v), std::optional<std::int32_t>(row.expected));
    }
}

TEST(Number, OutOfRangeIsNullopt) {
    EXPECT_EQ(to_int16(32767.5), std::nullopt);
    EXPECT_EQ(to_int16(-32769), std::nullopt);
    EXPECT_EQ(to_int16(40000), std::nullopt);
    EXPECT_EQ(to_int32(2147483647.5), std::nullopt);
    EXPECT_EQ(to_int32(2147483647.4), std::optional<std::int32_t>(2147483647));
    EXPECT_EQ(to_int32(-2147483648.5), std::optional<std::int32_t>(-2147483648LL));
    EXPECT_EQ(to_int32(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(to_int16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(Number, FloorInt16RoundsDown) {
    EXPECT_EQ(floor_int16(2.9), std::optional<std::int16_t>(2));
    EXPECT_EQ(floor_int16(-0.5), std::optional<std::int16_t>(-1));
    EXPECT_EQ(floor_int16(32767.9), std::optional<std::int16_t>(32767));
    EXPECT_EQ(floor_int16(-32768.1), std::nullopt);
    EXPECT_EQ(floor_int16(32768), std::nullopt);
}

TEST(Number, IntText) {
    EXPECT_EQ(int_text(0), "0");
    EXPECT_EQ(int_text(-3), "-3");
    EXPECT_EQ(int_text(12), "12");
    EXPECT_EQ(int_text(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace merkwald
