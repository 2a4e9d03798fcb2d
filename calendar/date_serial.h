#pragma once
// Date serials: whole days since 30 December 1899 (serial 0), the day count the
// reminder files, settings and all calendar code share. std::chrono::sys_days
// is the hub every conversion goes through.

#include <chrono>
#include <optional>

namespace merkwald {

using DaySerial = int;

// Serial of 1 January 1970, the sys_days epoch.
inline constexpr int kSysDaysOffset = 25569;
// The calendar range every date computation stays inside; outside it a date
// computation fails (the callers skip the step, as for any failed date arithmetic).
inline constexpr int kMinYear = 100;
inline constexpr int kMaxYear = 9999;

struct Ymd {
    int year;
    int month;  // [1, 12]
    int day;    // [1, 31]
    friend bool operator==(const Ymd&, const Ymd&) = default;
};

[[nodiscard]] constexpr DaySerial to_serial(std::chrono::sys_days d) {
    return d.time_since_epoch().count() + kSysDaysOffset;
}
[[nodiscard]] constexpr std::chrono::sys_days to_sys_days(DaySerial s) {
    return std::chrono::sys_days{std::chrono::days{s - kSysDaysOffset}};
}

[[nodiscard]] Ymd ymd_of(DaySerial s);
// Exact date: nullopt when the day does not exist or the year is out of range.
[[nodiscard]] std::optional<DaySerial> make_date(int year, int month, int day);
// Like a calendar counter: month 13 is January of the next year, month 0 December
// of the previous one, a day beyond the month's end runs into the next month, day
// 0 is the last day of the previous month. nullopt when the result is out of range.
[[nodiscard]] std::optional<DaySerial> roll_date(int year, int month, int day);
// Months added with the day clamped to the target month's last day (31 January
// plus one month is 28 or 29 February).
[[nodiscard]] std::optional<DaySerial> add_months(DaySerial s, int months);
// 1 = Sunday ... 7 = Saturday.
[[nodiscard]] int weekday(DaySerial s);
// [1, 366]
[[nodiscard]] int day_of_year(DaySerial s);
[[nodiscard]] bool in_range(DaySerial s);

}  // namespace merkwald
