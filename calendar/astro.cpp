#include "astro.h"

#include <charconv>
#include <cmath>

#include "moon.h"
#include "sun.h"

namespace merkwald {

namespace {

// As "%.2f" writes it in the C locale, whatever locale the program runs in.
std::string two_decimals(double v, std::string_view unit) {
    char buffer[400];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
    std::string text(buffer, r.ptr);
    text += unit;
    return text;
}

// Hours and minutes are whole numbers with the fraction dropped.
int whole(double v) {
    return int(std::trunc(v));
}

// The checks in the window's order: place, date, hour, minute.
AstroStatus check_input(const AstroInput& in, double longitude, double latitude) {
    // Written so that NaN counts as out of range too.
    if (!(longitude >= 0 && longitude <= 180 && latitude >= 0 && latitude <= 90))
        return AstroStatus::out_of_range;
    if (!in.date) return AstroStatus::bad_date;
    if (!in.hour || !in.minute || !std::isfinite(*in.hour) || !std::isfinite(*in.minute))
        return AstroStatus::failed;
    if (*in.hour < 0 || *in.hour > 23) return AstroStatus::bad_hour;
    if (*in.minute < 0 || *in.minute > 59) return AstroStatus::bad_minute;
    return AstroStatus::ok;
}

}  // namespace

std::string_view astro_message(AstroStatus status) {
    switch (status) {
        case AstroStatus::bad_date:
            return "Falsches Datum";
        case AstroStatus::bad_hour:
            return "Falsche Stunden";
        case AstroStatus::bad_minute:
            return "Falsche Minuten";
        default:
            return {};
    }
}

AstroResult compute_astro(const AstroInput& in) {
    AstroResult result;
    double longitude = in.longitude_degree + in.longitude_minute / 60 + in.longitude_second / 3600;
    double latitude = in.latitude_degree + in.latitude_minute / 60 + in.latitude_second / 3600;
    result.status = check_input(in, longitude, latitude);
    if (result.status != AstroStatus::ok) return result;
    if (in.longitude_direction == "o" || in.longitude_direction == "O") longitude = -longitude;
    if (in.latitude_direction == "s" || in.latitude_direction == "S") latitude = -latitude;

    const SunTimes sun = sun_times(longitude, latitude, *in.date);
    if (!sun.rising[0] || !sun.setting[0] || !sun.rising[1] || !sun.setting[1]) {
        result.status = AstroStatus::failed;
        return result;
    }
    const double zone = in.zone_hours + (in.summer_time ? 1 : 0);
    const SunMinutes offset = offset_minutes(zone - 1);
    auto& t = result.texts;
    t[0] = format_sun_time(*sun.rising[0] + offset) + " Uhr";
    t[1] = format_sun_time(*sun.setting[0] + offset) + " Uhr";
    t[2] = format_sun_time(*sun.rising[1] + offset) + " Uhr";
    t[3] = format_sun_time(*sun.setting[1] + offset) + " Uhr";
    t[4] = format_sun_time(*sun.setting[0] - *sun.rising[0]) + " Stunden";

    // The window's own summer-time box is the one that counts; the configured
    // flag would take the hour off a second time.
    const int second_of_day = whole(*in.hour) * 3600 + whole(*in.minute) * 60;
    const MoonPhase moon = moon_phase(*in.date, second_of_day, zone, false);
    t[5] = two_decimals(moon.age, " Tage");
    t[6] = two_decimals(moon.elongation, " Grad");
    t[7] = two_decimals(moon.sunrise_terminator, " Grad");
    t[8] = two_decimals(moon.sunset_terminator, " Grad");
    t[9] = std::string(moon.name);
    return result;
}

}  // namespace merkwald
