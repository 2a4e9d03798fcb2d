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
int whole(double v) { return int(std::trunc(v)); }

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

// Which of sunrise/sunset and civil twilight happen on the day; the others
// are polar day (always above) or polar night (always below).
struct SunSky {
    bool rises = true, twilight = true;
    bool polar_night = false, twilight_dark = false;
};

// `sun_times` puts an event at midnight when the sun stays above it all day.
bool happens(const SunTimes& sun, int event) {
    const auto i = std::size_t(event);
    return sun.rising[i] && sun.setting[i] && !(*sun.rising[i] == 0 && *sun.setting[i] == 0);
}

SunSky sky_of(const SunTimes& sun, double latitude, DaySerial date) {
    SunSky sky;
    sky.rises = happens(sun, 0);
    sky.twilight = happens(sun, 1);
    if (!sky.rises) sky.polar_night = sun_stays_below(latitude, date, 0);
    if (!sky.twilight) sky.twilight_dark = sun_stays_below(latitude, date, 1);
    return sky;
}

void fill_sun_texts(std::array<std::string, kAstroFields>& t, const SunTimes& sun,
                    const SunSky& sky, SunMinutes offset) {
    if (sky.rises) {
        t[0] = format_sun_time(*sun.rising[0] + offset) + " Uhr";
        t[1] = format_sun_time(*sun.setting[0] + offset) + " Uhr";
        t[4] = format_sun_time(*sun.setting[0] - *sun.rising[0]) + " Stunden";
    } else {
        t[0] = t[1] = sky.polar_night ? "Polarnacht" : "Polartag";
        t[4] = sky.polar_night ? "00:00 Stunden" : "24:00 Stunden";
    }
    if (sky.twilight) {
        t[2] = format_sun_time(*sun.rising[1] + offset) + " Uhr";
        t[3] = format_sun_time(*sun.setting[1] + offset) + " Uhr";
    } else {
        t[2] = t[3] = sky.twilight_dark ? "durchgehend dunkel" : "durchgehend hell";
    }
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
    const double zone = in.zone_hours + (in.summer_time ? 1 : 0);
    fill_sun_texts(result.texts, sun, sky_of(sun, latitude, *in.date), offset_minutes(zone - 1));

    auto& t = result.texts;
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
