#include <gtest/gtest.h>

#include "calendar/sun.h"

namespace merkwald {
namespace {

constexpr double kMunichLon = -(11 + 35 / 60.0);
constexpr double kMunichLat = 48 + 8 / 60.0;

std::string shown(const std::optional<SunMinutes>& m) {
    return m ? format_sun_time(*m) : std::string("none");
}

HomePlace munich() {
    HomePlace p;
    p.longitude_degree = 11;
    p.longitude_minute = 35;
    p.longitude_direction = "O";
    p.latitude_degree = 48;
    p.latitude_minute = 8;
    p.latitude_direction = "N";
    return p;
}

TEST(SunTimes, MunichAtMidsummer) {
    const SunTimes t = sun_times(kMunichLon, kMunichLat, *make_date(2000, 6, 21));
    const char* rising[] = {"04:14", "03:32", "02:34", "00:50"};
    const char* setting[] = {"20:18", "20:59", "21:57", "23:41"};
    for (int i = 0; i < kSunEvents; ++i) {
        EXPECT_EQ(rising[i], shown(t.rising[i])) << i;
        EXPECT_EQ(setting[i], shown(t.setting[i])) << i;
    }
}

TEST(SunTimes, MunichAtMidwinter) {
    const SunTimes t = sun_times(kMunichLon, kMunichLat, *make_date(2000, 12, 21));
    EXPECT_EQ("08:01", shown(t.rising[0]));
    EXPECT_EQ("16:22", shown(t.setting[0]));
}

// At 55° N the midsummer sun stays above -12°: the nautical and astronomical
// twilights stand at midnight while sunrise and civil twilight are normal.
TEST(SunTimes, TwilightAllNightAt55North) {
    const SunTimes t = sun_times(-10, 55, *make_date(2000, 6, 21));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(t.rising[i] && t.setting[i]);
        EXPECT_GT(*t.rising[i], 60) << i;
        EXPECT_LT(*t.setting[i], 23 * 60) << i;
    }
    for (int i = 2; i < kSunEvents; ++i) {
        EXPECT_EQ(std::optional<SunMinutes>(0), t.rising[i]) << i;
        EXPECT_EQ(std::optional<SunMinutes>(0), t.setting[i]) << i;
    }
}

TEST(SunTimes, PolarNightHasNoSunrise) {
    const SunTimes t = sun_times(-19, 70, *make_date(2000, 12, 21));
    EXPECT_FALSE(t.rising[0]);
    EXPECT_FALSE(t.setting[0]);
    EXPECT_TRUE(t.rising[3]);  // the astronomical twilight still happens at noon
}

TEST(SunTimes, SouthernSummerHasNoEndlessDayAtMidnight) {
    // Far south at midsummer the sun never sets: no event rather than a made-up time.
    const SunTimes t = sun_times(-19, -75, *make_date(2000, 12, 21));
    for (int i = 0; i < kSunEvents; ++i) EXPECT_FALSE(t.rising[i]) << i;
}

TEST(SunTimes, HoursToMinutes) {
    struct Row {
        double hours;
        SunMinutes minutes;
    };
    const Row rows[] = {{4.25, 255}, {4.0 + 59.4 / 60, 299}, {4.0 + 59.6 / 60, 300},  {-0.5, -30},
                        {-0.01, -1}, {24.5, 1470},           {23.0 + 59.7 / 60, 1440}};
    for (const Row& r : rows) EXPECT_EQ(r.minutes, hours_to_sun_minutes(r.hours)) << r.hours;
}

TEST(SunTimes, FormatIsTheTimeOfDay) {
    EXPECT_EQ("05:14", format_sun_time(5 * 60 + 14));
    EXPECT_EQ("05.14", format_sun_time(5 * 60 + 14, '.'));
    EXPECT_EQ("00:10", format_sun_time(24 * 60 + 10));
    EXPECT_EQ("23:30", format_sun_time(-30));
}

TEST(SunTimesHome, ShiftsToTheUsersClock) {
    struct Row {
        double diff_to_gmt;
        bool daylight_saving;
        SunMinutes shift;
    };
    const Row rows[] = {
        {1, false, 0}, {1, true, 60}, {0, false, -60}, {1.5, false, 30}, {5.75, true, 345}};
    const DaySerial day = *make_date(2000, 6, 21);
    const SunTimes raw = sun_times(kMunichLon, kMunichLat, day);
    for (const Row& r : rows) {
        HomePlace p = munich();
        p.diff_to_gmt = r.diff_to_gmt;
        p.daylight_saving = r.daylight_saving;
        SunTable table;
        sun_times_home(p, day, table);
        for (int i = 0; i < kSunEvents; ++i) {
            EXPECT_EQ(*raw.rising[i] + r.shift, table.rising[i]) << r.diff_to_gmt << " " << i;
            EXPECT_EQ(*raw.setting[i] + r.shift, table.setting[i]) << r.diff_to_gmt << " " << i;
        }
    }
}

TEST(SunTimesHome, SummerTimeMovesMunichSunriseToFiveFourteen) {
    HomePlace p = munich();
    p.daylight_saving = true;
    SunTable table;
    sun_times_home(p, *make_date(2000, 6, 21), table);
    EXPECT_EQ("05:14", format_sun_time(table.rising[0]));
    EXPECT_EQ("21:18", format_sun_time(table.setting[0]));
}

TEST(SunTimesHome, PlaceOutOfRangeKeepsTheTable) {
    HomePlace lat91 = munich();
    lat91.latitude_degree = 91;
    HomePlace lon181 = munich();
    lon181.longitude_degree = 181;
    HomePlace negative = munich();
    negative.latitude_degree = -1;
    for (const HomePlace& p : {lat91, lon181, negative}) {
        SunTable table;
        table.rising.fill(123);
        table.setting.fill(456);
        sun_times_home(p, *make_date(2000, 6, 21), table);
        for (int i = 0; i < kSunEvents; ++i) {
            EXPECT_EQ(123, table.rising[i]);
            EXPECT_EQ(456, table.setting[i]);
        }
    }
}

TEST(SunTimesHome, PolarNightKeepsPreviousValues) {
    HomePlace tromso = munich();
    tromso.longitude_degree = 19;
    tromso.longitude_minute = 0;
    tromso.latitude_degree = 70;
    tromso.latitude_minute = 0;
    SunTable table;
    table.rising.fill(111);
    table.setting.fill(222);
    const DaySerial day = *make_date(2000, 12, 21);
    sun_times_home(tromso, day, table);
    const SunTimes raw = sun_times(-19, 70, day);
    EXPECT_EQ(111, table.rising[0]);
    EXPECT_EQ(222, table.setting[0]);
    EXPECT_EQ(*raw.rising[3], table.rising[3]);
    EXPECT_EQ(*raw.setting[3], table.setting[3]);
}

TEST(SunTimesHome, DirectionLettersSetTheSigns) {
    // West and south: a place at 11°35' W, 48°8' S gives what sun_times gives for it.
    HomePlace p = munich();
    p.longitude_direction = "W";
    p.latitude_direction = "s";
    const DaySerial day = *make_date(2000, 3, 1);
    SunTable table;
    sun_times_home(p, day, table);
    const SunTimes raw = sun_times(-kMunichLon, -kMunichLat, day);
    EXPECT_EQ(*raw.rising[0], table.rising[0]);
    EXPECT_EQ(*raw.setting[0], table.setting[0]);
}

}  // namespace
}  // namespace merkwald
