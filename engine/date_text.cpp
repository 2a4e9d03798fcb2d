#include "engine/date_text.h"

#include <algorithm>
#include <array>

#include "engine/number.h"

namespace merkwald {

using namespace std::chrono;

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "Januar", "Februar", "M\u00e4rz", "April",   "Mai",      "Juni",
    "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
constexpr std::array<std::string_view, 12> kMonthAbbrevs = {
    "Jan", "Feb", "M\u00e4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
constexpr std::array<std::string_view, 7> kWeekdayAbbrevs = {"So", "Mo", "Di", "Mi",
                                                             "Do", "Fr", "Sa"};

[[nodiscard]] constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits at `pos`; returns how many, with their value in `value`.
int read_digits(std::string_view s, std::size_t& pos, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < s.size() && is_digit(s[pos]) && pos - start < 5) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
    }
    return static_cast<int>(pos - start);
}

// Two-digit years fall into 1930-2029.
[[nodiscard]] constexpr int widen_year(int yy) { return yy < 30 ? 2000 + yy : 1900 + yy; }

// The first Sunday of week 1 of `y`: the Sunday on or before 1 January when that week
// has at least four days in the year (1 January a Sunday to Wednesday), else the next one.
[[nodiscard]] sys_days first_week_start(int y) {
    const sys_days jan1{year{y} / January / 1};
    const sys_days sunday = jan1 - (std::chrono::weekday{jan1} - Sunday);
    return (jan1 - sunday).count() <= 3 ? sunday : sunday + days{7};
}

void append_two_digits(std::string& out, int v) {
    out += static_cast<char>('0' + v / 10 % 10);
    out += static_cast<char>('0' + v % 10);
}

void append_number(std::string& out, int v, int width) {
    if (width == 2 && v >= 0 && v < 100) {
        append_two_digits(out, v);
    } else {
        out += int_text(v);
    }
}

// The longest token of letter `c` that fits a run of `run` letters; 0 for no token letter.
[[nodiscard]] int token_length(char c, int run) {
    int longest = 0;
    switch (c) {
        case 'd':
            longest = 5;
            break;
        case 'm':
        case 'y':
            longest = 4;
            break;
        case 'w':
        case 'h':
        case 'n':
        case 's':
            longest = 2;
            break;
        case 'q':
            longest = 1;
            break;
        default:
            return 0;
    }
    if (c == 'y' && run == 3) return 2;  // no three-letter year: "yy" then "y"
    return run < longest ? run : longest;
}

struct Fields {
    DaySerial serial;
    Ymd date;
    int hour, minute, second;
};

void append_day_token(std::string& out, const Fields& f, int len) {
    switch (len) {
        case 1:
            append_number(out, f.date.day, 1);
            break;
        case 2:
            append_two_digits(out, f.date.day);
            break;
        case 3:
            out += weekday_abbrev(weekday(f.serial));
            break;
        case 4:
            out += weekday_name(weekday(f.serial));
            break;
        default:
            append_two_digits(out, f.date.day);
            out += '.';
            append_two_digits(out, f.date.month);
            out += '.';
            out += int_text(f.date.year);
    }
}

void append_token(std::string& out, const Fields& f, char c, int len, bool minute_context) {
    switch (c) {
        case 'd':
            append_day_token(out, f, len);
            break;
        case 'm':
            if (len <= 2) {
                append_number(out, minute_context ? f.minute : f.date.month, len);
            } else {
                out += len == 3 ? month_abbrev(f.date.month) : month_name(f.date.month);
            }
            break;
        case 'y':
            if (len == 1) append_number(out, day_of_year(f.serial), 1);
            if (len == 2) append_two_digits(out, (f.date.year % 100 + 100) % 100);
            if (len == 4) out += int_text(f.date.year);
            break;
        case 'w':
            append_number(out, len == 1 ? weekday(f.serial) : week_sunday_first(f.serial), 1);
            break;
        case 'q':
            append_number(out, (f.date.month + 2) / 3, 1);
            break;
        case 'h':
            append_number(out, f.hour, len);
            break;
        case 'n':
            append_number(out, f.minute, len);
            break;
        default:
            append_number(out, f.second, len);
            break;
    }
}

}  // namespace

std::string_view month_name(int m) { return m >= 1 && m <= 12 ? kMonthNames[m - 1] : ""; }
std::string_view month_abbrev(int m) { return m >= 1 && m <= 12 ? kMonthAbbrevs[m - 1] : ""; }
std::string_view weekday_name(int w) { return w >= 1 && w <= 7 ? kWeekdayNames[w - 1] : ""; }
std::string_view weekday_abbrev(int w) { return w >= 1 && w <= 7 ? kWeekdayAbbrevs[w - 1] : ""; }

std::optional<DaySerial> parse_date(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::size_t end = text.size();
    while (end > pos && text[end - 1] == ' ') --end;
    const std::string_view s = text.substr(0, end);
    int a = 0, b = 0, c = 0;
    const int len_a = read_digits(s, pos, a);
    if (len_a == 0 || pos >= s.size()) return std::nullopt;
    const char sep = s[pos++];
    if (sep != '.' && sep != '-') return std::nullopt;
    const int len_b = read_digits(s, pos, b);
    if (len_b < 1 || len_b > 2 || pos >= s.size() || s[pos++] != sep) return std::nullopt;
    const int len_c = read_digits(s, pos, c);
    if (pos != s.size()) return std::nullopt;
    if (sep == '-') {
        if (len_a != 4 || len_c < 1 || len_c > 2) return std::nullopt;
        return make_date(a, b, c);
    }
    if (len_a > 2) return std::nullopt;
    if (len_c == 2) return make_date(widen_year(c), b, a);
    if (len_c == 4) return make_date(c, b, a);
    return std::nullopt;
}

std::string typed_date_text(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    const std::string_view digits = text.substr(begin, end - begin);
    const bool all_digits = !digits.empty() && std::all_of(digits.begin(), digits.end(), is_digit);
    if (!all_digits || (digits.size() != 6 && digits.size() != 8)) return std::string(text);
    std::string dotted(digits.substr(0, 2));
    dotted += '.';
    dotted += digits.substr(2, 2);
    dotted += '.';
    dotted += digits.substr(4);
    return dotted;
}

std::string format_datetime(DateTime t, std::string_view pattern) {
    const int secs = (t.second_of_day % 86400 + 86400) % 86400;
    const Fields f{t.day, ymd_of(t.day), secs / 3600, secs / 60 % 60, secs % 60};
    std::string out;
    out.reserve(pattern.size() + 16);
    bool after_hour = false;  // "m" and "mm" right after an hour token are minutes
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        const int len = token_length(c, static_cast<int>(run));
        if (len == 0) {
            out += c;
            ++i;
            continue;
        }
        append_token(out, f, c, len, after_hour);
        after_hour = c == 'h';
        i += static_cast<std::size_t>(len);
    }
    return out;
}

int week_sunday_first(DaySerial d) {
    const sys_days day = to_sys_days(d);
    const int y = int(year_month_day{day}.year());
    sys_days start = first_week_start(y);
    if (day < start) start = first_week_start(y - 1);
    return static_cast<int>((day - start).count() / 7) + 1;
}

int iso_week(DaySerial d) {
    const sys_days day = to_sys_days(d);
    // The ISO week belongs to the year of its Thursday.
    const sys_days thursday = day - (std::chrono::weekday{day} - Monday) + days{3};
    const year y = year_month_day{thursday}.year();
    return static_cast<int>((thursday - sys_days{y / January / 1}).count() / 7) + 1;
}

}  // namespace merkwald
