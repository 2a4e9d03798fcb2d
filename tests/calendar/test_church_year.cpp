#include <gtest/gtest.h>

#include <algorithm>

#include "calendar/feasts.h"

namespace merkwald {
namespace {

DaySerial date(int y, int m, int d) {
    return *make_date(y, m, d);
}

bool has_line(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::size_t count_prefix(const std::vector<std::string>& lines, const std::string& part) {
    return std::size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(part) != std::string::npos;
    }));
}

TEST(ChurchYear, EveryYearHasTheFixedLinesPlusOptionalAndCounted) {
    for (int year = kFirstListYear; year <= kLastListYear; ++year) {
        const FeastTable t = calc_feast_dates(year);
        ASSERT_GE(t.epiphany_count, 0) << year;
        ASSERT_LE(t.epiphany_count, 5) << year;
        ASSERT_GE(t.trinity_count, 19) << year;
        ASSERT_LE(t.trinity_count, 24) << year;
        const std::size_t optional = (t.sunday_after_new_year < date(year, 1, 6) ? 1 : 0) +
                                     (t.sunday_after_christmas > date(year, 12, 26) ? 1 : 0);
        const auto lines = church_year_lines(year);
        ASSERT_EQ(44 + optional + std::size_t(t.epiphany_count + t.trinity_count), lines.size())
            << year;
        ASSERT_EQ(std::size_t(t.trinity_count), count_prefix(lines, ". Sonntag nach Trinitatis: "));
        // The last numbered Sunday after Trinity is the one right before the third-last.
        ASSERT_EQ(t.third_last_sunday - 7, t.trinity_sundays[std::size_t(t.trinity_count)]) << year;
        ASSERT_EQ(lines.front().rfind("Neujahr: ", 0), 0u) << year;
        ASSERT_EQ(lines.back().rfind("Sylvester: ", 0), 0u) << year;
    }
}

TEST(ChurchYear, NoSundayAfterEpiphanyWhenEasterIsEarly) {
    for (int year : {2008, 1913}) {
        const FeastTable t = calc_feast_dates(year);
        EXPECT_EQ(0, t.epiphany_count) << year;
        EXPECT_EQ(t.epiphany_sundays[1], t.epiphany_sundays[0]) << year;
        const auto lines = church_year_lines(year);
        EXPECT_EQ(0u, count_prefix(lines, ". Sonntag nach Epiphanias: ")) << year;
    }
    EXPECT_TRUE(
        has_line(church_year_lines(2008), "Letzter Sonntag nach Epiphanias: Sonntag, 13. Januar"));
}

TEST(ChurchYear, Year2000) {
    const auto lines = church_year_lines(2000);
    const char* expected_start[] = {
        "Neujahr: Samstag, 1. Januar",
        "zweiter Sonntag nach Weihnachten: Sonntag, 2. Januar",
        "Epiphanias (Hl. 3 Könige): Donnerstag, 6. Januar",
        "1. Sonntag nach Epiphanias: Sonntag, 9. Januar",
        "2. Sonntag nach Epiphanias: Sonntag, 16. Januar",
        "3. Sonntag nach Epiphanias: Sonntag, 23. Januar",
        "4. Sonntag nach Epiphanias: Sonntag, 30. Januar",
        "5. Sonntag nach Epiphanias: Sonntag, 6. Februar",
        "Letzter Sonntag nach Epiphanias: Sonntag, 13. Februar",
        "Septuagesimä: Sonntag, 20. Februar",
    };
    ASSERT_GE(lines.size(), std::size(expected_start));
    for (std::size_t i = 0; i < std::size(expected_start); ++i)
        EXPECT_EQ(expected_start[i], lines[i]) << i;
    EXPECT_EQ(20u, count_prefix(lines, ". Sonntag nach Trinitatis: "));
    EXPECT_TRUE(has_line(lines, "4. Advent: Sonntag, 24. Dezember"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("erster Sonntag nach Weihnachten: Sonntag, 31. Dezember", lines[lines.size() - 2]);
}

TEST(ChurchYear, NewYearOnASundayIsListedAsSecondSundayAfterChristmas) {
    const auto lines = church_year_lines(2006);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("zweiter Sonntag nach Weihnachten: Sonntag, 1. Januar", lines[1]);
}

TEST(ChurchYear, NoSecondSundayAfterChristmasFromSixthJanuaryOn) {
    // 2002: 6 January is the first Sunday; 2008: 6 January too; 1901: 6 January.
    for (int year : {2002, 2008, 1901}) {
        ASSERT_EQ(1, weekday(date(year, 1, 6))) << year;
        EXPECT_EQ(0u, count_prefix(church_year_lines(year), "zweiter Sonntag")) << year;
    }
}

TEST(ChurchYear, SundayAfterChristmasOnlyAfterBoxingDay) {
    for (int year : {2005, 2004}) {
        EXPECT_EQ(0u, count_prefix(church_year_lines(year), "erster Sonntag nach Weihnachten"))
            << year;
    }
    EXPECT_EQ(date(2005, 12, 25), calc_feast_dates(2005).sunday_after_christmas);
    EXPECT_EQ(date(2004, 12, 26), calc_feast_dates(2004).sunday_after_christmas);
}

TEST(ChurchYear, Year1999TrinityEndsBeforeTheThirdLastSunday) {
    const FeastTable t = calc_feast_dates(1999);
    EXPECT_EQ(22, t.trinity_count);
    EXPECT_EQ(date(1999, 11, 7), t.third_last_sunday);
    const auto lines = church_year_lines(1999);
    EXPECT_TRUE(has_line(lines, "22. Sonntag nach Trinitatis: Sonntag, 31. Oktober"));
    EXPECT_TRUE(has_line(lines, "Drittletzter Sonntag im Kirchenjahr: Sonntag, 7. November"));
    EXPECT_TRUE(has_line(lines, "Ewigkeitssonntag: Sonntag, 21. November"));
}

TEST(ChurchYear, SummerFeastsFollowTheTrinitySundays) {
    const auto lines = church_year_lines(1999);
    const auto last_trinity =
        std::find(lines.begin(), lines.end(), "22. Sonntag nach Trinitatis: Sonntag, 31. Oktober");
    ASSERT_NE(lines.end(), last_trinity);
    EXPECT_EQ("Maria Himmelfahrt: Sonntag, 15. August", *(last_trinity + 1));
}

TEST(ChurchYear, EmptyOutsideTheRange) {
    EXPECT_TRUE(church_year_lines(1900).empty());
    EXPECT_TRUE(church_year_lines(2099).empty());
    EXPECT_FALSE(church_year_lines(1901).empty());
    EXPECT_FALSE(church_year_lines(2098).empty());
}

}  // namespace
}  // namespace merkwald
