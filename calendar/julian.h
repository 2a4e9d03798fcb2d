#pragma once
// What the Julian-day formulas of the sun and the moon share.

#include "date_serial.h"

namespace merkwald {

// The date with January and February counted as months 13 and 14 of the year
// before, and the Gregorian correction B (the serials are Gregorian throughout,
// so it applies to every date).
struct JulianParts {
    double year;
    double month;
    double day;
    double gregorian;
};

[[nodiscard]] JulianParts julian_parts(DaySerial day);

}  // namespace merkwald
