#pragma once
// Deciding for a finished record whether it is due, which day its event falls on
// and how it sorts.

#include <optional>

#include "engine_state.h"

namespace merkwald {

// The day and month of the date in today's year; when that is before today, in
// the following year (today itself counts). 29 February becomes 1 March in
// other years.
[[nodiscard]] std::optional<DaySerial> next_anniversary(DateSeen seen);

// Which weekday of a month, named: both are small numbers, easily swapped.
struct NthWeekday {
    int weekday;  // 1 = Sunday
    int week;     // the record's `active_week`
};

// The `rule.week`-th `rule.weekday` counted from `first` (the first day of a
// month); the result may run into the following month.
[[nodiscard]] std::optional<DaySerial> nth_weekday(DaySerial first, NthWeekday rule);

// Priority 1 sorts by the next anniversary, 2 on 1.1.1980, anything else on 1.1.1970.
// Works on the state's working record.
void set_sort_date(const EngineState& state, RefreshTables& tables);

// Reads the last-start setting; an unreadable one keeps the value read before.
void read_last_start(EngineState& state);

// What the evaluation decides for one finished record.
struct Verdict {
    bool due = false;
    bool event_today = false;  // feeds the sound mark
    bool missed = false;
    DaySerial event_date{};
    DaySerial sort_date{};
};

// Evaluates `record` against the state's today and last start. `tag_sort_date` is
// the sort date its tags set (set_sort_date); a due monthly or periodic record
// sorts by its occurrence instead. The lead-days override is the caller's: it
// stays in the record's run-long `active_before`.
[[nodiscard]] Verdict evaluate_record(const EngineState& state, const WorkingRecord& record,
                                      DaySerial tag_sort_date);

}  // namespace merkwald
