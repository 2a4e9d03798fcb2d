#pragma once
// Deciding for a finished record whether it is due, which day its event falls on
// and how it sorts.

#include <optional>

#include "engine_state.h"

namespace merkwald {

// The day and month of `date` in today's year; when that is before today, in the
// following year (today itself counts). 29 February becomes 1 March in other years.
[[nodiscard]] std::optional<DaySerial> next_anniversary(DaySerial date, DaySerial today);

// The `active_week`-th `weekday` (1 = Sunday) counted from `first` (the first day
// of a month); the result may run into the following month.
[[nodiscard]] std::optional<DaySerial> nth_weekday(DaySerial first, int weekday, int active_week);

// Priority 1 sorts by the next anniversary, 2 on 1.1.1980, anything else on 1.1.1970.
// Works on the state's working record.
void set_sort_date(EngineState& state, RefreshTables& tables);

// Reads the last-start setting; an unreadable one keeps the value read before.
void read_last_start(EngineState& state);

// Sets due, event date, sort date, event-is-today and missed of the working record.
void evaluate_record(EngineState& state, RefreshTables& tables);

}  // namespace merkwald
