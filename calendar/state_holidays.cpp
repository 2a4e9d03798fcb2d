#include "state_holidays.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "feasts.h"

namespace merkwald {

namespace {

struct StateText {
    std::string_view code, name;
};

constexpr std::array<StateText, kStateCount> kStates{{
    {"BW", "Baden-Württemberg"},
    {"BY", "Bayern"},
    {"BE", "Berlin"},
    {"BB", "Brandenburg"},
    {"HB", "Bremen"},
    {"HH", "Hamburg"},
    {"HE", "Hessen"},
    {"MV", "Mecklenburg-Vorpommern"},
    {"NI", "Niedersachsen"},
    {"NW", "Nordrhein-Westfalen"},
    {"RP", "Rheinland-Pfalz"},
    {"SL", "Saarland"},
    {"SN", "Sachsen"},
    {"ST", "Sachsen-Anhalt"},
    {"SH", "Schleswig-Holstein"},
    {"TH", "Thüringen"},
}};

bool one_of(State s, std::initializer_list<State> states) {
    return std::find(states.begin(), states.end(), s) != states.end();
}

// Reformationstag: the East since 1990, the North since 2018, everyone in 2017.
bool keeps_reformation_day(int year, State s) {
    using enum State;
    if (year == 2017) return true;
    if (one_of(s, {BB, MV, SN, ST, TH})) return year >= 1990;
    return one_of(s, {HB, HH, NI, SH}) && year >= 2018;
}

// Buß- und Bettag was a day off everywhere until 1994; Saxony kept it.
bool keeps_repentance_day(int year, State s) { return year <= 1994 || s == State::SN; }

bool keeps_womens_day(int year, State s) {
    return (s == State::BE && year >= 2019) || (s == State::MV && year >= 2023);
}

void add_movable(std::vector<LegalHoliday>& out, const FeastTable& t, State s) {
    using enum State;
    out.push_back({t.good_friday, "Karfreitag"});
    if (s == BB) out.push_back({t.easter_sunday, "Ostersonntag"});
    out.push_back({t.easter_monday, "Ostermontag"});
    out.push_back({t.ascension, "Christi Himmelfahrt"});
    if (s == BB) out.push_back({t.whit_sunday, "Pfingstsonntag"});
    out.push_back({t.whit_monday, "Pfingstmontag"});
    if (one_of(s, {BW, BY, HE, NW, RP, SL})) out.push_back({t.corpus_christi, "Fronleichnam"});
    if (keeps_repentance_day(t.year, s)) out.push_back({t.repentance_day, "Buß- und Bettag"});
}

void add_fixed(std::vector<LegalHoliday>& out, const FeastTable& t, State s) {
    using enum State;
    const int y = t.year;
    const auto day = [y](int m, int d) { return *make_date(y, m, d); };
    out.push_back({t.new_year, "Neujahr"});
    if (one_of(s, {BW, BY, ST})) out.push_back({t.epiphany, "Heilige Drei Könige"});
    if (keeps_womens_day(y, s)) out.push_back({day(3, 8), "Internationaler Frauentag"});
    out.push_back({t.may_day, "Tag der Arbeit"});
    // Berlin's anniversaries of the end of the war in Europe, 75 and 80 years on.
    if (s == BE && (y == 2020 || y == 2025)) out.push_back({day(5, 8), "Tag der Befreiung"});
    if (s == SL) out.push_back({t.assumption, "Mariä Himmelfahrt"});
    if (s == TH && y >= 2019) out.push_back({day(9, 20), "Weltkindertag"});
    if (y >= 1990) out.push_back({t.german_unity, "Tag der Deutschen Einheit"});
    if (keeps_reformation_day(y, s)) out.push_back({day(10, 31), "Reformationstag"});
    if (one_of(s, {BW, BY, NW, RP, SL})) out.push_back({t.all_saints, "Allerheiligen"});
    out.push_back({t.christmas_day, "1. Weihnachtsfeiertag"});
    out.push_back({t.boxing_day, "2. Weihnachtsfeiertag"});
}

}  // namespace

std::optional<State> state_from_code(std::string_view code) {
    if (code.size() == 5 && (code[0] == 'D' || code[0] == 'd') &&
        (code[1] == 'E' || code[1] == 'e') && code[2] == '-')
        code.remove_prefix(3);
    if (code.size() != 2) return std::nullopt;
    const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
    const std::string wanted{upper(code[0]), upper(code[1])};
    for (std::size_t i = 0; i < kStates.size(); ++i)
        if (kStates[i].code == wanted) return State(i);
    return std::nullopt;
}

std::string_view state_code(State state) { return kStates[std::size_t(state)].code; }
std::string_view state_name(State state) { return kStates[std::size_t(state)].name; }

std::vector<LegalHoliday> legal_holidays(int year, State state) {
    const FeastTable t = calc_feast_dates(year);
    std::vector<LegalHoliday> out;
    add_fixed(out, t, state);
    add_movable(out, t, state);
    std::stable_sort(out.begin(), out.end(),
                     [](const LegalHoliday& a, const LegalHoliday& b) { return a.day < b.day; });
    return out;
}

std::string legal_holiday_name(DaySerial day, State state) {
    for (const LegalHoliday& h : legal_holidays(ymd_of(day).year, state))
        if (h.day == day) return std::string(h.name);
    return {};
}

std::vector<std::string> legal_holiday_lines(int year, State state) {
    std::vector<std::string> lines;
    if (!in_list_range(year)) return lines;
    for (const LegalHoliday& h : legal_holidays(year, state))
        lines.push_back(std::string(h.name) + ": " + feast_date_text(h.day));
    return lines;
}

}  // namespace merkwald
