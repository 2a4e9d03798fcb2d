#include "date_serial.h"

#include <algorithm>
#include <ostream>

namespace merkwald {

using namespace std::chrono;

namespace {
constexpr DaySerial kMinSerial = to_serial(sys_days{year{kMinYear} / January / 1});
constexpr DaySerial kMaxSerial = to_serial(sys_days{year{kMaxYear} / December / 31});
}  // namespace

std::ostream& operator<<(std::ostream& out, DaySerial day) { return out << day.value(); }

bool in_range(DaySerial s) { return s >= kMinSerial && s <= kMaxSerial; }

Ymd ymd_of(DaySerial s) {
    const year_month_day d{to_sys_days(s)};
    return {int(d.year()), int(unsigned(d.month())), int(unsigned(d.day()))};
}

std::optional<DaySerial> make_date(int y, int m, int d) {
    if (y < kMinYear || y > kMaxYear || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    const year_month_day date{year{y}, month{unsigned(m)}, day{unsigned(d)}};
    if (!date.ok()) return std::nullopt;
    return to_serial(sys_days{date});
}

std::optional<DaySerial> roll_date(int y, int m, int d) {
    // Normalise the month first, then count the days from the first of that month.
    const long months = long(y) * 12 + (long(m) - 1);
    long ny = months >= 0 ? months / 12 : -((-months + 11) / 12);
    const long nm = months - ny * 12 + 1;
    if (ny < kMinYear - 1 || ny > kMaxYear + 1) return std::nullopt;
    const sys_days first{year{int(ny)} / month{unsigned(nm)} / 1};
    // Wide arithmetic: a day far beyond the month must fail, not wrap around.
    const long long s = static_cast<long long>(to_serial(first).value()) + d - 1;
    if (s < kMinSerial.value() || s > kMaxSerial.value()) return std::nullopt;
    return DaySerial(static_cast<int>(s));
}

std::optional<DaySerial> add_months(DaySerial s, int n) {
    const Ymd d = ymd_of(s);
    const long months = long(d.year) * 12 + (d.month - 1) + n;
    if (months < long(kMinYear) * 12 || months > long(kMaxYear) * 12 + 11) return std::nullopt;
    const int ny = int(months / 12);
    const unsigned nm = unsigned(months % 12) + 1;
    const year_month_day_last last{year{ny} / month{nm} / std::chrono::last};
    const unsigned nd = std::min(unsigned(d.day), unsigned(last.day()));
    return to_serial(sys_days{year{ny} / month{nm} / day{nd}});
}

int weekday(DaySerial s) { return int(std::chrono::weekday{to_sys_days(s)}.c_encoding()) + 1; }

int day_of_year(DaySerial s) {
    const Ymd d = ymd_of(s);
    return s - to_serial(sys_days{year{d.year} / January / 1}) + 1;
}

}  // namespace merkwald
