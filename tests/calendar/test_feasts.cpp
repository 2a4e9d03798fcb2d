#include <gtest/gtest.h>

#include "calendar/feasts.h"

namespace merkwald {
namespace {

DaySerial date(int y, int m, int d) {
    return *make_date(y, m, d);
}

TEST(FeastTable, EasterBasedOffsets) {
    for (int year = 1901; year <= 2098; ++year) {
        const FeastTable t = calc_feast_dates(year);
        const DaySerial e = easter_date(year);
        ASSERT_EQ(e - 46, t.ash_wednesday) << year;
        ASSERT_EQ(4, weekday(t.ash_wednesday)) << year;
        ASSERT_EQ(e + 39, t.ascension) << year;
        ASSERT_EQ(e + 60, t.corpus_christi) << year;
        ASSERT_EQ(t.advent1 - 11, t.repentance_day) << year;
        ASSERT_EQ(1, weekday(t.advent4)) << year;
        ASSERT_GE(t.advent4, date(year, 12, 18)) << year;
        ASSERT_LE(t.advent4, date(year, 12, 24)) << year;
        ASSERT_EQ(1, weekday(t.harvest_festival)) << year;
        ASSERT_LE(t.harvest_festival, date(year, 10, 7)) << year;
    }
}

TEST(FeastTable, AdventWhenChristmasEveIsASunday) {
    for (int year : {2000, 2006}) {
        const FeastTable t = calc_feast_dates(year);
        EXPECT_EQ(date(year, 12, 24), t.advent4) << year;
        EXPECT_EQ(date(year, 12, 3), t.advent1) << year;
        EXPECT_EQ(date(year, 11, 22), t.repentance_day) << year;
    }
}

TEST(FeastTable, AdventWhenChristmasDayIsASunday) {
    const FeastTable t = calc_feast_dates(2005);
    EXPECT_EQ(date(2005, 12, 18), t.advent4);
    EXPECT_EQ(date(2005, 11, 27), t.advent1);
    EXPECT_EQ(date(2005, 11, 16), t.repentance_day);
}

TEST(HolidayName, LookupRows) {
    struct Row {
        int y, m, d;
        const char* name;
    };
    const Row rows[] = {
        {1999, 1, 1, "Neujahr"},
        {1999, 1, 6, "Dreikönigstag"},
        {1999, 1, 7, ""},
        {2000, 12, 24, "Heiliger Abend"},  // also the fourth Advent Sunday
        {2000, 12, 17, "3. Advent"},
        {2005, 12, 18, "4. Advent"},
        {2008, 5, 1, "Christi Himmelfahrt"},  // also May Day
        {2018, 2, 14, "Valentinstag"},        // also Ash Wednesday
        {2024, 2, 14, "Valentinstag"},
        {2023, 2, 22, "Aschermittwoch"},
        {2009, 12, 6, "Nikolaustag"},  // also the second Advent Sunday
        {2020, 12, 4, "Barbaratag"},
        {1999, 10, 3, "Tag der deutschen Einheit"},  // also harvest festival
        {1999, 4, 2, "Karfreitag"},
        {1999, 4, 1, ""},  // Maundy Thursday is not looked up
        {1999, 4, 11, "Weisser Sonntag"},
        {1999, 5, 23, "Pfingstsonntag"},
        {1999, 11, 17, "Buss und Bettag"},
        {1999, 12, 31, "Sylvester"},
        {1999, 8, 15, "Maria Himmelfahrt"},
        {2025, 12, 26, "2. Weihnachtsfeiertag"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.name, holiday_name(date(r.y, r.m, r.d))) << r.y << "-" << r.m << "-" << r.d;
}

TEST(HolidayList, NewYear1999) {
    const auto lines = holiday_list_lines(1999);
    ASSERT_EQ(28u, lines.size());
    EXPECT_EQ("Neujahr: Freitag, 1. Januar", lines[0]);
    EXPECT_EQ("Sylvester: Freitag, 31. Dezember", lines[27]);
}

TEST(HolidayList, HarvestAndUnityShareADayIn1999) {
    const auto lines = holiday_list_lines(1999);
    ASSERT_EQ(28u, lines.size());
    EXPECT_EQ("Erntedank: Sonntag, 3. Oktober", lines[16]);
    EXPECT_EQ("Tag der dt. Einheit: Sonntag, 3. Oktober", lines[17]);
}

TEST(HolidayList, MayDayAndAscensionIn2008) {
    const auto lines = holiday_list_lines(2008);
    ASSERT_EQ(28u, lines.size());
    EXPECT_EQ("Maifeiertag: Donnerstag, 1. Mai", lines[10]);
    EXPECT_EQ("Christi Himmelfahrt: Donnerstag, 1. Mai", lines[11]);
    EXPECT_EQ("Aschermittwoch: Mittwoch, 6. Februar", lines[3]);
    EXPECT_EQ("Ostersonntag: Sonntag, 23. März", lines[7]);
}

TEST(HolidayList, EmptyOutsideTheRange) {
    for (int year : {0, 1900, 2099, -5, 9999}) EXPECT_TRUE(holiday_list_lines(year).empty());
}

TEST(FeastDateText, GermanNames) {
    EXPECT_EQ("Montag, 3. März", feast_date_text(date(2025, 3, 3)));
    EXPECT_EQ("Samstag, 25. Dezember", feast_date_text(date(2021, 12, 25)));
    EXPECT_EQ("Dienstag, 29. Februar", feast_date_text(date(2000, 2, 29)));
}

}  // namespace
}  // namespace merkwald
