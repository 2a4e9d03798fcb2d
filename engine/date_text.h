#pragma once
// German date parsing and the date/time format patterns.

#include <optional>
#include <string>
#include <string_view>

#include "calendar/date_serial.h"

namespace merkwald {

// Accepts, with blanks around: d.m.yyyy, dd.mm.yyyy, d.m.yy, dd.mm.yy, yyyy-mm-dd
// (and single-digit day/month in the ISO form). Two-digit years 00-29 are
// 2000-2029, 30-99 are 1930-1999. Impossible dates and anything else: nullopt.
[[nodiscard]] std::optional<DaySerial> parse_date(std::string_view text);

// A date as typed into a date field: besides what parse_date reads, six or
// eight digits without dots (ddmmyy, ddmmyyyy) get their dots, so "07031970"
// is "07.03.1970"; anything else stays as typed. Files keep parse_date's forms.
[[nodiscard]] std::string typed_date_text(std::string_view text);

// A local date and time; seconds in [0, 86400).
struct DateTime {
    DaySerial day{};
    int second_of_day = 0;
};

// Formats with the patterns of the system's date formatting:
//   d dd ddd dddd ddddd  day, abbreviated / full weekday, short date dd.mm.yyyy
//   m mm mmm mmmm        month, abbreviated / full month name (minutes right after h/hh)
//   yy yyyy y            year, day of year
//   w ww q               weekday (Sunday = 1), week of the year (Sunday first, first
//                        week with four days; late December stays in the old year), quarter
//   h hh n nn s ss       hours, minutes, seconds
// Every other character is copied as it stands. Names are German.
[[nodiscard]] std::string format_datetime(DateTime t, std::string_view pattern);
[[nodiscard]] inline std::string format_date(DaySerial d, std::string_view pattern) {
    return format_datetime({d, 0}, pattern);
}

// Week of the year, weeks Sunday to Saturday, week 1 the first with at least four
// days in the year; the days before it belong to the previous year's last week.
[[nodiscard]] int week_sunday_first(DaySerial d);
// ISO 8601 week number (Monday first).
[[nodiscard]] int iso_week(DaySerial d);

[[nodiscard]] std::string_view month_name(int month);        // "Januar" ... (1-12)
[[nodiscard]] std::string_view month_abbrev(int month);      // "Jan" ... "Mär" ... "Dez"
[[nodiscard]] std::string_view weekday_name(int weekday);    // 1 = "Sonntag"
[[nodiscard]] std::string_view weekday_abbrev(int weekday);  // 1 = "So"

}  // namespace merkwald
