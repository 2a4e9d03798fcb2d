// The legal days off per state, against the published table for 2019-2026.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

// The table's columns beyond the nine days every state keeps.
const std::map<std::string, std::set<std::string>> kExtraDays{
    {"BW", {"Heilige Drei Könige", "Fronleichnam", "Allerheiligen"}},
    {"BY", {"Heilige Drei Könige", "Fronleichnam", "Allerheiligen"}},
    {"BE", {"Internationaler Frauentag"}},
    {"BB", {"Ostersonntag", "Pfingstsonntag", "Reformationstag"}},
    {"HB", {"Reformationstag"}},
    {"HH", {"Reformationstag"}},
    {"HE", {"Fronleichnam"}},
    {"MV", {"Reformationstag"}},  // Frauentag from 2023, below
    {"NI", {"Reformationstag"}},
    {"NW", {"Fronleichnam", "Allerheiligen"}},
    {"RP", {"Fronleichnam", "Allerheiligen"}},
    {"SL", {"Fronleichnam", "Mariä Himmelfahrt", "Allerheiligen"}},
    {"SN", {"Reformationstag", "Buß- und Bettag"}},
    {"ST", {"Heilige Drei Könige", "Reformationstag"}},
    {"SH", {"Reformationstag"}},
    {"TH", {"Weltkindertag", "Reformationstag"}},
};

using Day = std::pair<DaySerial, std::string>;

std::set<Day> expected(const YearDates& y, const std::string& code) {
    const auto day = [&](int m, int d) { return *make_date(y.year, m, d); };
    const DaySerial easter = day(y.easter_month, y.easter_day);
    std::set<std::string> extra = kExtraDays.at(code);
    if (code == "MV" && y.year >= 2023) extra.insert("Internationaler Frauentag");
    if (code == "BE" && (y.year == 2020 || y.year == 2025)) extra.insert("Tag der Befreiung");
    const std::map<std::string, DaySerial> all{
        {"Neujahr", day(1, 1)},
        {"Heilige Drei Könige", day(1, 6)},
        {"Internationaler Frauentag", day(3, 8)},
        {"Karfreitag", easter - 2},
        {"Ostersonntag", easter},
        {"Ostermontag", easter + 1},
        {"Tag der Arbeit", day(5, 1)},
        {"Tag der Befreiung", day(5, 8)},
        {"Christi Himmelfahrt", easter + 39},
        {"Pfingstsonntag", easter + 49},
        {"Pfingstmontag", easter + 50},
        {"Fronleichnam", easter + 60},
        {"Mariä Himmelfahrt", day(8, 15)},
        {"Weltkindertag", day(9, 20)},
        {"Tag der Deutschen Einheit", day(10, 3)},
        {"Reformationstag", day(10, 31)},
        {"Allerheiligen", day(11, 1)},
        {"Buß- und Bettag", day(11, y.repentance_day)},
        {"1. Weihnachtsfeiertag", day(12, 25)},
        {"2. Weihnachtsfeiertag", day(12, 26)},
    };
    const std::string everywhere =
        "|Neujahr|Karfreitag|Ostermontag|Tag der Arbeit|Christi Himmelfahrt|Pfingstmontag|"
        "Tag der Deutschen Einheit|1. Weihnachtsfeiertag|2. Weihnachtsfeiertag|";
    std::set<Day> out;
    for (const auto& [name, date] : all)
        if (everywhere.find("|" + name + "|") != std::string::npos || extra.contains(name))
            out.emplace(date, name);
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
                                       [](auto& a, auto& b) { return a.day < b.day; }));
            for (const LegalHoliday& h : list) got.emplace(h.day, std::string(h.name));
            EXPECT_EQ(got, expected(y, code)) << code << ' ' << y.year;
        }
    }
}

TEST(StateHolidays, CodesAndLookup) {
    EXPECT_EQ(state_from_code("BY"), State::BY);
    EXPECT_EQ(state_from_code("nw"), State::NW);
    EXPECT_EQ(state_from_code("DE-TH"), State::TH);
    EXPECT_EQ(state_from_code("XX"), std::nullopt);
    EXPECT_EQ(state_name(State::TH), "Thüringen");
    EXPECT_EQ(legal_holiday_name(*make_date(2026, 6, 4), State::BY), "Fronleichnam");
    EXPECT_EQ(legal_holiday_name(*make_date(2018, 3, 8), State::BE), "");  // before the law
    EXPECT_EQ(legal_holiday_name(*make_date(2017, 10, 31), State::BY), "Reformationstag");
    EXPECT_EQ(legal_holiday_name(*make_date(1994, 11, 16), State::HE), "Buß- und Bettag");
    EXPECT_EQ(legal_holiday_lines(2026, State::SL)[6], "Fronleichnam: Donnerstag, 4. Juni");
}

}  // namespace
}  // namespace merkwald
