#include <gtest/gtest.h>

#include "calendar/astro.h"

namespace merkwald {
namespace {

AstroInput munich(bool summer_time) {
    AstroInput in;
    in.longitude_degree = 11;
    in.longitude_minute = 35;
    in.longitude_direction = "O";
    in.latitude_degree = 48;
    in.latitude_minute = 8;
    in.latitude_direction = "N";
    in.zone_hours = 1;
    in.summer_time = summer_time;
    in.date = make_date(2000, 6, 21);
    in.hour = 12;
    in.minute = 0;
    return in;
}

TEST(Astro, MunichAtMidsummerWithSummerTime) {
    const AstroResult r = compute_astro(munich(true));
    ASSERT_EQ(AstroStatus::ok, r.status);
    EXPECT_EQ("05:14 Uhr", r.texts[0]);
    EXPECT_EQ("21:18 Uhr", r.texts[1]);
    EXPECT_EQ("04:32 Uhr", r.texts[2]);
    EXPECT_EQ("21:59 Uhr", r.texts[3]);
    EXPECT_EQ("16:04 Stunden", r.texts[4]);
}

TEST(Astro, WithoutSummerTimeEverythingIsAnHourEarlier) {
    const AstroResult r = compute_astro(munich(false));
    ASSERT_EQ(AstroStatus::ok, r.status);
    EXPECT_EQ("04:14 Uhr", r.texts[0]);
    EXPECT_EQ("20:18 Uhr", r.texts[1]);
    EXPECT_EQ("03:32 Uhr", r.texts[2]);
    EXPECT_EQ("20:59 Uhr", r.texts[3]);
    EXPECT_EQ("16:04 Stunden", r.texts[4]);
}

TEST(Astro, MoonFieldsAtTheFirstQuarterOf1999) {
    // 20 June 1999 18:13 UT is 20:13 local with zone 1 and summer time.
    AstroInput in = munich(true);
    in.date = make_date(1999, 6, 20);
    in.hour = 20;
    in.minute = 13;
    const AstroResult r = compute_astro(in);
    ASSERT_EQ(AstroStatus::ok, r.status);
    EXPECT_EQ("zun. Halbmond", r.texts[9]);
    EXPECT_EQ(r.texts[6], r.texts[7]);
    EXPECT_EQ("90.1", r.texts[6].substr(0, 4));
    EXPECT_EQ(" Grad", r.texts[6].substr(r.texts[6].size() - 5));
    EXPECT_EQ("7.40 Tage", r.texts[5]);
    EXPECT_EQ("-89.8", r.texts[8].substr(0, 5));
}

TEST(Astro, FractionalZoneMovesTheTimesExactly) {
    AstroInput in = munich(false);
    in.zone_hours = 1.5;
    EXPECT_EQ("04:44 Uhr", compute_astro(in).texts[0]);
}

TEST(Astro, TimesPastMidnightShowTheTimeOfDay) {
    AstroInput in = munich(false);
    in.zone_hours = 5;  // sunset 20:18 + 4 h
    EXPECT_EQ("00:18 Uhr", compute_astro(in).texts[1]);
}

TEST(Astro, StatusRows) {
    struct Row {
        const char* what;
        void (*change)(AstroInput&);
        AstroStatus status;
    };
    const Row rows[] = {
        {"longitude 200", [](AstroInput& in) { in.longitude_degree = 200; },
         AstroStatus::out_of_range},
        {"latitude 91", [](AstroInput& in) { in.latitude_degree = 91; }, AstroStatus::out_of_range},
        {"latitude -1", [](AstroInput& in) { in.latitude_degree = -1; }, AstroStatus::out_of_range},
        {"no date", [](AstroInput& in) { in.date.reset(); }, AstroStatus::bad_date},
        {"hour 24", [](AstroInput& in) { in.hour = 24; }, AstroStatus::bad_hour},
        {"hour -1", [](AstroInput& in) { in.hour = -1; }, AstroStatus::bad_hour},
        {"minute 60", [](AstroInput& in) { in.minute = 60; }, AstroStatus::bad_minute},
        {"hour no number", [](AstroInput& in) { in.hour.reset(); }, AstroStatus::failed},
        {"minute no number", [](AstroInput& in) { in.minute.reset(); }, AstroStatus::failed},
        {"hour 23.5", [](AstroInput& in) { in.hour = 23.5; }, AstroStatus::bad_hour},
        {"minute 59.9", [](AstroInput& in) { in.minute = 59.9; }, AstroStatus::bad_minute},
        // Polar night at 70° N: no sunrise, nothing to show.
        {"polar night",
         [](AstroInput& in) {
             in.latitude_degree = 70;
             in.date = make_date(2000, 12, 21);
         },
         AstroStatus::failed},
    };
    for (const Row& r : rows) {
        AstroInput in = munich(true);
        r.change(in);
        EXPECT_EQ(int(r.status), int(compute_astro(in).status)) << r.what;
    }
    // The coordinates are checked before the date, the date before the time.
    AstroInput in = munich(true);
    in.longitude_degree = 200;
    in.date.reset();
    in.hour = 24;
    EXPECT_EQ(int(AstroStatus::out_of_range), int(compute_astro(in).status));
    in.longitude_degree = 11;
    EXPECT_EQ(int(AstroStatus::bad_date), int(compute_astro(in).status));
}

TEST(Astro, Messages) {
    EXPECT_EQ("Falsches Datum", astro_message(AstroStatus::bad_date));
    EXPECT_EQ("Falsche Stunden", astro_message(AstroStatus::bad_hour));
    EXPECT_EQ("Falsche Minuten", astro_message(AstroStatus::bad_minute));
    EXPECT_EQ("", astro_message(AstroStatus::out_of_range));
    EXPECT_EQ("", astro_message(AstroStatus::failed));
}

}  // namespace
}  // namespace merkwald
