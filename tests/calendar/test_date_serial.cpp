#include <gtest/gtest.h>

#include <optional>

#include "calendar/date_serial.h"

namespace merkwald {
namespace {

TEST(DateSerial, KnownSerials) {
    EXPECT_EQ(make_date(1899, 12, 30), std::optional<DaySerial>(0));
    EXPECT_EQ(make_date(1900, 1, 1), std::optional<DaySerial>(2));
    EXPECT_EQ(make_date(1970, 1, 1), std::optional<DaySerial>(kSysDaysOffset));
    EXPECT_EQ(make_date(1999, 3, 5), std::optional<DaySerial>(36224));
    EXPECT_EQ(ymd_of(36224), (Ymd{1999, 3, 5}));
}

TEST(DateSerial, EveryDayRoundTrips) {
    const DaySerial first = make_date(1901, 1, 1).value();
    const DaySerial last = make_date(2098, 12, 31).value();
    Ymd expected{1901, 1, 1};
    int expected_weekday = 3;  // 1 January 1901 was a Tuesday
    for (DaySerial s = first; s <= last; ++s) {
        const Ymd d = ymd_of(s);
        ASSERT_EQ(d, expected) << s;
        ASSERT_EQ(make_date(d.year, d.month, d.day), std::optional<DaySerial>(s));
        ASSERT_EQ(weekday(s), expected_weekday) << s;
        ASSERT_EQ(roll_date(d.year, d.month, d.day), std::optional<DaySerial>(s));
        expected_weekday = expected_weekday % 7 + 1;
        // Step the expected date by hand, as an independent check of the month lengths.
        const bool leap = expected.year % 4 == 0;  // exact for 1901-2098
        const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (++expected.day > lengths[expected.month - 1]) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
    }
}

TEST(DateSerial, WeekdayOfKnownDates) {
    const struct {
        Ymd date;
        int weekday;
    } rows[] = {{{1999, 3, 5}, 6}, {{2000, 1, 1}, 7}, {{1970, 1, 1}, 5}, {{1899, 12, 30}, 7},
                {{2024, 2, 29}, 5}, {{1901, 1, 6}, 1}, {{2098, 12, 31}, 4}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.date.year);
        EXPECT_EQ(weekday(make_date(row.date.year, row.date.month, row.date.day).value()),
                  row.weekday);
    }
}

TEST(DateSerial, MakeDateRejectsImpossibleDates) {
    EXPECT_EQ(make_date(1999, 2, 29), std::nullopt);
    EXPECT_EQ(make_date(1900, 2, 29), std::nullopt);
    EXPECT_TRUE(make_date(2000, 2, 29).has_value());
    EXPECT_EQ(make_date(1999, 4, 31), std::nullopt);
    EXPECT_EQ(make_date(1999, 0, 1), std::nullopt);
    EXPECT_EQ(make_date(1999, 13, 1), std::nullopt);
    EXPECT_EQ(make_date(1999, 1, 0), std::nullopt);
    EXPECT_EQ(make_date(99, 1, 1), std::nullopt);
    EXPECT_EQ(make_date(10000, 1, 1), std::nullopt);
    EXPECT_TRUE(make_date(100, 1, 1).has_value());
    EXPECT_TRUE(make_date(9999, 12, 31).has_value());
}

TEST(DateSerial, RollDateRunsOver) {
    const struct {
        int y, m, d;
        Ymd expected;
    } rows[] = {
        {1999, 4, 31, {1999, 5, 1}},  {1999, 2, 29, {1999, 3, 1}},   {2000, 2, 29, {2000, 2, 29}},
        {1999, 13, 1, {2000, 1, 1}},  {1999, 0, 1, {1998, 12, 1}},   {1999, 3, 0, {1999, 2, 28}},
        {1999, 1, 0, {1998, 12, 31}}, {1999, -11, 1, {1998, 1, 1}},  {1999, -12, 1, {1997, 12, 1}},
        {1999, 25, 1, {2001, 1, 1}},  {1999, 12, 32, {2000, 1, 1}},  {1999, 1, 366, {2000, 1, 1}},
        {1999, 1, -30, {1998, 12, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.y * 10000 + row.m * 100 + row.d);
        const std::optional<DaySerial> s = roll_date(row.y, row.m, row.d);
        ASSERT_TRUE(s.has_value());
        EXPECT_EQ(ymd_of(*s), row.expected);
    }
}

TEST(DateSerial, RollDateFailsOutsideRange) {
    EXPECT_EQ(roll_date(9999, 12, 32), std::nullopt);
    EXPECT_EQ(roll_date(9999, 13, 1), std::nullopt);
    EXPECT_EQ(roll_date(100, 1, 0), std::nullopt);
    EXPECT_EQ(roll_date(1999, 1, 2147483647), std::nullopt);
    EXPECT_EQ(roll_date(1999, 1, -2147483647 - 1), std::nullopt);
    EXPECT_EQ(roll_date(1999, -2147483647 - 1, 1), std::nullopt);
    EXPECT_EQ(roll_date(2147483647, 2147483647, 1), std::nullopt);
}

TEST(DateSerial, AddMonthsClampsTheDay) {
    const struct {
        Ymd from;
        int months;
        Ymd expected;
    } rows[] = {
        {{1999, 1, 31}, 1, {1999, 2, 28}},  {{2000, 1, 31}, 1, {2000, 2, 29}},
        {{1999, 3, 31}, 1, {1999, 4, 30}},  {{1999, 3, 31}, -1, {1999, 2, 28}},
        {{1999, 12, 15}, 1, {2000, 1, 15}}, {{1999, 1, 15}, -1, {1998, 12, 15}},
        {{2000, 2, 29}, 12, {2001, 2, 28}}, {{1999, 5, 5}, 0, {1999, 5, 5}},
        {{1999, 5, 5}, -25, {1997, 4, 5}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.months);
        const DaySerial s = make_date(row.from.year, row.from.month, row.from.day).value();
        const std::optional<DaySerial> r = add_months(s, row.months);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(ymd_of(*r), row.expected);
    }
    const DaySerial last = make_date(9999, 12, 1).value();
    EXPECT_EQ(add_months(last, 1), std::nullopt);
    EXPECT_EQ(add_months(make_date(100, 1, 1).value(), -1), std::nullopt);
    EXPECT_EQ(add_months(last, 2147483647), std::nullopt);
}

TEST(DateSerial, DayOfYearAndRange) {
    EXPECT_EQ(day_of_year(make_date(1999, 3, 5).value()), 64);
    EXPECT_EQ(day_of_year(make_date(2000, 12, 31).value()), 366);
    EXPECT_EQ(day_of_year(make_date(1999, 1, 1).value()), 1);
    EXPECT_TRUE(in_range(make_date(100, 1, 1).value()));
    EXPECT_FALSE(in_range(make_date(100, 1, 1).value() - 1));
    EXPECT_FALSE(in_range(make_date(9999, 12, 31).value() + 1));
}

}  // namespace
}  // namespace merkwald
