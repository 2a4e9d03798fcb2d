#pragma once
// The list of the events between two days ("Ereignisse von ... bis ..."): the
// list the program would show on the first day if every record announced its
// event up to the last day. Each record appears at most once, with its next event
// on or after the first day, and its text reads as on that first day; records
// that are always shown are shown here too.

#include <optional>
#include <string>
#include <vector>

#include "engine_state.h"
#include "list_view.h"
#include "messages.h"
#include "refresh.h"

namespace merkwald {

// A lead time is a 16-bit number in the files, so a range spans at most that.
inline constexpr int kMaxRangeDays = 32767;

struct DateRange {
    DaySerial from{};
    DaySerial to{};  // inclusive
};

// nullopt when `to` lies before `from` or the range is longer than kMaxRangeDays.
[[nodiscard]] std::optional<DateRange> make_range(DaySerial from, DaySerial to);

// One refresh with today := from and every lead time := to - from. The state's
// today and lead-time override are restored afterwards.
void refresh_range(EngineState& state, RefreshTables& tables, const std::string& main_file,
                   const DateRange& range, MessageSink& sink);

// "Ereignisse vom 1.7.2024 bis 31.7.2024"
[[nodiscard]] std::string range_heading(const DateRange& range);

// The list as compose_list draws it, under the range heading instead of the day's.
[[nodiscard]] std::vector<TextRun> compose_range_list(const EngineState& state,
                                                      const SortedList& list,
                                                      const ListStyle& style,
                                                      const DateRange& range);

}  // namespace merkwald
