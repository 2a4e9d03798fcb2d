#pragma once
// Easter and the German holidays and church feasts derived from it.

#include <array>
#include <string>
#include <vector>

#include "date_serial.h"

namespace merkwald {

// Gauss's rule as a whole-number computation; the year is not range-checked.
[[nodiscard]] DaySerial easter_date(int year);

// Every holiday and church-year date of one year.
struct FeastTable {
    int year = 0;
    DaySerial new_year = 0;
    DaySerial epiphany = 0;
    DaySerial valentines_day = 0;
    DaySerial ash_wednesday = 0;
    DaySerial palm_sunday = 0;
    DaySerial maundy_thursday = 0;
    DaySerial good_friday = 0;
    DaySerial easter_sunday = 0;
    DaySerial easter_monday = 0;
    DaySerial white_sunday = 0;
    DaySerial may_day = 0;
    DaySerial ascension = 0;
    DaySerial whit_sunday = 0;
    DaySerial whit_monday = 0;
    DaySerial corpus_christi = 0;
    DaySerial assumption = 0;
    DaySerial harvest_festival = 0;
    DaySerial german_unity = 0;
    DaySerial all_saints = 0;
    DaySerial repentance_day = 0;
    DaySerial advent1 = 0;
    DaySerial advent2 = 0;
    DaySerial advent3 = 0;
    DaySerial advent4 = 0;
    DaySerial st_barbara = 0;
    DaySerial st_nicholas = 0;
    DaySerial christmas_eve = 0;
    DaySerial christmas_day = 0;
    DaySerial boxing_day = 0;
    DaySerial new_years_eve = 0;

    // The Protestant church year.
    DaySerial sunday_after_new_year = 0;
    // Entry 0 is the last Sunday after Epiphany (Easter - 70), entries 1-10 the
    // Sundays from 7 January on.
    std::array<DaySerial, 11> epiphany_sundays{};
    int epiphany_count = 0;  // [0, 10]; 0-5 for 1901-2098
    DaySerial septuagesima = 0;
    DaySerial sexagesima = 0;
    DaySerial estomihi = 0;
    DaySerial invocavit = 0;
    DaySerial reminiscere = 0;
    DaySerial oculi = 0;
    DaySerial laetare = 0;
    DaySerial judica = 0;
    DaySerial quasimodogeniti = 0;
    DaySerial misericordias_domini = 0;
    DaySerial jubilate = 0;
    DaySerial cantate = 0;
    DaySerial rogate = 0;
    DaySerial exaudi = 0;
    // Entry 0 is Trinity Sunday, entry i the i-th Sunday after it.
    std::array<DaySerial, 41> trinity_sundays{};
    int trinity_count = 0;  // [0, 40]; 19-24 for 1901-2098
    DaySerial third_last_sunday = 0;
    DaySerial second_last_sunday = 0;
    DaySerial last_sunday = 0;  // Ewigkeitssonntag
    DaySerial sunday_after_christmas = 0;
};

[[nodiscard]] FeastTable calc_feast_dates(int year);

// The name the list heading appends for `day` (later matches of the lookup order
// win), or an empty string.
[[nodiscard]] std::string holiday_name(DaySerial day);

// The years the holiday and church-year lists cover.
inline constexpr int kFirstListYear = 1901;
inline constexpr int kLastListYear = 2098;
[[nodiscard]] constexpr bool in_list_range(int year) {
    return year >= kFirstListYear && year <= kLastListYear;
}

// "Freitag, 1. Januar": the date pattern "dddd, d. mmmm" with German names.
[[nodiscard]] std::string feast_date_text(DaySerial day);

// The lines of the holiday list (28) and of the church-year list, each a label and
// a date; empty for a year outside [kFirstListYear, kLastListYear].
[[nodiscard]] std::vector<std::string> holiday_list_lines(int year);
[[nodiscard]] std::vector<std::string> church_year_lines(int year);

}  // namespace merkwald
