#include <tuple>

#include "calendar/astro.h"
#include "calendar/moon.h"
#include "calendar/sun.h"
#include "calendar_test_support.h"

namespace merkwald {
namespace {

using test::date;

std::string shown(const std::optional<SunMinutes>& m) {
    return m ? format_sun_time(*m) : std::string("none");
}

TEST(SunTimes, MunichAtMidsummer) {
    // Sunrise and sunset, then the civil, nautical and astronomical twilights in
    // Munich (east longitudes count negative here).
    const SunTimes summer = sun_times(-(11 + 35 / 60.0), 48 + 8 / 60.0, date(2000, 6, 21));
    std::string times;
    for (int i = 0; i < kSunEvents; ++i)
        times += shown(summer.rising[i]) + "-" + shown(summer.setting[i]) + " ";
    EXPECT_EQ(times, "04:14-20:18 03:32-20:59 02:34-21:57 00:50-23:41 ");
    // Hours to whole minutes, and minutes beyond the day to the clock.
    const std::pair<double, SunMinutes> rows[] = {
        {4.0 + 59.4 / 60, 299}, {4.0 + 59.6 / 60, 300}, {-0.01, -1}, {23.0 + 59.7 / 60, 1440}};
    for (const auto& [hours, minutes] : rows)
        EXPECT_EQ(minutes, hours_to_sun_minutes(hours)) << hours;
    EXPECT_EQ("23:30", format_sun_time(-30));
}

TEST(Astro, SunAndMoonFieldsOnTheUsersClock) {
    // summer time, zone, then sunrise, sunset, dawn and dusk; the day is 16:04 long throughout
    const std::tuple<bool, double, const char*> rows[] = {
        {false, 1.5, "04:44 Uhr|20:48 Uhr|04:02 Uhr|21:29 Uhr"},  // applied exactly
        {false, 5, "08:14 Uhr|00:18 Uhr|07:32 Uhr|00:59 Uhr"},    // time of day
    };
    for (const auto& [summer, zone, times] : rows) {
        const AstroResult r = compute_astro(
            {11, 35, 0, "O", 48, 8, 0, "N", zone, summer, make_date(2000, 6, 21), 12, 0});
        ASSERT_EQ(int(AstroStatus::ok), int(r.status)) << zone;
        EXPECT_EQ(
            std::string(times) + "|16:04 Stunden",
            r.texts[0] + "|" + r.texts[1] + "|" + r.texts[2] + "|" + r.texts[3] + "|" + r.texts[4])
            << zone;
    }
    // 20 June 1999 18:13 UT is 20:13 local with zone 1 and summer time, counted once.
    const AstroResult r =
        compute_astro({11, 35, 0, "O", 48, 8, 0, "N", 1, true, make_date(1999, 6, 20), 20, 13});
    EXPECT_EQ((std::vector<std::string>{"7.40 Tage", "90.16 Grad", "90.16 Grad", "-89.84 Grad",
                                        "zun. Halbmond"}),
              std::vector<std::string>(r.texts.begin() + 5, r.texts.end()));
}

int seconds(int h, int m) { return h * 3600 + m * 60; }

TEST(MoonPhase, PublishedPhasesFromLocalTimeOnEitherCalendar) {
    // Published instants (UT) of new moon, first quarter, full moon and last quarter.
    const std::tuple<DaySerial, int, double, const char*, int> rows[] = {
        {date(1999, 6, 13), seconds(19, 3), 0.001, "Neumond", 1},
        {date(1999, 6, 20), seconds(18, 13), 7.395, "zun. Halbmond", 8},
        {date(1999, 6, 28), seconds(21, 38), 14.773, "Vollmond", 15},
        {date(1999, 7, 6), seconds(11, 57), 22.14, "abn. Halbmond", 22},
    };
    for (const auto& [day, time, age, name, picture] : rows) {
        const MoonPhase p = moon_phase(day, time, 0, false);
        // The age runs modulo the cycle: a new moon may show as 29.5 days.
        EXPECT_NEAR(age, p.age > 29 ? p.age - 29.53 : p.age, 0.02) << day;
        EXPECT_EQ(name, p.name) << day;
        EXPECT_EQ(picture, moon_picture_index(p.age)) << day;
    }
    // The day serials are Gregorian on both sides of the calendar reform: from 4 to
    // 15 October 1582 the age moves on by eleven days.
    const double step = moon_phase(date(1582, 10, 15), 0, 0, false).age -
                        moon_phase(date(1582, 10, 4), 0, 0, false).age;
    EXPECT_NEAR(11, step < 0 ? step + 29.53 : step, 1.5);
}

}  // namespace
}  // namespace merkwald
