// Moon longitude after the low-precision series of the Astronomical Almanac
// (mean longitude plus six periodic terms); the age is the elongation over the
// mean daily gain of the moon on the sun, 12.191 degrees.

#include "moon.h"

#include "julian.h"

#include <cmath>

namespace merkwald {

namespace {

constexpr double kDegToRad = 0.0174532925;
constexpr long long kSecondsPerDay = 86400;

double reduce_degrees(double d) { return d - 360 * std::floor(d / 360); }

double sin_deg(double degrees) { return std::sin(degrees * kDegToRad); }

long long floor_div(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// Julian date of a universal date and time. The day serials are Gregorian all
// the way back, so the Gregorian correction applies to every date (a Julian-
// calendar reading before 1582 would put old dates ten and more days off).
double julian_date(DaySerial day, long long second_of_day) {
    const JulianParts p = julian_parts(day);
    return std::floor(365.25 * (p.year + 4716)) + std::floor(30.6001 * (p.month + 1)) + p.day +
           p.gregorian - 1524.5 + double(second_of_day) / double(kSecondsPerDay);
}

double moon_longitude(double t) {
    const double l = 218.32 + 481267.883 * t + 6.29 * sin_deg(134.9 + 477198.85 * t) -
                     1.27 * sin_deg(259.2 - 413335.38 * t) + 0.66 * sin_deg(235.7 + 890534.23 * t) +
                     0.21 * sin_deg(269.9 + 954397 * t) - 0.19 * sin_deg(357.5 + 35999.05 * t) -
                     0.11 * sin_deg(186.6 + 966404.05 * t);
    return reduce_degrees(l);
}

double sun_longitude(double n) {
    const double l = 280.46 + 0.9856474 * n;
    const double g = (357.528 + 0.9856003 * n) * kDegToRad;
    return reduce_degrees(l + 1.915 * std::sin(g) + 0.02 * std::sin(2 * g));
}

}  // namespace

std::string_view moon_phase_name(double a) {
    // The bounds overlap; each later test wins, as they always did.
    std::string_view name;
    if (a > 29.0033 || a <= 0.5273) name = "Neumond";
    if (a > 0.5273 && a <= 7.3826475) name = "1. Viertel";
    if (a > 6.8826475 && a <= 7.8826475) name = "zun. Halbmond";
    if (a > 7.8826475 && a <= 14.265295) name = "2. Viertel";
    if (a > 14.265295 && a <= 15.265295) name = "Vollmond";
    if (a > 15.265295 && a <= 21.6479425) name = "3. Viertel";
    if (a > 21.6479425 && a <= 22.6479425) name = "abn. Halbmond";
    if (a > 22.6479425 && a <= 29.0033) name = "4. Viertel";
    return name;
}

MoonPhase moon_phase(DaySerial day, int second_of_day, double zone_hours, bool daylight_saving) {
    // A week either way bounds any text the zone field may hold.
    constexpr double kZoneLimit = 7 * 24;
    if (!(zone_hours > -kZoneLimit)) zone_hours = -kZoneLimit;
    if (!(zone_hours < kZoneLimit)) zone_hours = kZoneLimit;
    const long long local = static_cast<long long>(day.value()) * kSecondsPerDay + second_of_day;
    const long long universal =
        local - std::llround(zone_hours * 3600) - (daylight_saving ? 3600 : 0);
    const long long ut_day = floor_div(universal, kSecondsPerDay);

    const double n = julian_date(DaySerial(ut_day), universal - ut_day * kSecondsPerDay) - 2451545;
    double elongation = moon_longitude(n / 36525) - sun_longitude(n);
    if (elongation < 0) elongation += 360;

    MoonPhase p;
    p.age = elongation / 12.191;
    p.elongation = elongation;
    p.sunrise_terminator = elongation;
    p.sunset_terminator = elongation - 180;
    p.name = moon_phase_name(p.age);
    return p;
}

int moon_picture_index(double age) {
    if (age >= 29.0033 || age < 0.5373) return 1;
    return int(std::floor((age - 0.5273) / 28.476 * 27 + 2));
}

}  // namespace merkwald
