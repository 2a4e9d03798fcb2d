// The texts of the holiday list and the church-year list.

#include <initializer_list>
#include <span>
#include <string_view>

#include "feasts.h"

namespace merkwald {

namespace {

// The calendar stays free of the engine's date formatter; these lists need
// nothing but the full German names.
constexpr std::string_view kMonthNames[] = {"Januar",    "Februar", "März",     "April",
                                            "Mai",       "Juni",    "Juli",     "August",
                                            "September", "Oktober", "November", "Dezember"};
constexpr std::string_view kWeekdayNames[] = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                              "Donnerstag", "Freitag", "Samstag"};

struct Line {
    std::string_view label;
    DaySerial FeastTable::*day;
};

// Runs of lines that both lists show in the same order.
constexpr Line kHolyWeek[] = {
    {"Palmsonntag: ", &FeastTable::palm_sunday},
    {"Gründonnerstag: ", &FeastTable::maundy_thursday},
    {"Karfreitag: ", &FeastTable::good_friday},
    {"Ostersonntag: ", &FeastTable::easter_sunday},
    {"Ostermontag: ", &FeastTable::easter_monday},
};
constexpr Line kWhitsun[] = {
    {"Pfingstsonntag: ", &FeastTable::whit_sunday},
    {"Pfingstmontag: ", &FeastTable::whit_monday},
};
constexpr Line kLateSummer[] = {
    {"Maria Himmelfahrt: ", &FeastTable::assumption},
    {"Erntedank: ", &FeastTable::harvest_festival},
    {"Tag der dt. Einheit: ", &FeastTable::german_unity},
    {"Allerheiligen: ", &FeastTable::all_saints},
};
constexpr Line kRepentance[] = {{"Buß- und Bettag: ", &FeastTable::repentance_day}};
constexpr Line kAdventToChristmas[] = {
    {"1. Advent: ", &FeastTable::advent1},
    {"2. Advent: ", &FeastTable::advent2},
    {"3. Advent: ", &FeastTable::advent3},
    {"4. Advent: ", &FeastTable::advent4},
    {"Hl. Abend: ", &FeastTable::christmas_eve},
    {"1. Weihnachtstfeiertag: ", &FeastTable::christmas_day},
    {"2. Weihnachtstfeiertag: ", &FeastTable::boxing_day},
};
constexpr Line kNewYearsEve[] = {{"Sylvester: ", &FeastTable::new_years_eve}};

// Holiday list only.
constexpr Line kWinter[] = {
    {"Neujahr: ", &FeastTable::new_year},
    {"Hl. 3 Könige: ", &FeastTable::epiphany},
    {"Valentinstag: ", &FeastTable::valentines_day},
    {"Aschermittwoch: ", &FeastTable::ash_wednesday},
};
constexpr Line kSpring[] = {
    {"Weißer Sonntag: ", &FeastTable::white_sunday},
    {"Maifeiertag: ", &FeastTable::may_day},
    {"Christi Himmelfahrt: ", &FeastTable::ascension},
};
constexpr Line kCorpusChristi[] = {{"Fronleichnam: ", &FeastTable::corpus_christi}};

// Church-year list only.
constexpr Line kLent[] = {
    {"Septuagesimä: ", &FeastTable::septuagesima},
    {"Sexagesimä: ", &FeastTable::sexagesima},
    {"Estomihi: ", &FeastTable::estomihi},
    {"Aschermittwoch: ", &FeastTable::ash_wednesday},
    {"Invokavit: ", &FeastTable::invocavit},
    {"Reminiscere: ", &FeastTable::reminiscere},
    {"Okuli: ", &FeastTable::oculi},
    {"Laetare: ", &FeastTable::laetare},
    {"Judika: ", &FeastTable::judica},
};
constexpr Line kEastertide[] = {
    {"Quasimodogeniti: ", &FeastTable::quasimodogeniti},
    {"Misericordias Domini: ", &FeastTable::misericordias_domini},
    {"Jubilate: ", &FeastTable::jubilate},
    {"Kantate: ", &FeastTable::cantate},
    {"Rogate: ", &FeastTable::rogate},
    {"Christi Himmelfahrt: ", &FeastTable::ascension},
    {"Exaudi: ", &FeastTable::exaudi},
};
constexpr Line kEndOfChurchYear[] = {
    {"Drittletzter Sonntag im Kirchenjahr: ", &FeastTable::third_last_sunday},
    {"Vorletzter Sonntag im Kirchenjahr: ", &FeastTable::second_last_sunday},
    {"Buß- und Bettag: ", &FeastTable::repentance_day},
    {"Ewigkeitssonntag: ", &FeastTable::last_sunday},
};

std::string dated(std::string_view label, DaySerial day) {
    std::string line(label);
    line += feast_date_text(day);
    return line;
}

void add_lines(std::vector<std::string>& out, const FeastTable& t,
               std::initializer_list<std::span<const Line>> runs) {
    for (const auto run : runs)
        for (const Line& l : run) out.push_back(dated(l.label, t.*l.day));
}

void add_numbered(std::vector<std::string>& out, int count, std::string_view label,
                  const DaySerial* days) {
    for (int i = 1; i <= count; ++i)
        out.push_back(std::to_string(i) + std::string(label) + feast_date_text(days[i]));
}

}  // namespace

std::string feast_date_text(DaySerial day) {
    const Ymd d = ymd_of(day);
    std::string text(kWeekdayNames[weekday(day) - 1]);
    text += ", ";
    text += std::to_string(d.day);
    text += ". ";
    text += kMonthNames[d.month - 1];
    return text;
}

std::vector<std::string> holiday_list_lines(int year) {
    std::vector<std::string> out;
    if (!in_list_range(year)) return out;
    add_lines(out, calc_feast_dates(year),
              {kWinter, kHolyWeek, kSpring, kWhitsun, kCorpusChristi, kLateSummer, kRepentance,
               kAdventToChristmas, kNewYearsEve});
    return out;
}

std::vector<std::string> church_year_lines(int year) {
    std::vector<std::string> out;
    if (!in_list_range(year)) return out;
    const FeastTable t = calc_feast_dates(year);
    out.push_back(dated("Neujahr: ", t.new_year));
    if (t.sunday_after_new_year < t.epiphany)
        out.push_back(dated("zweiter Sonntag nach Weihnachten: ", t.sunday_after_new_year));
    out.push_back(dated("Epiphanias (Hl. 3 Könige): ", t.epiphany));
    add_numbered(out, t.epiphany_count, ". Sonntag nach Epiphanias: ", t.epiphany_sundays.data());
    out.push_back(dated("Letzter Sonntag nach Epiphanias: ", t.epiphany_sundays[0]));
    add_lines(out, t, {kLent, kHolyWeek, kEastertide, kWhitsun});
    out.push_back(dated("Trinitatis: ", t.trinity_sundays[0]));
    out.push_back(dated("Fronleichnam: ", t.corpus_christi));
    add_numbered(out, t.trinity_count, ". Sonntag nach Trinitatis: ", t.trinity_sundays.data());
    add_lines(out, t, {kLateSummer, kEndOfChurchYear, kAdventToChristmas});
    if (t.sunday_after_christmas > t.boxing_day)
        out.push_back(dated("erster Sonntag nach Weihnachten: ", t.sunday_after_christmas));
    add_lines(out, t, {kNewYearsEve});
    return out;
}

}  // namespace merkwald
