#include "julian.h"

#include <cmath>

namespace merkwald {

JulianParts julian_parts(DaySerial day) {
    const Ymd d = ymd_of(day);
    JulianParts p{double(d.year), double(d.month), double(d.day), 0};
    if (p.month < 3) {
        p.month += 12;
        p.year -= 1;
    }
    const double a = std::floor(p.year / 100);
    p.gregorian = 2 - a + std::floor(a / 4);
    return p;
}

}  // namespace merkwald
