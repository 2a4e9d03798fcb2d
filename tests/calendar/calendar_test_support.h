#pragma once
// Helpers the calendar tests share.

#include <gtest/gtest.h>

#include "calendar/date_serial.h"

namespace merkwald::test {

inline DaySerial date(int y, int m, int d) { return make_date(y, m, d).value(); }

// A range check whose failure message shows the value and both bounds.
template <class T>
::testing::AssertionResult between(T value, T low, T high) {
    if (low <= value && value <= high) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << value << " is outside [" << low << ", " << high << "]";
}

}  // namespace merkwald::test
