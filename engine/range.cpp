#include "range.h"

#include "date_text.h"

namespace merkwald {

std::optional<DateRange> make_range(DaySerial from, DaySerial to) {
    if (to < from || to - from > kMaxRangeDays) return std::nullopt;
    return DateRange{from, to};
}

void refresh_range(EngineState& state, RefreshTables& tables, const std::string& main_file,
                   const DateRange& range, MessageSink& sink) {
    const DaySerial today = state.today;
    const std::optional<int> lead_days = state.lead_days;
    state.today = range.from;
    state.lead_days = range.to - range.from;
    refresh(state, tables, main_file, sink);
    state.today = today;
    state.lead_days = lead_days;
}

std::string range_heading(const DateRange& range) {
    return "Ereignisse vom " + format_date(range.from, "d.m.yyyy") + " bis " +
           format_date(range.to, "d.m.yyyy");
}

std::vector<TextRun> compose_range_list(const EngineState& state, const SortedList& list,
                                        const ListStyle& style, const DateRange& range) {
    std::vector<TextRun> runs = compose_list(state, list, style);
    // The first run is the day's heading, indented in the light layout.
    if (!runs.empty()) {
        const std::string indent = style.light ? "  " : "";
        runs.front().text = indent + range_heading(range);
    }
    return runs;
}

}  // namespace merkwald
