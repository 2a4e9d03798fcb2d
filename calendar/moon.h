#pragma once
// The moon's age and phase for one instant: mean lunar longitude with six periodic
// terms against the sun's apparent longitude.

#include <string_view>

#include "date_serial.h"

namespace merkwald {

struct MoonPhase {
    double age = 0;                 // days since new moon, [0, 29.53)
    double elongation = 0;          // moon minus sun longitude, degrees, [0, 360)
    double sunrise_terminator = 0;  // equal to the elongation
    double sunset_terminator = 0;   // elongation - 180, [-180, 180)
    std::string_view name;          // "Neumond", "1. Viertel", ...
};

// The instant is local: `second_of_day` after midnight of `day`, in a zone
// `zone_hours` ahead of Greenwich, one hour more with `daylight_saving`.
[[nodiscard]] MoonPhase moon_phase(DaySerial day, int second_of_day, double zone_hours,
                                   bool daylight_saving);

// The phase name for an age in days.
[[nodiscard]] std::string_view moon_phase_name(double age);

// The main window's picture for an age: 1 new moon, 2-28 through the cycle.
[[nodiscard]] int moon_picture_index(double age);

}  // namespace merkwald
