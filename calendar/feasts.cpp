#include "feasts.h"

#include <string_view>

namespace merkwald {

namespace {

constexpr int kSunday = 1;
constexpr int kWednesday = 4;

// No range check: Easter and the feasts are asked for years the serial range
// does not guard (the church year runs a week into the next year).
DaySerial serial_of(int y, unsigned m, unsigned d) {
    using namespace std::chrono;
    return to_serial(sys_days{year{y} / month{m} / day{d}});
}

DaySerial forward_to(DaySerial day, int wanted_weekday) {
    while (weekday(day) != wanted_weekday) ++day;
    return day;
}

DaySerial back_to(DaySerial day, int wanted_weekday) {
    while (weekday(day) != wanted_weekday) --day;
    return day;
}

void fill_fixed_days(FeastTable& t, int y) {
    t.new_year = serial_of(y, 1, 1);
    t.epiphany = serial_of(y, 1, 6);
    t.valentines_day = serial_of(y, 2, 14);
    t.may_day = serial_of(y, 5, 1);
    t.assumption = serial_of(y, 8, 15);
    t.harvest_festival = forward_to(serial_of(y, 10, 1), kSunday);
    t.german_unity = serial_of(y, 10, 3);
    t.all_saints = serial_of(y, 11, 1);
    t.st_barbara = serial_of(y, 12, 4);
    t.st_nicholas = serial_of(y, 12, 6);
    t.christmas_eve = serial_of(y, 12, 24);
    t.christmas_day = serial_of(y, 12, 25);
    t.boxing_day = serial_of(y, 12, 26);
    t.new_years_eve = serial_of(y, 12, 31);
}

void fill_easter_days(FeastTable& t, int y) {
    const DaySerial easter = easter_date(y);
    t.ash_wednesday = back_to(easter - 40, kWednesday);
    t.palm_sunday = easter - 7;
    t.maundy_thursday = easter - 3;
    t.good_friday = easter - 2;
    t.easter_sunday = easter;
    t.easter_monday = easter + 1;
    t.white_sunday = easter + 7;
    t.ascension = easter + 39;
    t.whit_sunday = easter + 49;
    t.whit_monday = easter + 50;
    t.corpus_christi = easter + 60;
}

// The fourth Sunday is searched first: Advent counts back from Christmas.
void fill_advent(FeastTable& t, int y) {
    const DaySerial fourth = back_to(serial_of(y, 12, 24), kSunday);
    t.advent1 = fourth - 21;
    t.advent2 = t.advent1 + 7;
    t.advent3 = t.advent1 + 14;
    t.advent4 = t.advent1 + 21;
    t.repentance_day = back_to(t.advent1, kWednesday) - 7;
}

void fill_church_year(FeastTable& t, int y) {
    const DaySerial easter = t.easter_sunday;
    t.sunday_after_new_year = forward_to(serial_of(y, 1, 1), kSunday);

    t.epiphany_sundays[0] = easter - 70;
    t.epiphany_sundays[1] = forward_to(serial_of(y, 1, 7), kSunday);
    for (std::size_t i = 2; i < t.epiphany_sundays.size(); ++i)
        t.epiphany_sundays[i] = t.epiphany_sundays[i - 1] + 7;
    t.epiphany_count = 0;
    for (std::size_t i = 1; i < t.epiphany_sundays.size(); ++i)
        if (t.epiphany_sundays[i] < t.epiphany_sundays[0]) t.epiphany_count = int(i);

    t.septuagesima = easter - 63;
    t.sexagesima = easter - 56;
    t.estomihi = easter - 49;
    t.invocavit = easter - 42;
    t.reminiscere = easter - 35;
    t.oculi = easter - 28;
    t.laetare = easter - 21;
    t.judica = easter - 14;
    t.quasimodogeniti = easter + 7;
    t.misericordias_domini = easter + 14;
    t.jubilate = easter + 21;
    t.cantate = easter + 28;
    t.rogate = easter + 35;
    t.exaudi = easter + 42;

    t.third_last_sunday = t.advent1 - 21;
    t.second_last_sunday = t.advent1 - 14;
    t.last_sunday = t.advent1 - 7;
    t.sunday_after_christmas = t.advent4 + 7;

    t.trinity_count = 0;
    for (std::size_t i = 0; i < t.trinity_sundays.size(); ++i) {
        t.trinity_sundays[i] = t.whit_sunday + 7 + 7 * int(i);
        if (t.trinity_sundays[i] < t.third_last_sunday) t.trinity_count = int(i);
    }
}

struct LookupEntry {
    std::string_view name;
    DaySerial FeastTable::*day;
};

// Later entries win: "Heiliger Abend" over "4. Advent", "Valentinstag" over
// "Aschermittwoch", "Nikolaustag" over "2. Advent".
constexpr LookupEntry kLookup[] = {
    {"Aschermittwoch", &FeastTable::ash_wednesday},
    {"Neujahr", &FeastTable::new_year},
    {"Dreikönigstag", &FeastTable::epiphany},
    {"Maifeiertag", &FeastTable::may_day},
    {"Maria Himmelfahrt", &FeastTable::assumption},
    {"1. Advent", &FeastTable::advent1},
    {"2. Advent", &FeastTable::advent2},
    {"3. Advent", &FeastTable::advent3},
    {"4. Advent", &FeastTable::advent4},
    {"Heiliger Abend", &FeastTable::christmas_eve},
    {"Buss und Bettag", &FeastTable::repentance_day},
    {"Sylvester", &FeastTable::new_years_eve},
    {"Allerheiligen", &FeastTable::all_saints},
    {"Tag der deutschen Einheit", &FeastTable::german_unity},
    {"Valentinstag", &FeastTable::valentines_day},
    {"Palmsonntag", &FeastTable::palm_sunday},
    {"Karfreitag", &FeastTable::good_friday},
    {"Ostersonntag", &FeastTable::easter_sunday},
    {"Ostermontag", &FeastTable::easter_monday},
    {"Weisser Sonntag", &FeastTable::white_sunday},
    {"Christi Himmelfahrt", &FeastTable::ascension},
    {"Pfingstsonntag", &FeastTable::whit_sunday},
    {"Pfingstmontag", &FeastTable::whit_monday},
    {"Fronleichnam", &FeastTable::corpus_christi},
    {"1. Weihnachtsfeiertag", &FeastTable::christmas_day},
    {"2. Weihnachtsfeiertag", &FeastTable::boxing_day},
    {"Nikolaustag", &FeastTable::st_nicholas},
    {"Barbaratag", &FeastTable::st_barbara},
};

}  // namespace

DaySerial easter_date(int year) {
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int n = h + l - 7 * m + 22;
    if (n > 31) return serial_of(year, 4, unsigned(n - 31));
    return serial_of(year, 3, unsigned(n));
}

FeastTable calc_feast_dates(int year) {
    FeastTable t;
    t.year = year;
    fill_fixed_days(t, year);
    fill_easter_days(t, year);
    fill_advent(t, year);
    fill_church_year(t, year);
    return t;
}

std::string holiday_name(DaySerial day) {
    const FeastTable t = calc_feast_dates(ymd_of(day).year);
    std::string_view name;
    for (const LookupEntry& entry : kLookup)
        if (t.*entry.day == day) name = entry.name;
    return std::string(name);
}

}  // namespace merkwald
