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
    DaySerial new_year{};
    DaySerial epiphany{};
    DaySerial valentines_day{};
    DaySerial ash_wednesday{};
    DaySerial palm_sunday{};
    DaySerial maundy_thursday{};
    DaySerial good_friday{};
    DaySerial easter_sunday{};
    DaySerial easter_monday{};
    DaySerial white_sunday{};
    DaySerial may_day{};
    DaySerial ascension{};
    DaySerial whit_sunday{};
    DaySerial whit_monday{};
    DaySerial corpus_christi{};
    DaySerial assumption{};
    DaySerial harvest_festival{};
    DaySerial german_unity{};
    DaySerial all_saints{};
    DaySerial repentance_day{};
    DaySerial advent1{};
    DaySerial advent2{};
    DaySerial advent3{};
    DaySerial advent4{};
    DaySerial st_barbara{};
    DaySerial st_nicholas{};
    DaySerial christmas_eve{};
    DaySerial christmas_day{};
    DaySerial boxing_day{};
    DaySerial new_years_eve{};

    // The Protestant church year.
    DaySerial sunday_after_new_year{};
    // Entry 0 is the last Sunday after Epiphany (Easter - 70), entries 1-10 the
    // Sundays from 7 January on.
    std::array<DaySerial, 11> epiphany_sundays{};
    int epiphany_count = 0;  // [0, 10]; 0-5 for 1901-2098
    DaySerial septuagesima{};
    DaySerial sexagesima{};
    DaySerial estomihi{};
    DaySerial invocavit{};
    DaySerial reminiscere{};
    DaySerial oculi{};
    DaySerial laetare{};
    DaySerial judica{};
    DaySerial quasimodogeniti{};
    DaySerial misericordias_domini{};
    DaySerial jubilate{};
    DaySerial cantate{};
    DaySerial rogate{};
    DaySerial exaudi{};
    // Entry 0 is Trinity Sunday, entry i the i-th Sunday after it.
    std::array<DaySerial, 41> trinity_sundays{};
    int trinity_count = 0;  // [0, 40]; 19-24 for 1901-2098
    DaySerial third_last_sunday{};
    DaySerial second_last_sunday{};
    DaySerial last_sunday{};  // Ewigkeitssonntag
    DaySerial sunday_after_christmas{};
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
