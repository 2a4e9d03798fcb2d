#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/date_text.h"

namespace merkwald {
namespace {

DaySerial date(int y, int m, int d) { return make_date(y, m, d).value(); }

TEST(DateText, ParsesAcceptedSpellings) {
    const struct {
        std::string text;
        Ymd expected;
    } rows[] = {
        {"05.03.1999", {1999, 3, 5}},   {"5.3.1999", {1999, 3, 5}},    {"5.3.99", {1999, 3, 5}},
        {"05.03.99", {1999, 3, 5}},     {"1.1.00", {2000, 1, 1}},      {"31.12.29", {2029, 12, 31}},
        {"1.1.30", {1930, 1, 1}},       {"1999-03-05", {1999, 3, 5}},  {"1999-3-5", {1999, 3, 5}},
        {"  7.3.1970  ", {1970, 3, 7}}, {"29.02.2000", {2000, 2, 29}}, {"1.1.0100", {100, 1, 1}},
        {"31.12.9999", {9999, 12, 31}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const std::optional<DaySerial> d = parse_date(row.text);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(ymd_of(*d), row.expected);
    }
}

TEST(DateText, RejectsEverythingElse) {
    const std::string rows[] = {
        "",          "   ",        "heute",      "31.02.1999", "29.02.1999",  "0.1.1999",
        "1.0.1999",  "1.13.1999",  "5.3.1999x",  "5.3.1999.",  "5.3.",        "5.3",
        "5.3.999",   "5.3.19999",  "1.1.0099",   "005.3.1999", "5.003.1999",  "5 .3.1999",
        "5-3-1999",  "1999.03.05", "99-03-05",   "1999-3-5-",  "1999-003-05", "1999-03.05",
        "-5.3.1999", "+5.3.1999",  "5.3.1999 1", "\t5.3.1999", "05/03/1999",
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_date(text), std::nullopt);
    }
}

TEST(DateText, FormatsEveryPlaceholderPattern) {
    const DaySerial d = date(1999, 3, 5);  // a Friday
    const struct {
        std::string pattern;
        std::string expected;
    } rows[] = {
        {"d", "5"},
        {"dd", "05"},
        {"ddd", "Fr"},
        {"dddd", "Freitag"},
        {"ddddd", "05.03.1999"},
        {"w", "6"},
        {"ww", "9"},
        {"m", "3"},
        {"mm", "03"},
        {"mmm", "M\u00e4r"},
        {"mmmm", "M\u00e4rz"},
        {"q", "1"},
        {"y", "64"},
        {"yy", "99"},
        {"yyyy", "1999"},
        {"d. m.", "5. 3."},
        {"dd. mm.", "05. 03."},
        {"d. mmm.", "5. M\u00e4r."},
        {"d.m.yy", "5.3.99"},
        {"d. mmmm", "5. M\u00e4rz"},
        {"d. m. yyyy", "5. 3. 1999"},
        {"dd.mm.yy", "05.03.99"},
        {"dd. mm. yyyy", "05. 03. 1999"},
        {"d. mmm. yy", "5. M\u00e4r. 99"},
        {"d. mmm. yyyy", "5. M\u00e4r. 1999"},
        {"d. mmmm yy", "5. M\u00e4rz 99"},
        {"d. mmmm yyyy", "5. M\u00e4rz 1999"},
        {"Tag: d!", "Tag: 5!"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(format_date(d, row.pattern), row.expected);
    }
}

TEST(DateText, FormatsTimes) {
    const DateTime t{date(2001, 11, 24), 7 * 3600 + 4 * 60 + 9};
    const struct {
        std::string pattern;
        std::string expected;
    } rows[] = {
        {"h:mm:ss", "7:04:09"},
        {"hh.mm", "07.04"},
        {"hh:mm", "07:04"},
        {"hh", "07"},
        {"nn", "04"},
        {"n s", "4 9"},
        {"mm", "11"},
        {"hh mm", "07 04"},
        {"hh:mm dd.mm.", "07:04 24.11."},
        {"mmm", "Nov"},
        {"dddd, ddd", "Samstag, Sa"},
        {"q", "4"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(format_datetime(t, row.pattern), row.expected);
    }
    EXPECT_EQ(format_datetime({date(2001, 1, 1), 86399}, "hh:nn:ss"), "23:59:59");
}

TEST(DateText, NamesOfMonthsAndWeekdays) {
    std::string months, days;
    for (int m = 1; m <= 12; ++m) months += format_date(date(2020, m, 1), "mmmm mmm,");
    for (int day = 1; day <= 7; ++day) days += format_date(date(1999, 3, day + 6), "dddd ddd,");
    EXPECT_EQ(months,
              "Januar Jan,Februar Feb,M\u00e4rz M\u00e4r,April Apr,Mai Mai,Juni Jun,"
              "Juli Jul,August Aug,September Sep,Oktober Okt,November Nov,Dezember Dez,");
    EXPECT_EQ(days,
              "Sonntag So,Montag Mo,Dienstag Di,Mittwoch Mi,Donnerstag Do,Freitag Fr,"
              "Samstag Sa,");
    EXPECT_EQ(month_name(0), "");
    EXPECT_EQ(weekday_name(8), "");
}

TEST(DateText, Weeks) {
    // day, week counted from Sunday (late December stays in the old year; 0: not
    // checked), ISO week
    const struct {
        Ymd day;
        int week, iso;
    } rows[] = {
        {{1999, 3, 5}, 9, 9},     {{1996, 12, 29}, 53, 52}, {{1996, 12, 31}, 53, 1},
        {{1997, 1, 1}, 1, 1},     {{1999, 1, 1}, 52, 53},   {{1999, 1, 2}, 52, 53},
        {{1999, 1, 3}, 1, 53},    {{1998, 12, 31}, 52, 53}, {{2000, 1, 1}, 52, 52},
        {{2000, 1, 2}, 1, 52},    {{2000, 12, 31}, 53, 52}, {{2021, 1, 1}, 53, 53},
        {{2020, 12, 27}, 53, 52}, {{2015, 1, 3}, 53, 1},    {{2015, 1, 4}, 1, 1},
        {{2004, 12, 31}, 0, 53},  {{2005, 1, 2}, 0, 53},    {{2005, 1, 3}, 0, 1},
        {{2008, 12, 29}, 0, 1},   {{2010, 1, 3}, 0, 53},    {{2021, 1, 4}, 0, 1},
        {{2020, 12, 31}, 0, 53},
    };
    for (const auto& row : rows) {
        const DaySerial s = date(row.day.year, row.day.month, row.day.day);
        if (row.week) {
            EXPECT_EQ(week_sunday_first(s), row.week) << s;
        }
        EXPECT_EQ(iso_week(s), row.iso) << s;
    }
}

TEST(DateText, WeeksStayInRangeOverManyYears) {
    for (DaySerial d = date(1901, 1, 1); d <= date(2098, 12, 31); ++d) {
        const int w = week_sunday_first(d);
        ASSERT_GE(w, 1);
        ASSERT_LE(w, 53);
        if (w > 1 && weekday(d) != 1) {
            ASSERT_EQ(week_sunday_first(d - 1), w);
        }
    }
}

}  // namespace
}  // namespace merkwald
