#include "placeholders.h"

#include <unordered_map>
#include <vector>

#include "date_text.h"
#include "evaluate.h"
#include "number.h"
#include "text.h"

namespace merkwald {

namespace {

enum class Kind {
    format_record,
    format_event,
    days_after_date,
    weeks_after_date,
    months_after_date,
    years_after_date,
    full_years_after_date,
    days_before_date,
    weeks_before_date,
    months_before_date,
    years_before_date,
    days_before_event,
    weeks_before_event,
    months_before_event,
    days_text,
    days_text_first,
    sun_rising,
    sun_setting,
    length_of_day,
    length_of_day_long,
    length_of_day_short,
};

struct Placeholder {
    Kind kind;
    std::string_view pattern;  // the format pattern, or for sun times "0".."3" (the event)
};

using Table = std::unordered_map<std::string_view, Placeholder>;

Table make_table() {
    // Suffix and pattern: most dotted forms put a blank behind each point.
    static constexpr std::pair<std::string_view, std::string_view> kFormats[] = {
        {"d", "d"},
        {"dd", "dd"},
        {"ddd", "ddd"},
        {"dddd", "dddd"},
        {"ddddd", "ddddd"},
        {"w", "w"},
        {"ww", "ww"},
        {"m", "m"},
        {"mm", "mm"},
        {"mmm", "mmm"},
        {"mmmm", "mmmm"},
        {"q", "q"},
        {"y", "y"},
        {"yy", "yy"},
        {"yyyy", "yyyy"},
        {"d.m.", "d. m."},
        {"dd.mm.", "dd. mm."},
        {"d.mmm.", "d. mmm."},
        {"d.mmmm", "d. mmmm"},
        {"d.m.yy", "d.m.yy"},
        {"d.m.yyyy", "d. m. yyyy"},
        {"dd.mm.yy", "dd.mm.yy"},
        {"dd.mm.yyyy", "dd. mm. yyyy"},
        {"d.mmm.yy", "d. mmm. yy"},
        {"d.mmm.yyyy", "d. mmm. yyyy"},
        {"d.mmmm.yy", "d. mmmm yy"},
        {"d.mmmm.yyyy", "d. mmmm yyyy"},
    };
    // The keys are views: the prefixed names need storage that outlives the table.
    static const std::vector<std::string> kEventNames = [] {
        std::vector<std::string> names;
        for (const auto& f : kFormats) names.push_back("event_" + std::string(f.first));
        return names;
    }();
    Table t;
    for (std::size_t i = 0; i < std::size(kFormats); ++i) {
        t.emplace(kFormats[i].first, Placeholder{Kind::format_record, kFormats[i].second});
        t.emplace(kEventNames[i], Placeholder{Kind::format_event, kFormats[i].second});
    }
    t.emplace("day", Placeholder{Kind::format_record, "d"});
    t.emplace("long_month", Placeholder{Kind::format_record, "mmmm"});
    const std::pair<std::string_view, Kind> kOthers[] = {
        {"days_after_date", Kind::days_after_date},
        {"weeks_after_date", Kind::weeks_after_date},
        {"months_after_date", Kind::months_after_date},
        {"years_after_date", Kind::years_after_date},
        {"full_years_after_date", Kind::full_years_after_date},
        {"days_before_date", Kind::days_before_date},
        {"weeks_before_date", Kind::weeks_before_date},
        {"months_before_date", Kind::months_before_date},
        {"years_before_date", Kind::years_before_date},
        {"days_before_event", Kind::days_before_event},
        {"weeks_before_event", Kind::weeks_before_event},
        {"months_before_event", Kind::months_before_event},
        {"days_before_event_text", Kind::days_text},
        {"days_before_event_text_first", Kind::days_text_first},
        {"length_of_day", Kind::length_of_day},
        {"length_of_day_long", Kind::length_of_day_long},
        {"length_of_day_short", Kind::length_of_day_short},
    };
    for (const auto& [name, kind] : kOthers) t.emplace(name, Placeholder{kind, {}});
    const std::pair<std::string_view, std::string_view> kSun[] = {
        {"sunrise", "0"}, {"dawn1", "1"}, {"dawn2", "2"}, {"dawn3", "3"}};
    const std::pair<std::string_view, std::string_view> kSunSet[] = {
        {"sunset", "0"}, {"dusk1", "1"}, {"dusk2", "2"}, {"dusk3", "3"}};
    for (const auto& [name, index] : kSun) t.emplace(name, Placeholder{Kind::sun_rising, index});
    for (const auto& [name, index] : kSunSet)
        t.emplace(name, Placeholder{Kind::sun_setting, index});
    return t;
}

const Table& table() {
    static const Table t = make_table();
    return t;
}

// Sundays in (from, to], negative when `to` lies before `from`.
int sundays_between(DaySerial from, DaySerial to) {
    // Serial 1 (31.12.1899) is a Sunday.
    auto week = [](DaySerial day) {
        const int d = day.value();
        return (d - 1 >= 0) ? (d - 1) / 7 : -((1 - d + 6) / 7);
    };
    return week(to) - week(from);
}

int months_between(const Ymd& from, const Ymd& to) {
    return (to.year - from.year) * 12 + to.month - from.month;
}

std::string days_text(int d, bool first) {
    if (d == 0) return first ? "Heute" : "heute";
    if (d == 1) return first ? "Morgen" : "morgen";
    return std::string(first ? "In" : "in") + (d >= 0 ? " " : "") + int_text(d) + " Tagen";
}

std::string two_digits(int v) {
    std::string s(2, '0');
    s[0] = char('0' + v / 10 % 10);
    s[1] = char('0' + v % 10);
    return s;
}

int wrap_day(SunMinutes m) { return ((m % 1440) + 1440) % 1440; }

struct Expander {
    EngineState& state;
    DaySerial record_date;
    DaySerial event_date;

    std::string replacement(const Placeholder& p);
    void compute_sun() { sun_times_home(state.settings.home, record_date, state.sun); }
};

std::string Expander::replacement(const Placeholder& p) {
    const DaySerial today = state.today;
    const Ymd t = ymd_of(today);
    const Ymd r = ymd_of(record_date);
    switch (p.kind) {
        case Kind::format_record:
            return format_date(record_date, p.pattern);
        case Kind::format_event:
            return format_date(event_date, p.pattern);
        case Kind::days_after_date:
            return int_text(today - record_date);
        case Kind::weeks_after_date:
            return int_text(sundays_between(record_date, today));
        case Kind::months_after_date:
            return int_text(months_between(r, t));
        case Kind::years_after_date: {
            const bool past = r.month < t.month || (r.month == t.month && r.day < t.day);
            return int_text(t.year - r.year + (past ? 1 : 0));
        }
        case Kind::full_years_after_date: {
            const bool ahead = r.month > t.month || (r.month == t.month && r.day > t.day);
            return int_text(t.year - r.year - (ahead ? 1 : 0));
        }
        case Kind::days_before_date:
            return int_text(record_date - today);
        case Kind::weeks_before_date:
            return int_text(sundays_between(today, record_date));
        case Kind::months_before_date:
            return int_text(months_between(t, r));
        case Kind::years_before_date:
            return int_text(r.year - t.year);
        case Kind::days_before_event:
            return int_text(days_to_anniversary({.date = record_date, .today = today}));
        case Kind::weeks_before_event:
            if (auto next = next_anniversary({.date = record_date, .today = today}))
                event_date = *next;
            return int_text((event_date - today) / 7);
        case Kind::months_before_event:
            if (auto next = next_anniversary({.date = record_date, .today = today}))
                event_date = *next;
            return int_text(months_between(t, ymd_of(event_date)));
        case Kind::days_text:
        case Kind::days_text_first:
            return days_text(event_date - today, p.kind == Kind::days_text_first);
        case Kind::sun_rising:
        case Kind::sun_setting: {
            compute_sun();
            const auto& times = p.kind == Kind::sun_rising ? state.sun.rising : state.sun.setting;
            return sun_time_text(times[std::size_t(p.pattern[0] - '0')], '.') + " Uhr";
        }
        case Kind::length_of_day:
        case Kind::length_of_day_long:
        case Kind::length_of_day_short: {
            compute_sun();
            const int length = wrap_day(state.sun.setting[0] - state.sun.rising[0]);
            const std::string h = two_digits(length / 60), m = two_digits(length % 60);
            if (p.kind == Kind::length_of_day) return h + ":" + m;
            if (p.kind == Kind::length_of_day_long) return h + " Stunden " + m + " Minuten";
            return h + " h " + m + " min";
        }
    }
    return {};
}

void report_syntax_error(std::string_view text, const TextOrigin& origin, MessageSink& sink) {
    std::string message = "Syntaxfehler in Datei: ";
    message += origin.file;
    message += "\r\nZeile:  ";
    message += int_text(origin.line);
    message += "\r\n";
    message += text;
    sink.show_message(message, MessageIcon::critical);
}

}  // namespace

std::optional<std::size_t> placeholder_syntax_error(std::string_view text) {
    for (std::size_t pos = 0;;) {
        const std::size_t open = text.find('<', pos);
        if (open == std::string_view::npos) return std::nullopt;
        const std::size_t close = text.find('>', pos);
        if (close == std::string_view::npos) return open;
        if (close < open) return close;
        pos = close + 1;
    }
}

int days_to_anniversary(DateSeen seen) {
    const auto next = next_anniversary(seen);
    return next ? *next - seen.today : 0;
}

std::string sun_time_text(SunMinutes minutes, char separator) {
    const int m = wrap_day(minutes);
    std::string s = two_digits(m / 60);
    s += separator;
    s += two_digits(m % 60);
    return s;
}

Expansion expand_placeholders(EngineState& state, std::string_view text, RecordDays days,
                              const TextOrigin& origin, MessageSink& sink) {
    // Text before a handled tag never changes again and holds no bracket, so the
    // output grows from the front instead of rescanning the whole text each round.
    Expander expander{state, days.record, days.event};
    Expansion out;
    out.text.reserve(text.size() + 32);
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = text.find('<', pos);
        if (open == std::string_view::npos) {
            out.text.append(text.substr(pos));
            out.event_date = expander.event_date;
            return out;
        }
        const std::size_t close = text.find('>', pos);
        if (close == std::string_view::npos || close < open) {
            if (!state.syntax_error_switch) report_syntax_error(text, origin, sink);
            return {{}, expander.event_date};
        }
        out.text.append(text.substr(pos, open - pos));
        const auto it = table().find(text.substr(open + 1, close - open - 1));
        if (it != table().end()) out.text.append(trim_blanks(expander.replacement(it->second)));
        pos = close + 1;
    }
}

}  // namespace merkwald
