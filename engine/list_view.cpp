#include "list_view.h"

#include <algorithm>

#include "calendar/feasts.h"
#include "date_text.h"
#include "evaluate.h"
#include "placeholders.h"

namespace merkwald {

namespace {
constexpr std::string_view kBreak = "\r\n";
constexpr std::string_view kIndent = "  ";
}  // namespace

std::string list_heading(DaySerial today, std::optional<State> state) {
    std::string heading = format_date(today, "dddd") + ", " + format_date(today, "d.m.yyyy");
    const std::string feast = holiday_name(today);
    if (!feast.empty()) heading += ", " + feast;
    const std::string legal = state ? legal_holiday_name(today, *state) : std::string();
    if (legal.empty()) return heading;
    // Days the feast list lacks (Frauentag, Weltkindertag) are named here.
    if (legal != feast) heading += ", " + legal;
    return heading + " (gesetzlicher Feiertag)";
}

std::vector<TextRun> compose_list(const EngineState& state, const SortedList& list,
                                  const ListStyle& style) {
    std::vector<TextRun> runs;
    const auto add = [&runs](std::string text, std::uint32_t color, bool bold, bool italic,
                             bool underline) {
        runs.push_back({std::move(text), color, bold, italic, underline});
    };
    // A line break the display writes itself; the light layout indents what follows.
    const std::string line_break = std::string(kBreak) + std::string(style.light ? kIndent : "");
    // The underline starts at the heading's text, not at its indent.
    if (style.light) add(std::string(kIndent), style.record_color, true, false, false);
    add(list_heading(state.today, style.state), style.record_color, true, false, true);
    add(line_break + line_break, style.record_color, false, false, false);

    for (int g = 0; g <= state.group_count && g < kGroupSlots; ++g) {
        const auto [first, last] = list.range[std::size_t(g)];
        if (first == last) continue;
        if (style.suppress_space && g > 0)
            add(line_break, style.record_color, style.font_bold, style.font_italic, false);
        if (g > 0) {
            add(state.groups[std::size_t(g)] + ":" + std::string(kBreak) + std::string(kBreak),
                style.record_color, true, style.font_italic, true);
            if (style.light)
                add(std::string(kIndent), style.record_color, true, style.font_italic, false);
        }
        for (int row = first; row < last; ++row) {
            const LineEntry& line = *list.rows[std::size_t(row)].line;
            if (line.text.empty()) continue;
            std::string text = line.text;
            if (!style.suppress_space) text += line_break;
            add(std::move(text), line.color, style.font_bold, style.font_italic, false);
        }
    }
    return runs;
}

std::string plain_text(const std::vector<TextRun>& runs) {
    std::string text;
    for (const TextRun& run : runs) text += run.text;
    return text;
}

MissedView missed_view(EngineState& state, const RefreshTables& tables, MessageSink& sink) {
    MissedView view;
    view.caption = "Seit dem letzten Start (" + state.settings.last_start + ") abgelaufen...";
    struct Shown {
        DaySerial date;
        std::string text;
    };
    std::vector<Shown> shown;
    const DaySerial today = state.today;
    const TextOrigin origin{tables.current_file, tables.current_line};
    for (const MissedEntry& entry : tables.missed) {
        const auto next = next_anniversary({.date = entry.date, .today = today});
        const auto when = next ? add_months(*next, -12) : std::nullopt;
        const DaySerial display = entry.once ? entry.date : when.value_or(entry.date);
        state.today = display;
        shown.push_back(
            {display, expand_placeholders(state, entry.text,
                                          {.record = entry.date, .event = display}, origin, sink)
                          .text});
        state.today = today;
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [](const Shown& a, const Shown& b) { return a.date < b.date; });
    view.text = "  ";
    for (const Shown& s : shown) view.text += format_date(s.date, "ddddd") + ": " + s.text;
    return view;
}

}  // namespace merkwald
