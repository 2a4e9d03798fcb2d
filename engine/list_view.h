#pragma once
// The list as styled runs: the window draws them, the command line prints their
// text. The plain text of the runs is exactly what the window shows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calendar/state_holidays.h"
#include "engine_state.h"
#include "messages.h"
#include "refresh.h"

namespace merkwald {

struct TextRun {
    std::string text;  // line breaks are CRLF
    std::uint32_t color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

struct ListStyle {
    std::uint32_t record_color = 0;
    bool suppress_space = false;
    bool font_bold = false;
    bool font_italic = false;
    // The light program's layout: every line the display writes starts with two blanks.
    bool light = false;
    // The chosen state: the heading marks its legal days off.
    std::optional<State> state;
};

// The date heading ("Freitag, 5.3.1999" and the feast, if any), the group headings
// and the entries.
[[nodiscard]] std::vector<TextRun> compose_list(const EngineState& state, const SortedList& list,
                                                const ListStyle& style);

[[nodiscard]] std::string plain_text(const std::vector<TextRun>& runs);

// The heading line of the list for `today`; with a state, a legal day off there
// is marked "(gesetzlicher Feiertag)".
[[nodiscard]] std::string list_heading(DaySerial today, std::optional<State> state = {});

// The missed-events window: its caption and its text.
struct MissedView {
    std::string caption;
    std::string text;
};

// Each missed text is expanded as it read on the day it fell due; entries are
// listed oldest first, entries of one day in file order.
[[nodiscard]] MissedView missed_view(EngineState& state, const RefreshTables& tables,
                                     MessageSink& sink);

}  // namespace merkwald
