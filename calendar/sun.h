#pragma once
// Sunrise, sunset and the three twilights for one day and place: a low-precision
// solar model evaluated once at local noon of the reference zone (GMT+1).

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "date_serial.h"

namespace merkwald {

// Index 0 sunrise/sunset (zenith 90.833°), 1 civil, 2 nautical, 3 astronomical twilight.
inline constexpr int kSunEvents = 4;

// A time of day in whole minutes after midnight. It may lie below 0 or from 1440 on
// (far from the 15° E meridian); displays bring it into the day, differences use it raw.
using SunMinutes = int;

struct SunTimes {
    // nullopt where the event does not happen that day (the sun never reaches
    // that zenith distance from above or below: polar day or night).
    std::array<std::optional<SunMinutes>, kSunEvents> rising{};
    std::array<std::optional<SunMinutes>, kSunEvents> setting{};
};

// longitude in degrees, east negative; latitude in degrees, south negative.
// Times are for GMT+1 without summer time.
[[nodiscard]] SunTimes sun_times(double longitude, double latitude, DaySerial date);

// For an event `sun_times` leaves out or puts at midnight: true when the sun stays
// below that zenith distance all day (polar night), false when it stays above.
[[nodiscard]] bool sun_stays_below(double latitude, DaySerial date, int event);

// The configured home place, as stored in the settings.
struct HomePlace {
    int longitude_degree = 12, longitude_minute = 9, longitude_second = 0;
    std::string longitude_direction = "O";
    int latitude_degree = 48, latitude_minute = 33, latitude_second = 0;
    std::string latitude_direction = "N";
    double diff_to_gmt = 1.0;  // hours, the numeric value of `Diff to GMT`
    bool daylight_saving = false;
    // Summer time "automatisch": the hours the clock is ahead of the standard
    // offset on a date, as the system's time zone says. When set, it replaces
    // `daylight_saving`.
    std::function<double(DaySerial)> summer_time_hours;

    // The summer-time hours on `date`: from the zone when automatic, else 0 or 1.
    [[nodiscard]] double summer_hours_on(DaySerial date) const {
        if (summer_time_hours) return summer_time_hours(date);
        return daylight_saving ? 1 : 0;
    }
};

// The table that `sun_times_home` keeps up to date; entries start at midnight and
// keep their previous value whenever a computation yields nothing for them.
struct SunTable {
    std::array<SunMinutes, kSunEvents> rising{};
    std::array<SunMinutes, kSunEvents> setting{};
};

// Fills `table` for the home place and day, moved to the user's clock by
// diff_to_gmt - 1 + summer_hours_on(date) hours, applied exactly (also for
// fractional offsets). A place out of range (longitude outside 0-180 or latitude
// outside 0-90 before the direction sign) leaves the table unchanged.
void sun_times_home(const HomePlace& place, DaySerial date, SunTable& table);

// A decimal hour value as whole hours (rounded down, so -0.5 h is -1 h) and
// rounded minutes; 59.5 minutes and more carry into the next hour.
[[nodiscard]] SunMinutes hours_to_sun_minutes(double hours);

// An offset in hours as whole minutes (rounded; bounded to a week either way).
[[nodiscard]] SunMinutes offset_minutes(double hours);

// The time of day a sun time falls on (taken modulo 24 hours) as "hh" separator
// "mm", e.g. "05:14" or "05.14".
[[nodiscard]] std::string format_sun_time(SunMinutes minutes, char separator = ':');

}  // namespace merkwald
