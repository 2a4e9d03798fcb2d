#pragma once
// The reminder engine's state. `EngineState` lives for the whole program run
// (the working record with its run-long fields, the group and message tables, the
// sun table); `RefreshTables` is rebuilt by every refresh.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calendar/date_serial.h"
#include "calendar/sun.h"
#include "messages.h"

namespace merkwald {

inline constexpr int kMaxShownLines = 998;  // the line counter stops at 999
inline constexpr int kMaxMissed = 1000;
inline constexpr int kMaxFiles = 100;
inline constexpr int kGroupSlots = 11;  // slot 0 is the empty group

// What the engine needs of the settings.
struct EngineSettings {
    std::uint32_t record_color = 0;
    bool groups = true;
    std::string last_start = "01.01.80";  // the `Date` value, "dd.mm.yy"
    HomePlace home;
    bool light = false;  // the light program's reader
};

struct WorkingRecord {
    std::string text;  // every line followed by CRLF
    DaySerial date{};
    bool undated = true;
    int priority = 1;
    bool periodic = false, monthly = false;
    int periodic_repeat = 0;
    int day_of_month = 1;
    int weekday = 1;  // 1 = Sunday
    int active_week = 0;
    int active_after = 0;
    std::string group;
    std::uint32_t color = 0;
    // Run-long: never reset by `<record>`.
    int active_before = 0;
    std::int32_t background = 0;
    // Cleared by `</record>` only.
    bool always = false, once = false;
};

// A date and the today it is looked at from, named: both are days, and swapped
// they give another anniversary without a sign of it.
struct DateSeen {
    DaySerial date;
    DaySerial today;
};

// The anniversaries of every day and month around one today, so that evaluating
// a large file does no calendar arithmetic per record. A cache: it always
// answers what next_anniversary and the missed check would compute, so its
// queries are const.
class AnniversaryTable {
public:
    // The day and month of the date in today's year, or in the next when that is past.
    [[nodiscard]] std::optional<DaySerial> next(DateSeen seen) const;
    // The latest occurrence on or before today.
    [[nodiscard]] std::optional<DaySerial> last(DateSeen seen) const;

private:
    static constexpr DaySerial kNone{-2147483647 - 1};
    void build(DaySerial today) const;
    [[nodiscard]] int slot(DaySerial date) const;
    static std::optional<DaySerial> value(DaySerial s) {
        return s == kNone ? std::nullopt : std::optional<DaySerial>(s);
    }

    mutable DaySerial today_ = kNone;
    // Indexed by month * 32 + day.
    mutable std::array<DaySerial, 13 * 32> previous_{}, current_{}, following_{};
    mutable DaySerial memo_date_ = kNone;
    mutable int memo_slot_ = 0;
};

struct LineEntry {
    std::string text;  // expanded, ends with CRLF (or empty)
    std::uint32_t color = 0;
    std::string group;
    DaySerial sort_date{};
};

struct MissedEntry {
    std::string text;  // unexpanded
    DaySerial date{};
    bool once = false;  // missed on its own date, not on an anniversary
};

// A finished record as the reader hands it over, for callers that evaluate the
// same record on many days.
struct CapturedRecord {
    WorkingRecord record;
    std::string file;
    long long line = 0;  // the line of its `</record>`
};

// Who a birthday or name-day record names and when: what the shipped name
// days need of it. Most records of a large file are birthdays, and a copy of
// the whole record costs more than its reading.
struct PersonRecord {
    std::string text;
    DaySerial date{};
    bool birthday = false;  // else a typed name day
};

struct RefreshTables {
    std::vector<std::string> files;  // the file list; files[0] is entry 1
    std::vector<LineEntry> lines;    // the line counter is lines.size() + 1
    std::vector<MissedEntry> missed;
    bool read_ok = false;
    int failed_files = 0;                   // files whose reading failed in this refresh
    std::vector<std::string> failed_names;  // ... as the file list names them
    // The sort date of the line counter's slot, written while tags are read.
    DaySerial pending_sort_date{};
    std::string current_file;
    long long current_line = 0;
    // Finished records as read, for callers that evaluate them again on other
    // days: not kept, only the people kept beside the evaluation (all the
    // shipped name days need), all kept beside it, or all kept instead of it.
    // Every mode but none keeps the people.
    enum class Capture { none, people, also, only } capture = Capture::none;
    std::vector<CapturedRecord> captured;  // cleared with the other tables
    std::vector<PersonRecord> people;      // ... so are these

    [[nodiscard]] int line_counter() const { return int(lines.size()) + 1; }
    void clear();
};

struct EngineState {
    EngineSettings settings;
    DaySerial today{};
    std::filesystem::path program_folder;  // relative file names resolve here
    std::array<std::string, kGroupSlots> groups{"", "Geburtstage", "Namenstage", "Termine",
                                                "Sonstiges"};
    int group_count = 4;
    std::array<std::string, 2> messages{"Falsches Datum in einem Datensatz, bitte korrigieren",
                                        std::string(kFileNotFound)};
    WorkingRecord record;
    // A lead-days override (>= 0) for one refresh.
    std::optional<int> lead_days;
    // The last successfully read last-start date (serial 0 before any).
    DaySerial last_start{};
    SunTable sun;
    AnniversaryTable anniversaries;
    bool syntax_error_switch = false;  // on: syntax errors are not reported
    bool sound_mark = false;

    // A fresh run: the working record as a `<record>` line leaves it.
    EngineState(EngineSettings s, DaySerial today_, std::filesystem::path folder = {});
    [[nodiscard]] std::filesystem::path resolve(const std::string& file_name) const;
};

// A file name as the program keeps it (UTF-8) as a path; a relative one is taken
// relative to `folder`.
[[nodiscard]] std::filesystem::path resolve_file_name(const std::filesystem::path& folder,
                                                      const std::string& name);

}  // namespace merkwald
