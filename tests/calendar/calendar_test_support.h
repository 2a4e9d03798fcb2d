#pragma once
// Helpers the calendar tests share.

#include <gtest/gtest.h>

#include <ostream>

#include "calendar/date_serial.h"

namespace merkwald {

// Names a date row in a failure message.
inline std::ostream& operator<<(std::ostream& out, const Ymd& d) {
    return out << d.day << '.' << d.month << '.' << d.year;
}

}  // namespace merkwald

namespace merkwald::test {

inline DaySerial date(int y, int m, int d) { return make_date(y, m, d).value(); }

}  // namespace merkwald::test
