// Low-precision solar position (mean longitude and anomaly, two-term equation of
// centre, a seven-term equation of time) evaluated once at noon of the GMT+1 zone.
// The constants keep the digits the program has always used, so its times stay
// minute for minute what users know from it.

#include "sun.h"

#include "julian.h"

#include <cmath>

namespace merkwald {

namespace {

constexpr double kDegToRad = 0.0174532925;
constexpr double kPi = 3.14159265;
constexpr double kHalfPi = 1.57079633;
constexpr double kRadToHours = 3.81971862;
constexpr std::array<double, kSunEvents> kZenith = {1.5853349176525, 1.67551608, 1.780235835,
                                                    1.88495559};

// Julian day at 0 h UT, Gregorian throughout (as the date serials are).
double julian_day_0h(DaySerial date) {
    const JulianParts p = julian_parts(date);
    return std::floor(365.25 * p.year) + std::floor(30.6001 * (p.month + 1)) + p.day + 1720994.5 +
           p.gregorian;
}

struct SolarNoon {
    double declination;       // radians
    double equation_of_time;  // hours
};

SolarNoon solar_noon(DaySerial date) {
    const double j = julian_day_0h(date) + 0.5 + (-15.0) / 360.0;
    const double n = j - 2451545;
    const double mean_longitude = 280.46 + 0.9856474 * n;
    const double g = (357.528 + 0.9856003 * n) * kDegToRad;
    double lambda = mean_longitude + 1.915 * std::sin(g) + 0.02 * std::sin(2 * g);
    lambda = (lambda - 360 * std::floor(lambda / 360)) * kDegToRad;

    const double equation_seconds = 596.2 * std::sin(2 * lambda) - 105.1 * std::sin(lambda) +
                                    4.3 * std::sin(3 * lambda) - 12.7 * std::sin(4 * lambda) -
                                    429.2 * std::cos(lambda) - 2.1 * std::cos(2 * lambda) +
                                    19.3 * std::cos(3 * lambda);

    const double t = (j - 2415020) / 36525;
    const double obliquity =
        (23.452 - 0.01301 * t - 0.0000016 * t * t + 0.0000005 * t * t * t) * kDegToRad;
    const double x = std::cos(lambda);
    const double y = std::sin(lambda) * std::cos(obliquity);
    const double z = std::sin(lambda) * std::sin(obliquity);
    return {std::atan(z / std::sqrt(x * x + y * y)), equation_seconds / 3600};
}

}  // namespace

SunMinutes hours_to_sun_minutes(double hours) {
    const double whole = std::floor(hours);
    return SunMinutes(whole) * 60 + SunMinutes(std::floor((hours - whole) * 60 + 0.5));
}

SunMinutes offset_minutes(double hours) {
    // Any text can stand in the zone setting; a week either way is far beyond every
    // real zone and keeps the minute arithmetic inside int.
    constexpr double kLimit = 7 * 24;
    if (!(hours > -kLimit)) hours = -kLimit;
    if (!(hours < kLimit)) hours = kLimit;
    return SunMinutes(std::lround(hours * 60));
}

SunTimes sun_times(double longitude, double latitude, DaySerial date) {
    const SolarNoon noon = solar_noon(date);
    const double delta = noon.declination;
    const double transit = (longitude + 15) / 15 - noon.equation_of_time;
    const double phi = latitude * kDegToRad;
    SunTimes result;
    for (int i = 0; i < kSunEvents; ++i) {
        const double z = kZenith[i];
        double hour_angle = 0;
        // Beyond the lowest point of the sun's path (at local midnight) the event
        // stands at midnight, as the program has always shown it.
        if (!(z > (kPi - delta) - phi)) {
            const double x =
                (std::cos(z) - std::sin(delta) * std::sin(phi)) / (std::cos(phi) * std::cos(delta));
            if (!(x >= -1 && x <= 1)) continue;  // the sun never gets there: no event
            hour_angle = (kHalfPi - std::atan(x / std::sqrt(1 - x * x))) * kRadToHours;
        }
        if (hour_angle == 0) {
            result.rising[i] = 0;
            result.setting[i] = 0;
        } else {
            result.rising[i] = hours_to_sun_minutes(12 - hour_angle + transit);
            result.setting[i] = hours_to_sun_minutes(12 + hour_angle + transit);
        }
    }
    return result;
}

bool sun_stays_below(double latitude, DaySerial date, int event) {
    // At noon the sun stands nearest the zenith; if even then it is farther away
    // than the event's distance, it never gets there.
    const double noon_distance = std::fabs(latitude * kDegToRad - solar_noon(date).declination);
    return noon_distance > kZenith[std::size_t(event)];
}

void sun_times_home(const HomePlace& place, DaySerial date, SunTable& table) {
    double longitude =
        place.longitude_degree + place.longitude_minute / 60.0 + place.longitude_second / 3600.0;
    double latitude =
        place.latitude_degree + place.latitude_minute / 60.0 + place.latitude_second / 3600.0;
    if (longitude < 0 || longitude > 180 || latitude < 0 || latitude > 90) return;
    if (place.longitude_direction == "O" || place.longitude_direction == "o")
        longitude = -longitude;
    if (place.latitude_direction == "S" || place.latitude_direction == "s") latitude = -latitude;

    const SunTimes times = sun_times(longitude, latitude, date);
    const double offset_hours = place.diff_to_gmt - 1 + place.summer_hours_on(date);
    const SunMinutes offset = offset_minutes(offset_hours);
    for (int i = 0; i < kSunEvents; ++i) {
        if (times.rising[i]) table.rising[i] = *times.rising[i] + offset;
        if (times.setting[i]) table.setting[i] = *times.setting[i] + offset;
    }
}

std::string format_sun_time(SunMinutes minutes, char separator) {
    constexpr SunMinutes kDay = 24 * 60;
    const SunMinutes m = ((minutes % kDay) + kDay) % kDay;
    const SunMinutes h = m / 60;
    const SunMinutes mm = m % 60;
    std::string text;
    text += char('0' + h / 10);
    text += char('0' + h % 10);
    text += separator;
    text += char('0' + mm / 10);
    text += char('0' + mm % 10);
    return text;
}

}  // namespace merkwald
