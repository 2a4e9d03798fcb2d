// The legal days off per state, against the published table for 2019-2026.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "calendar/state_holidays.h"

namespace merkwald {
namespace {

// Published dates: Easter Sunday and Buß- und Bettag of each year.
struct YearDates {
    int year;
    int easter_month, easter_day;
    int repentance_day;  // in November
};
constexpr YearDates kYears[] = {
    {2019, 4, 21, 20}, {2020, 4, 12, 18}, {2021, 4, 4, 17},  {2022, 4, 17, 16},
    {2023, 4, 9, 22},  {2024, 3, 31, 20}, {2025, 4, 20, 19}, {2026, 4, 5, 18},
};

// The table's rows: the day as month and day, or as days after Easter Sunday
// (month 0), and the states that keep it ("*": every state).
struct Holiday {
    std::string_view name;
    int month, day;
    std::string_view states;
};
constexpr Holiday kTable[] = {
    {"Neujahr", 1, 1, "*"},
    {"Heilige Drei Könige", 1, 6, "BW BY ST"},
    {"Internationaler Frauentag", 3, 8, "BE"},  // MV from 2023, below
    {"Karfreitag", 0, -2, "*"},
    {"Ostersonntag", 0, 0, "BB"},
    {"Ostermontag", 0, 1, "*"},
    {"Tag der Arbeit", 5, 1, "*"},
    {"Tag der Befreiung", 5, 8, ""},  // BE in 2020 and 2025, below
    {"Christi Himmelfahrt", 0, 39, "*"},
    {"Pfingstsonntag", 0, 49, "BB"},
    {"Pfingstmontag", 0, 50, "*"},
    {"Fronleichnam", 0, 60, "BW BY HE NW RP SL"},
    {"Mariä Himmelfahrt", 8, 15, "SL"},
    {"Weltkindertag", 9, 20, "TH"},
    {"Tag der Deutschen Einheit", 10, 3, "*"},
    {"Reformationstag", 10, 31, "BB HB HH MV NI SN ST SH TH"},
    {"Allerheiligen", 11, 1, "BW BY NW RP SL"},
    {"Buß- und Bettag", 11, 0, "SN"},  // the day from kYears
    {"1. Weihnachtsfeiertag", 12, 25, "*"},
    {"2. Weihnachtsfeiertag", 12, 26, "*"},
};

using Day = std::pair<DaySerial, std::string>;

std::set<Day> expected(const YearDates& y, const std::string& code) {
    const DaySerial easter = *make_date(y.year, y.easter_month, y.easter_day);
    std::set<Day> out;
    for (const Holiday& h : kTable) {
        std::string states(h.states);
        if (h.name == "Internationaler Frauentag" && y.year >= 2023) states += " MV";
        if (h.name == "Tag der Befreiung" && (y.year == 2020 || y.year == 2025)) states = "BE";
        if (states != "*" && (" " + states + " ").find(" " + code + " ") == std::string::npos)
            continue;
        const int day = h.month == 11 && h.day == 0 ? y.repentance_day : h.day;
        out.emplace(h.month ? *make_date(y.year, h.month, day) : easter + h.day, h.name);
    }
    return out;
}

TEST(StateHolidays, MatchThePublishedTable) {
    for (const YearDates& y : kYears) {
        for (int i = 0; i < kStateCount; ++i) {
            const State state = State(i);
            const std::string code(state_code(state));
            std::set<Day> got;
            const auto list = legal_holidays(y.year, state);
            EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                                       [](auto& a, auto& b) { return a.day < b.day; }))
                << code << ' ' << y.year;
            for (const LegalHoliday& h : list) got.emplace(h.day, std::string(h.name));
            EXPECT_EQ(got, expected(y, code)) << code << ' ' << y.year;
        }
    }
}

TEST(StateHolidays, CodesAndLookup) {
    EXPECT_EQ(state_from_code("nw"), State::NW);
    EXPECT_EQ(state_from_code("DE-TH"), State::TH);
    EXPECT_EQ(state_from_code("XX"), std::nullopt);
    EXPECT_EQ(legal_holiday_name(*make_date(2018, 3, 8), State::BE), "");  // before the law
    EXPECT_EQ(legal_holiday_name(*make_date(2017, 10, 31), State::BY), "Reformationstag");
    EXPECT_EQ(legal_holiday_name(*make_date(1994, 11, 16), State::HE), "Buß- und Bettag");
    EXPECT_EQ(legal_holiday_lines(2026, State::SL)[6], "Fronleichnam: Donnerstag, 4. Juni");
}

}  // namespace
}  // namespace merkwald
