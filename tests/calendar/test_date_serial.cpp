#include <gtest/gtest.h>

#include <optional>

#include "calendar/date_serial.h"
#include "calendar_test_support.h"

namespace merkwald {
namespace {

using Serial = std::optional<DaySerial>;

// Every day of the lists, against a calendar stepped by hand from a known serial.
TEST(DateSerial, EveryDayRoundTrips) {
    EXPECT_EQ(make_date(1899, 12, 30), Serial(0));
    EXPECT_EQ(weekday(DaySerial(0)), 7) << "30 December 1899 was a Saturday";
    const DaySerial first = make_date(1901, 1, 1).value();
    const DaySerial last = make_date(2098, 12, 31).value();
    Ymd expected{1901, 1, 1};
    int expected_weekday = 3;  // 1 January 1901 was a Tuesday
    for (DaySerial s = first; s <= last; ++s) {
        const Ymd d = ymd_of(s);
        ASSERT_EQ(d, expected) << s;
        ASSERT_EQ(make_date(d.year, d.month, d.day), Serial(s));
        ASSERT_EQ(weekday(s), expected_weekday) << s;
        ASSERT_EQ(roll_date(d.year, d.month, d.day), Serial(s));
        ASSERT_EQ(day_of_year(s), s - make_date(d.year, 1, 1).value() + 1) << s;
        expected_weekday = expected_weekday % 7 + 1;
        const bool leap = expected.year % 4 == 0;  // exact for 1901-2098
        const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (++expected.day > lengths[expected.month - 1]) {
            expected.day = 1;
            if (++expected.month > 12) expected = {expected.year + 1, 1, 1};
        }
    }
}

// make_date takes real dates only; roll_date runs over into the next fields,
// as far as the calendar and the numbers reach.
TEST(DateSerial, MakeDateRejectsAndRollDateRunsOver) {
    const Ymd bad[] = {{1900, 2, 29}, {1999, 4, 31}, {1999, 13, 1},
                       {1999, 1, 0},  {99, 12, 31},  {10000, 1, 1}};
    for (const Ymd& d : bad) EXPECT_EQ(make_date(d.year, d.month, d.day), std::nullopt) << d;
    EXPECT_TRUE(make_date(2000, 2, 29) && in_range(*make_date(9999, 12, 31)));
    EXPECT_FALSE(in_range(*make_date(100, 1, 1) - 1));
    EXPECT_FALSE(in_range(*make_date(9999, 12, 31) + 1));

    const std::pair<Ymd, Ymd> rows[] = {{{1999, 2, 29}, {1999, 3, 1}},
                                        {{1999, 3, 0}, {1999, 2, 28}},
                                        {{1999, -12, 1}, {1997, 12, 1}},
                                        {{1999, 1, 366}, {2000, 1, 1}},
                                        {{1999, 1, -30}, {1998, 12, 1}}};
    for (const auto& [r, e] : rows)
        EXPECT_EQ(roll_date(r.year, r.month, r.day), make_date(e.year, e.month, e.day)) << r;
    constexpr int kMax = 2147483647;
    constexpr int kMin = -kMax - 1;
    const Ymd out_of_range[] = {{9999, 12, 32},  {100, 1, 0},     {1999, 1, kMax},
                                {1999, 1, kMin}, {1999, kMin, 1}, {kMax, kMax, 1}};
    for (const Ymd& r : out_of_range)
        EXPECT_EQ(roll_date(r.year, r.month, r.day), std::nullopt) << r;
}

TEST(DateSerial, AddMonthsClampsTheDay) {
    EXPECT_EQ(add_months(*make_date(2000, 1, 31), 1), make_date(2000, 2, 29));
    EXPECT_EQ(add_months(*make_date(2000, 2, 29), 12), make_date(2001, 2, 28));
    EXPECT_EQ(add_months(*make_date(1999, 5, 5), -25), make_date(1997, 4, 5));
    EXPECT_EQ(add_months(*make_date(100, 1, 1), -1), std::nullopt);
    EXPECT_EQ(add_months(*make_date(9999, 12, 1), 2147483647), std::nullopt);
}

}  // namespace
}  // namespace merkwald
