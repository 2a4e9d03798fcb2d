#include <tuple>

#include "calendar/astro.h"
#include "calendar/sun.h"
#include "calendar_test_support.h"

namespace merkwald {
namespace {

using test::between;
using test::date;

constexpr double kMunichLon = -(11 + 35 / 60.0);
constexpr double kMunichLat = 48 + 8 / 60.0;
const HomePlace kMunich{11, 35, 0, "O", 48, 8, 0, "N", 1.0, false, {}};

std::string shown(const std::optional<SunMinutes>& m) {
    return m ? format_sun_time(*m) : std::string("none");
}

TEST(SunTimes, MunichAtMidsummerAndMidwinter) {
    const SunTimes summer = sun_times(kMunichLon, kMunichLat, date(2000, 6, 21));
    const char* rising[] = {"04:14", "03:32", "02:34", "00:50"};
    const char* setting[] = {"20:18", "20:59", "21:57", "23:41"};
    for (int i = 0; i < kSunEvents; ++i) {
        EXPECT_EQ(rising[i], shown(summer.rising[i])) << i;
        EXPECT_EQ(setting[i], shown(summer.setting[i])) << i;
    }
    const SunTimes winter = sun_times(kMunichLon, kMunichLat, date(2000, 12, 21));
    EXPECT_EQ("08:01", shown(winter.rising[0]));
    EXPECT_EQ("16:22", shown(winter.setting[0]));
}

TEST(SunTimes, MinutesAndTheirText) {
    const std::pair<double, SunMinutes> rows[] = {
        {4.0 + 59.4 / 60, 299}, {4.0 + 59.6 / 60, 300}, {-0.01, -1}, {23.0 + 59.7 / 60, 1440}};
    for (const auto& [hours, minutes] : rows) EXPECT_EQ(minutes, hours_to_sun_minutes(hours));
    EXPECT_EQ("00:10", format_sun_time(24 * 60 + 10));
    EXPECT_EQ("23:30", format_sun_time(-30));
}

TEST(SunTimesHome, ShiftsToTheUsersClock) {
    // diff to GMT, summer time, shift in minutes from the reference zone
    const std::tuple<double, bool, SunMinutes> rows[] = {
        {1, false, 0}, {0, false, -60}, {5.75, true, 345}};
    const SunTimes raw = sun_times(kMunichLon, kMunichLat, date(2000, 6, 21));
    for (const auto& [diff, summer, shift] : rows) {
        HomePlace p = kMunich;
        p.diff_to_gmt = diff;
        p.daylight_saving = summer;
        SunTable table;
        sun_times_home(p, date(2000, 6, 21), table);
        for (int i = 0; i < kSunEvents; ++i) {
            EXPECT_EQ(*raw.rising[i] + shift, table.rising[i]) << diff << " " << i;
            EXPECT_EQ(*raw.setting[i] + shift, table.setting[i]) << diff << " " << i;
        }
    }
    // West and south: the direction letters set the signs.
    const HomePlace west{11, 35, 0, "W", 48, 8, 0, "s", 1.0, false, {}};
    SunTable table;
    sun_times_home(west, date(2000, 3, 1), table);
    const SunTimes raw_west = sun_times(-kMunichLon, -kMunichLat, date(2000, 3, 1));
    EXPECT_EQ(*raw_west.rising[0], table.rising[0]);
    EXPECT_EQ(*raw_west.setting[0], table.setting[0]);
}

// A place out of range keeps the whole table; polar night keeps the sunrise
// entries but fills the twilight that does happen.
TEST(SunTimesHome, KeepsEntriesItCannotCompute) {
    const HomePlace rows[] = {{11, 35, 0, "O", 91, 8, 0, "N", 1.0, false, {}},
                              {19, 0, 0, "O", 70, 0, 0, "N", 1.0, false, {}}};
    const SunTimes tromso = sun_times(-19, 70, date(2000, 12, 21));
    for (const HomePlace& p : rows) {
        SunTable table;
        table.rising.fill(123);
        table.setting.fill(456);
        sun_times_home(p, date(2000, 12, 21), table);
        const bool polar = p.latitude_degree == 70;
        EXPECT_EQ(123, table.rising[0]) << p.latitude_degree;
        EXPECT_EQ(456, table.setting[0]) << p.latitude_degree;
        EXPECT_EQ(polar ? *tromso.rising[3] : 123, table.rising[3]) << p.latitude_degree;
        EXPECT_EQ(polar ? *tromso.setting[3] : 456, table.setting[3]) << p.latitude_degree;
    }
}

TEST(Astro, SunFieldsOnTheUsersClock) {
    // summer time, zone, sunrise, sunset, dawn, dusk; the day is 16:04 long throughout
    const std::tuple<bool, double, const char*, const char*, const char*, const char*> rows[] = {
        {true, 1, "05:14 Uhr", "21:18 Uhr", "04:32 Uhr", "21:59 Uhr"},
        {false, 1.5, "04:44 Uhr", "20:48 Uhr", "04:02 Uhr", "21:29 Uhr"},  // applied exactly
        {false, 5, "08:14 Uhr", "00:18 Uhr", "07:32 Uhr", "00:59 Uhr"},    // time of day
    };
    for (const auto& [summer, zone, rise, set, dawn, dusk] : rows) {
        const AstroResult r = compute_astro(
            {11, 35, 0, "O", 48, 8, 0, "N", zone, summer, make_date(2000, 6, 21), 12, 0});
        ASSERT_EQ(int(AstroStatus::ok), int(r.status));
        EXPECT_EQ(rise, r.texts[0]) << zone;
        EXPECT_EQ(set, r.texts[1]) << zone;
        EXPECT_EQ(dawn, r.texts[2]) << zone;
        EXPECT_EQ(dusk, r.texts[3]) << zone;
        EXPECT_EQ("16:04 Stunden", r.texts[4]) << zone;
    }
}

// 20 June 1999 18:13 UT is 20:13 local with zone 1 and summer time, counted once.
TEST(Astro, MoonFieldsAtTheFirstQuarterOf1999) {
    const AstroResult r =
        compute_astro({11, 35, 0, "O", 48, 8, 0, "N", 1, true, make_date(1999, 6, 20), 20, 13});
    EXPECT_EQ((std::vector<std::string>{"7.40 Tage", "90.16 Grad", "90.16 Grad", "-89.84 Grad",
                                        "zun. Halbmond"}),
              std::vector<std::string>(r.texts.begin() + 5, r.texts.end()));
}

TEST(Astro, PolarDayAndNightSayWhatTheSkyDoes) {
    // nullptr: the field shows a time
    const struct {
        double latitude;
        int month;
        const char *sun, *twilight, *length;
    } rows[] = {
        {78, 6, "Polartag", "durchgehend hell", "24:00 Stunden"},
        {78, 12, "Polarnacht", "durchgehend dunkel", "00:00 Stunden"},
        {69, 12, "Polarnacht", nullptr, "00:00 Stunden"},  // civil twilight at noon
        {64, 6, nullptr, "durchgehend hell", nullptr},     // a white night
    };
    for (const auto& row : rows) {
        const auto day = make_date(2000, row.month, 21);
        const AstroResult r =
            compute_astro({15, 0, 0, "O", row.latitude, 0, 0, "N", 1, false, day, 12, 0});
        ASSERT_EQ(int(AstroStatus::ok), int(r.status)) << row.latitude;
        const auto shows = [](const std::string& text, const char* expected) {
            return expected ? text == expected : text.ends_with(" Uhr");
        };
        EXPECT_TRUE(shows(r.texts[0], row.sun) && shows(r.texts[1], row.sun)) << r.texts[0];
        EXPECT_TRUE(shows(r.texts[2], row.twilight) && shows(r.texts[3], row.twilight))
            << r.texts[2];
        if (row.length) {
            EXPECT_EQ(row.length, r.texts[4]);
        }
        EXPECT_FALSE(r.texts[9].empty()) << row.latitude;  // the moon is computed anyway
    }
}

TEST(Astro, StatusInTheOrderOfTheChecks) {
    const auto day = make_date(2000, 6, 21);
    const auto none = std::nullopt;
    using S = AstroStatus;
    // The coordinates are checked before the date, the date before the time.
    const std::tuple<double, double, std::optional<DaySerial>, std::optional<double>,
                     std::optional<double>, AstroStatus>
        rows[] = {
            {200, 48, day, 12, 0, S::out_of_range},
            {11, 91, day, 12, 0, S::out_of_range},
            {200, 48, none, 24, 0, S::out_of_range},
            {11, 48, none, 12, 0, S::bad_date},
            {11, 48, day, 24, 0, S::bad_hour},
            {11, 48, day, 23.5, 0, S::bad_hour},
            {11, 48, day, 12, 60, S::bad_minute},
            {11, 48, day, 12, none, S::failed},               // no number in the field
            {11, 70, make_date(2000, 12, 21), 12, 0, S::ok},  // polar night has texts
        };
    for (const auto& [lon, lat, date, hour, minute, status] : rows) {
        const AstroInput in{lon, 35, 0, "O", lat, 8, 0, "N", 1, true, date, hour, minute};
        EXPECT_EQ(int(status), int(compute_astro(in).status)) << lon << " " << lat;
    }
}

}  // namespace
}  // namespace merkwald
