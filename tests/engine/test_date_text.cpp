#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "engine/date_text.h"

namespace merkwald {
namespace {

DaySerial date(int y, int m, int d) { return make_date(y, m, d).value(); }

TEST(DateText, ParsesAcceptedSpellingsAndTypedDigitsAndRejectsEverythingElse) {
    const std::pair<const char*, Ymd> rows[] = {
        {"5.3.99", {1999, 3, 5}},   {"31.12.29", {2029, 12, 31}},   {"1.1.30", {1930, 1, 1}},
        {"1999-3-5", {1999, 3, 5}}, {"  7.3.1970  ", {1970, 3, 7}}, {"29.02.2000", {2000, 2, 29}},
        {"1.1.0100", {100, 1, 1}},  {"31.12.9999", {9999, 12, 31}},
    };
    for (const auto& [text, expected] : rows) {
        const std::optional<DaySerial> d = parse_date(text);
        ASSERT_TRUE(d.has_value()) << text;
        EXPECT_EQ(ymd_of(*d), expected) << text;
    }
    // Date fields take digits without dots too; the reader of files does not.
    for (const char* text :
         {"", "29.02.1999", "1.13.1999", "5.3.1999x", "5.3.", "1.1.0099", "005.3.1999",
          "1999.03.05", "99-03-05", "+5.3.1999", "\t5.3.1999", "31122027"})
        EXPECT_EQ(parse_date(text), std::nullopt) << text;
    EXPECT_EQ(typed_date_text("07031970"), "07.03.1970");
    EXPECT_EQ(typed_date_text("0703197"), "0703197");
}

TEST(DateText, FormatsDatesTimesAndNames) {
    // The short month and day names are checked whole below.
    const std::pair<const char*, const char*> dates[] = {
        {"ddddd", "05.03.1999"}, {"w", "6"}, {"ww", "9"}, {"y", "64"}, {"Tag: d!", "Tag: 5!"}};
    for (const auto& [pattern, expected] : dates)
        EXPECT_EQ(format_date(date(1999, 3, 5), pattern), expected) << pattern;
    // "mm" is minutes only right after hours.
    const std::pair<const char*, const char*> times[] = {
        {"h:mm:ss", "7:04:09"}, {"n s", "4 9"}, {"mm", "11"}, {"hh:mm dd.mm.", "07:04 24.11."}};
    for (const auto& [pattern, expected] : times)
        EXPECT_EQ(format_datetime({date(2001, 11, 24), 7 * 3600 + 4 * 60 + 9}, pattern), expected)
            << pattern;
    EXPECT_EQ(format_datetime({date(2001, 1, 1), 86399}, "hh:nn:ss"), "23:59:59");
    std::string months, days;
    for (int m = 1; m <= 12; ++m) months += format_date(date(2020, m, 1), "mmm");
    for (int day = 1; day <= 7; ++day) days += format_date(date(1999, 3, day + 6), "ddd");
    EXPECT_EQ(months + days, "JanFebM\u00e4rAprMaiJunJulAugSepOktNovDezSoMoDiMiDoFrSa");
    EXPECT_TRUE(month_name(0).empty() && weekday_name(8).empty());
}

TEST(DateText, Weeks) {
    // day, week counted from Sunday (late December stays in the old year), ISO week
    const std::tuple<int, int, int, int, int> rows[] = {
        {1996, 12, 29, 53, 52}, {1996, 12, 31, 53, 1}, {1997, 1, 1, 1, 1},
        {1999, 1, 2, 52, 53},   {1999, 1, 3, 1, 53},   {2000, 1, 1, 52, 52},
        {2021, 1, 1, 53, 53},   {2015, 1, 3, 53, 1},   {2015, 1, 4, 1, 1},
    };
    for (const auto& [y, m, day, week, iso] : rows) {
        EXPECT_EQ(week_sunday_first(date(y, m, day)), week) << y << m << day;
        EXPECT_EQ(iso_week(date(y, m, day)), iso) << y << m << day;
    }
    EXPECT_EQ(iso_week(date(2008, 12, 29)), 1);
    EXPECT_EQ(week_sunday_first(date(2021, 7, 3)), 26);  // a week from Sunday 3 January on
    EXPECT_EQ(week_sunday_first(date(2021, 7, 4)), 27);
}

}  // namespace
}  // namespace merkwald
