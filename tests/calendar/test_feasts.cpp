// The calendar's days: Easter and the feasts, the legal days off per state and the
// serial numbers beneath them.

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

#include "calendar/date_serial.h"
#include "calendar/feasts.h"
#include "calendar/state_holidays.h"
#include "calendar_test_support.h"

namespace merkwald {
namespace {

using test::date;

// Knuth's epact method (TAOCP 1.3.2, Algorithm E): golden number, solar and lunar
// corrections and the epact, an independent route to the same Sunday.
DaySerial easter_by_epact(int year) {
    const int golden = year % 19 + 1;
    const int century = year / 100 + 1;
    const int solar = 3 * century / 4 - 12;
    const int lunar = (8 * century + 5) / 25 - 5;
    const int sunday = 5 * year / 4 - solar - 10;
    int epact = (11 * golden + 20 + lunar - solar) % 30;
    if ((epact == 25 && golden > 11) || epact == 24) ++epact;
    int n = 44 - epact;
    if (n < 21) n += 30;
    n = n + 7 - (sunday + n) % 7;
    return n > 31 ? date(year, 4, n - 31) : date(year, 3, n);
}

std::size_t count_containing(const std::vector<std::string>& lines, const std::string& part) {
    return std::size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(part) != std::string::npos;
    }));
}

TEST(Easter, AgreesWithTheEpactMethodFrom1583To4099) {
    for (int year = 1583; year <= 4099; ++year) {
        ASSERT_EQ(easter_by_epact(year), easter_date(year)) << year;
    }
}

// Every year of the lists: the movable feasts, the Advent Sundays, the counted
// Sundays and the church-year lines they make.
TEST(FeastTable, EveryListYear) {
    for (int year = kFirstListYear; year <= kLastListYear; ++year) {
        const FeastTable t = calc_feast_dates(year);
        ASSERT_EQ(easter_date(year) - 46, t.ash_wednesday) << year;
        ASSERT_EQ(1, weekday(t.advent4)) << year;
        ASSERT_TRUE(t.advent4 >= date(year, 12, 18) && t.advent4 <= date(year, 12, 24)) << year;
        ASSERT_EQ(1, weekday(t.harvest_festival)) << year;
        ASSERT_TRUE(t.harvest_festival >= date(year, 10, 1) &&
                    t.harvest_festival <= date(year, 10, 7))
            << year;
        ASSERT_TRUE(t.epiphany_count >= 0 && t.epiphany_count <= 5) << year;
        ASSERT_TRUE(t.trinity_count >= 19 && t.trinity_count <= 24) << year;
        // The last numbered Sunday after Trinity is the one right before the third-last.
        ASSERT_EQ(t.third_last_sunday - 7, t.trinity_sundays[std::size_t(t.trinity_count)]);
        const std::size_t optional = (t.sunday_after_new_year < date(year, 1, 6) ? 1 : 0) +
                                     (t.sunday_after_christmas > date(year, 12, 26) ? 1 : 0);
        const auto lines = church_year_lines(year);
        ASSERT_EQ(44 + optional + std::size_t(t.epiphany_count + t.trinity_count), lines.size())
            << year;
        ASSERT_EQ(std::size_t(t.trinity_count), count_containing(lines, ". Sonntag nach Trin"));
        ASSERT_EQ(std::size_t(t.epiphany_count), count_containing(lines, ". Sonntag nach Epiph"));
        ASSERT_EQ(28u, holiday_list_lines(year).size()) << year;
    }
    for (int year : {0, 1900, 2099, 9999}) {
        EXPECT_TRUE(holiday_list_lines(year).empty() && church_year_lines(year).empty()) << year;
    }
}

TEST(HolidayName, LookupOrder) {
    // Comments name what else falls on the day.
    const std::tuple<int, int, int, const char*> rows[] = {
        {2008, 5, 1, "Christi Himmelfahrt"},  // May Day
        {2018, 2, 14, "Valentinstag"},        // Ash Wednesday
        {2009, 12, 6, "Nikolaustag"},         // Advent 2
        {1999, 4, 1, ""},                     // Maundy Thursday: not looked up
    };
    for (const auto& [y, m, d, name] : rows)
        EXPECT_EQ(name, holiday_name(date(y, m, d))) << d << '.' << m << '.' << y;
}

// Feasts sharing a day keep their order; the Sundays after Epiphany run up to Septuagesima.
TEST(FeastLines, SampleLines) {
    const auto y2008 = holiday_list_lines(2008);
    const auto c1999 = church_year_lines(1999), c2000 = church_year_lines(2000);
    const std::tuple<const std::vector<std::string>&, std::size_t, const char*> rows[] = {
        {y2008, 10, "Maifeiertag: Donnerstag, 1. Mai"},
        {y2008, 11, "Christi Himmelfahrt: Donnerstag, 1. Mai"},
        {c2000, 8, "Letzter Sonntag nach Epiphanias: Sonntag, 13. Februar"},
        {c2000, 9, "Septuagesimä: Sonntag, 20. Februar"}};
    for (const auto& [lines, at, line] : rows) EXPECT_EQ(line, lines.at(at)) << at;
    const auto last =
        std::find(c1999.begin(), c1999.end(), "22. Sonntag nach Trinitatis: Sonntag, 31. Oktober");
    ASSERT_NE(c1999.end(), last);
    EXPECT_EQ("Maria Himmelfahrt: Sonntag, 15. August", *(last + 1));
}

// The Sundays after Christmas appear only when they fall on their own days; an
// early Easter leaves no Sunday after Epiphany.
TEST(ChurchYear, OptionalSundays) {
    const std::pair<int, const char*> absent[] = {
        {2008, "zweiter Sonntag"},                  // 6 January is a Sunday
        {2005, "erster Sonntag nach Weihnachten"},  // Christmas Day
        {2004, "erster Sonntag nach Weihnachten"},  // Boxing Day
        {1913, ". Sonntag nach Epiphanias"}};
    for (const auto& [year, part] : absent)
        EXPECT_EQ(0u, count_containing(church_year_lines(year), part)) << year << part;
    // 1 January on a Sunday is listed as the second Sunday after Christmas.
    EXPECT_EQ("zweiter Sonntag nach Weihnachten: Sonntag, 1. Januar", church_year_lines(2006)[1]);
    EXPECT_EQ(1u, count_containing(church_year_lines(2008),
                                   "Letzter Sonntag nach Epiphanias: Sonntag, 13. Januar"));
}

// The legal days off per state, against the published table for 2019-2026.

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
    {"Buß- und Bettag", 11, 0, "SN"},  // the Wednesday before 23 November
    {"1. Weihnachtsfeiertag", 12, 25, "*"},
    {"2. Weihnachtsfeiertag", 12, 26, "*"},
};

using Day = std::pair<DaySerial, std::string>;

std::set<Day> expected(int year, const std::string& code) {
    const DaySerial easter = easter_by_epact(year);
    const int repentance_day = 22 - (weekday(date(year, 11, 22)) + 3) % 7;
    std::set<Day> out;
    for (const Holiday& h : kTable) {
        std::string states(h.states);
        if (h.name == "Internationaler Frauentag" && year >= 2023) states += " MV";
        if (h.name == "Tag der Befreiung" && (year == 2020 || year == 2025)) states = "BE";
        if (states != "*" && (" " + states + " ").find(" " + code + " ") == std::string::npos)
            continue;
        const int day = h.month == 11 && h.day == 0 ? repentance_day : h.day;
        out.emplace(h.month ? date(year, h.month, day) : easter + h.day, h.name);
    }
    return out;
}

TEST(StateHolidays, MatchThePublishedTable) {
    for (int year = 2019; year <= 2026; ++year) {
        for (int i = 0; i < kStateCount; ++i) {
            const State state = State(i);
            const std::string code(state_code(state));
            std::set<Day> got;
            const auto list = legal_holidays(year, state);
            EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                                       [](auto& a, auto& b) { return a.day < b.day; }))
                << code << ' ' << year;
            for (const LegalHoliday& h : list) got.emplace(h.day, std::string(h.name));
            EXPECT_EQ(got, expected(year, code)) << code << ' ' << year;
        }
    }
}

TEST(StateHolidays, CodesAndLookup) {
    EXPECT_EQ(legal_holiday_name(*make_date(2018, 3, 8), State::BE), "");  // before the law
    EXPECT_EQ(legal_holiday_name(*make_date(2017, 10, 31), State::BY), "Reformationstag");
    EXPECT_EQ(legal_holiday_name(*make_date(1994, 11, 16), State::HE), "Buß- und Bettag");
    EXPECT_EQ(legal_holiday_lines(2026, State::SL)[6], "Fronleichnam: Donnerstag, 4. Juni");
}

using Serial = std::optional<DaySerial>;

// Every day of the lists, against a calendar stepped by hand from a known serial.
TEST(DateSerial, EveryDayRoundTrips) {
    const DaySerial first = make_date(1901, 1, 1).value();
    const DaySerial last = make_date(2098, 12, 31).value();
    Ymd expected{1901, 1, 1};
    int expected_weekday = 3;  // 1 January 1901 was a Tuesday
    for (DaySerial s = first; s <= last; ++s) {
        const Ymd d = ymd_of(s);
        ASSERT_EQ(d, expected) << s;
        ASSERT_EQ(make_date(d.year, d.month, d.day), Serial(s));
        ASSERT_EQ(weekday(s), expected_weekday) << s;
        ASSERT_EQ(roll_date(d.year, d.month, d.day), Serial(s));
        ASSERT_EQ(day_of_year(s), s - make_date(d.year, 1, 1).value() + 1) << s;
        expected_weekday = expected_weekday % 7 + 1;
        const bool leap = expected.year % 4 == 0;  // exact for 1901-2098
        const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (++expected.day > lengths[expected.month - 1]) {
            expected.day = 1;
            if (++expected.month > 12) expected = {expected.year + 1, 1, 1};
        }
    }
}

// make_date takes real dates only; roll_date runs over into the next fields,
// as far as the calendar and the numbers reach.
TEST(DateSerial, MakeDateRejectsAndRollDateRunsOver) {
    const Ymd bad[] = {{1900, 2, 29}, {1999, 4, 31}, {1999, 13, 1},
                       {1999, 1, 0},  {99, 12, 31},  {10000, 1, 1}};
    for (const Ymd& d : bad) EXPECT_EQ(make_date(d.year, d.month, d.day), std::nullopt) << d;
    EXPECT_TRUE(make_date(2000, 2, 29) && in_range(*make_date(9999, 12, 31)));
    EXPECT_FALSE(in_range(*make_date(100, 1, 1) - 1));
    EXPECT_FALSE(in_range(*make_date(9999, 12, 31) + 1));

    const std::pair<Ymd, Ymd> rows[] = {{{1999, 2, 29}, {1999, 3, 1}},
                                        {{1999, 3, 0}, {1999, 2, 28}},
                                        {{1999, -12, 1}, {1997, 12, 1}},
                                        {{1999, 1, 366}, {2000, 1, 1}},
                                        {{1999, 1, -30}, {1998, 12, 1}}};
    for (const auto& [r, e] : rows)
        EXPECT_EQ(roll_date(r.year, r.month, r.day), make_date(e.year, e.month, e.day)) << r;
    constexpr int kMax = 2147483647;
    constexpr int kMin = -kMax - 1;
    const Ymd out_of_range[] = {{9999, 12, 32},  {100, 1, 0},     {1999, 1, kMax},
                                {1999, 1, kMin}, {1999, kMin, 1}, {kMax, kMax, 1}};
    for (const Ymd& r : out_of_range)
        EXPECT_EQ(roll_date(r.year, r.month, r.day), std::nullopt) << r;
}

TEST(DateSerial, AddMonthsClampsTheDay) {
    EXPECT_EQ(add_months(*make_date(2000, 1, 31), 1), make_date(2000, 2, 29));
    EXPECT_EQ(add_months(*make_date(2000, 2, 29), 12), make_date(2001, 2, 28));
    EXPECT_EQ(add_months(*make_date(100, 1, 1), -1), std::nullopt);
    EXPECT_EQ(add_months(*make_date(9999, 12, 1), 2147483647), std::nullopt);
}

}  // namespace
}  // namespace merkwald
