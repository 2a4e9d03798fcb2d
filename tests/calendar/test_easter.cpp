#include <gtest/gtest.h>

#include "calendar/feasts.h"

namespace merkwald {
namespace {

// Knuth's epact method (TAOCP 1.3.2, Algorithm E): golden number, solar and lunar
// corrections and the epact, an independent route to the same Sunday.
DaySerial easter_by_epact(int year) {
    const int golden = year % 19 + 1;
    const int century = year / 100 + 1;
    const int solar = 3 * century / 4 - 12;
    const int lunar = (8 * century + 5) / 25 - 5;
    const int sunday = 5 * year / 4 - solar - 10;
    int epact = (11 * golden + 20 + lunar - solar) % 30;
    if ((epact == 25 && golden > 11) || epact == 24) ++epact;
    int n = 44 - epact;
    if (n < 21) n += 30;
    n = n + 7 - (sunday + n) % 7;
    return n > 31 ? *make_date(year, 4, n - 31) : *make_date(year, 3, n);
}

TEST(Easter, AgreesWithTheEpactMethodFrom1583To4099) {
    for (int year = 1583; year <= 4099; ++year) {
        const DaySerial easter = easter_date(year);
        ASSERT_EQ(easter_by_epact(year), easter) << year;
        ASSERT_EQ(1, weekday(easter)) << year;
        ASSERT_GE(easter, *make_date(year, 3, 22)) << year;
        ASSERT_LE(easter, *make_date(year, 4, 25)) << year;
    }
}

TEST(Easter, KnownDates) {
    struct Row {
        int year, month, day;
    };
    const Row rows[] = {{1999, 4, 4},  {2000, 4, 23}, {2008, 3, 23}, {1943, 4, 25},
                        {2038, 4, 25}, {1913, 3, 23}, {2024, 3, 31}, {2025, 4, 20}};
    for (const Row& r : rows)
        EXPECT_EQ(*make_date(r.year, r.month, r.day), easter_date(r.year)) << r.year;
}

}  // namespace
}  // namespace merkwald
