// Summer time "automatisch": the system zone, forced to Europe/Berlin, decides per date.

#include <gtest/gtest.h>

#include <QtGlobal>
#include <ctime>

#include "settings/settings.h"

namespace merkwald {
namespace {

DaySerial day(int y, int m, int d) { return *make_date(y, m, d); }

class SummerTime : public ::testing::Test {
protected:
    SummerTime() : had_zone_(qEnvironmentVariableIsSet("TZ")), saved_(qgetenv("TZ")) {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    ~SummerTime() override {
        if (had_zone_)
            qputenv("TZ", saved_);
        else
            qunsetenv("TZ");
        tzset();
    }
    bool had_zone_;
    QByteArray saved_;
};

TEST_F(SummerTime, BerlinInJulyAndJanuary) {
    EXPECT_EQ(system_summer_time_hours(day(2026, 7, 1)), 1.0);
    EXPECT_EQ(system_summer_time_hours(day(2026, 1, 1)), 0.0);
    // The change happens at night; noon of the day counts.
    EXPECT_EQ(system_summer_time_hours(day(2026, 3, 29)), 1.0);
    EXPECT_EQ(system_summer_time_hours(day(2026, 10, 25)), 0.0);
}

TEST_F(SummerTime, SunTimesMoveWithTheZoneOnlyWhenAutomatic) {
    Settings settings = default_settings("/opt/merkwald");
    settings.daylight_saving = false;
    const EngineSettings manual = to_engine_settings(settings);
    settings.daylight_saving_auto = true;
    const EngineSettings automatic = to_engine_settings(settings);
    for (const auto& [date, shift] : {std::pair{day(2026, 7, 1), 60}, {day(2026, 1, 1), 0}}) {
        SunTable with_manual, with_zone;
        sun_times_home(manual.home, date, with_manual);
        sun_times_home(automatic.home, date, with_zone);
        EXPECT_EQ(with_zone.rising[0] - with_manual.rising[0], shift);
        EXPECT_EQ(with_zone.setting[3] - with_manual.setting[3], shift);
    }
}

}  // namespace
}  // namespace merkwald
