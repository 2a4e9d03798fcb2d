#pragma once
// Easter and the German holidays and church feasts derived from it.

#include <string>

#include "date_serial.h"

namespace merkwald {

// Gauss's rule as a whole-number computation; the year is not range-checked.
[[nodiscard]] DaySerial easter_date(int year);

// The name the list heading appends for `day` (later matches of the lookup order
// win), or an empty string.
[[nodiscard]] std::string holiday_name(DaySerial day);

}  // namespace merkwald
