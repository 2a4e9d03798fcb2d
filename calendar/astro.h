#pragma once
// What the astronomy window computes for its fields: sun and civil twilight
// times, day length and the moon, as the texts of its ten output fields.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "date_serial.h"

namespace merkwald {

// The window's inputs as numbers: the callers read the fields' texts (leading
// numeric values, the date parser).
struct AstroInput {
    double longitude_degree = 0, longitude_minute = 0, longitude_second = 0;
    std::string longitude_direction;  // "O"/"o": east
    double latitude_degree = 0, latitude_minute = 0, latitude_second = 0;
    std::string latitude_direction;  // "S"/"s": south
    double zone_hours = 1;           // the place's standard time ahead of GMT
    bool summer_time = false;
    std::optional<DaySerial> date;  // nullopt: the date field holds no valid date
    std::optional<double> hour;     // nullopt: the field holds no number
    std::optional<double> minute;
};

enum class AstroStatus {
    ok,
    out_of_range,  // coordinates outside 0-180 / 0-90: nothing, no message
    bad_date,      // "Falsches Datum"
    bad_hour,      // "Falsche Stunden"
    bad_minute,    // "Falsche Minuten"
    failed,        // no number in the hour or minute field
};

inline constexpr int kAstroFields = 10;

// Labels of the ten output fields, in the order of AstroResult::texts.
inline constexpr std::array<std::string_view, kAstroFields> kAstroLabels = {
    "Sonnenaufgang:", "Sonnenuntergang:", "Beginn der Dämmerung:", "Ende der Dämmerung:",
    "Tageslänge:",    "Mondalter:",       "Elongation:",           "SA-Terminator:",
    "SU-Terminator:", "Mondphase:"};

struct AstroResult {
    AstroStatus status = AstroStatus::failed;
    // Filled only when status is ok: "05:14 Uhr", ..., "16:04 Stunden", "7.39 Tage",
    // "90.16 Grad", ..., "zun. Halbmond".
    std::array<std::string, kAstroFields> texts;
};

[[nodiscard]] AstroResult compute_astro(const AstroInput& input);

// The message box text for a status, empty for those that show none.
[[nodiscard]] std::string_view astro_message(AstroStatus status);

}  // namespace merkwald
