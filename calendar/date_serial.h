#pragma once
// Date serials: whole days since 30 December 1899 (serial 0), the day count the
// reminder files, settings and all calendar code share. std::chrono::sys_days
// is the hub every conversion goes through.

#include <chrono>
#include <compare>
#include <iosfwd>
#include <optional>

namespace merkwald {

// A day: whole days since 30 December 1899 (serial 0). Built from a number
// only on purpose; days are added and taken away, two days give the days
// between them, and days are ordered. Nothing else an int could do applies.
class DaySerial {
public:
    constexpr DaySerial() = default;
    constexpr explicit DaySerial(int serial) : serial_(serial) {}
    [[nodiscard]] constexpr int value() const { return serial_; }

    constexpr DaySerial& operator+=(int days) {
        serial_ += days;
        return *this;
    }
    constexpr DaySerial& operator-=(int days) {
        serial_ -= days;
        return *this;
    }
    constexpr DaySerial& operator++() { return *this += 1; }
    constexpr DaySerial& operator--() { return *this -= 1; }
    constexpr DaySerial operator++(int) {
        const DaySerial before = *this;
        ++*this;
        return before;
    }
    constexpr DaySerial operator--(int) {
        const DaySerial before = *this;
        --*this;
        return before;
    }
    [[nodiscard]] friend constexpr DaySerial operator+(DaySerial day, int days) {
        return day += days;
    }
    [[nodiscard]] friend constexpr DaySerial operator-(DaySerial day, int days) {
        return day -= days;
    }
    // The days from `from` to `to`, positive when `to` is later.
    [[nodiscard]] friend constexpr int operator-(DaySerial to, DaySerial from) {
        return to.serial_ - from.serial_;
    }
    friend constexpr auto operator<=>(DaySerial, DaySerial) = default;

private:
    int serial_ = 0;
};

// As its number, for test messages and the like.
std::ostream& operator<<(std::ostream& out, DaySerial day);

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
    return DaySerial(d.time_since_epoch().count() + kSysDaysOffset);
}
[[nodiscard]] constexpr std::chrono::sys_days to_sys_days(DaySerial s) {
    return std::chrono::sys_days{std::chrono::days{s.value() - kSysDaysOffset}};
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
