#pragma once
// Replacing the placeholders of a record text (dates, distances, ages, sun times).

#include <optional>
#include <string>
#include <string_view>

#include "engine_state.h"
#include "messages.h"

namespace merkwald {

// Where the text came from, for the syntax-error report.
struct TextOrigin {
    std::string_view file;
    long long line = 0;
};

struct Expansion {
    std::string text;
    // The event date after the text: two placeholders move it to the next
    // anniversary, and the placeholders behind them see the moved date.
    DaySerial event_date{};
};

// The two days a text speaks of, named: swapped, every distance and date in
// the text would be wrong without a sign of it.
struct RecordDays {
    DaySerial record;  // the record's `date`
    DaySerial event;   // the day its event falls on
};

// Expands `text` for a record dated `days.record` whose event falls on `days.event`.
// Unknown placeholders vanish. On a syntax error (a ">" before the first "<", or
// a "<" without ">") the text is empty and, unless the state's syntax-error
// switch is on, the error is reported through `sink`. The state's sun table is
// the only thing it changes.
[[nodiscard]] Expansion expand_placeholders(EngineState& state, std::string_view text,
                                            RecordDays days, const TextOrigin& origin,
                                            MessageSink& sink);

// Where expand_placeholders would stop with a syntax error: the offset of the
// ">" that comes before its "<", or of the "<" that has no ">"; nullopt when none.
[[nodiscard]] std::optional<std::size_t> placeholder_syntax_error(std::string_view text);

// Days from today to the next anniversary of the date (0 on the day itself).
[[nodiscard]] int days_to_anniversary(DateSeen seen);

// A sun time as the list shows it: "hh.mm" of the time of day it falls on.
[[nodiscard]] std::string sun_time_text(SunMinutes minutes, char separator);

}  // namespace merkwald
