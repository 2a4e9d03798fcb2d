#pragma once
// The record editor's field values and what loading and writing a record does
// with them, apart from any window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date_serial.h"
#include "editing/reminder_document.h"

namespace merkwald {

enum class RecordMode { always, yearly, once, monthly, periodic };

inline constexpr int kDayOfMonth = 0;  // day selector: "des Monats"; 1..7 Sunday..Saturday
inline constexpr int kNoDay = -1;      // day selector emptied
inline constexpr std::string_view kNoGroup = "keine";

struct RecordFields {
    std::optional<RecordMode> mode;  // none selected yet: every field is on
    std::string date;
    std::string lead_time;
    std::string period;
    std::string ordinal;
    int day_selector = kDayOfMonth;
    std::string group{kNoGroup};
    std::int32_t color = 0;
    std::string text;  // lines separated by "\n"
    friend bool operator==(const RecordFields&, const RecordFields&) = default;
};

// The presets the editor leaves for the next record.
struct RecordPresets {
    std::optional<std::string> days_before;  // none: an "immer" record keeps the preset
    std::int32_t pref_group = 0;             // position in the group list
};

// A field's text kept while its mode switches it off.
struct RememberedTexts {
    std::string lead_time, period, ordinal, date;
    int day_selector = kNoDay;
    friend bool operator==(const RememberedTexts&, const RememberedTexts&) = default;
};

struct EnabledFields {
    bool lead_time = true, period = true, monthly = true, date = true;
};
[[nodiscard]] EnabledFields enabled_fields(std::optional<RecordMode> mode);

// Switching a field off remembers its text and empties it; switching an empty
// field on brings its remembered text back. Selecting the current mode again
// changes nothing.
void select_mode(RecordFields& fields, RememberedTexts& memory, RecordMode mode);

// The presets of a freshly opened editor: lead time `days_before`, ordinal "1",
// group list position `pref_group` when it is one (0 is "keine").
[[nodiscard]] RecordFields initial_fields(const std::string& days_before,
                                          std::optional<std::int32_t> pref_group,
                                          const std::vector<std::string>& groups,
                                          std::int32_t record_color);

// Prepares the fields for a new record (mode "jährlich", empty date).
void start_new_record(RecordFields& fields, RememberedTexts& memory, std::int32_t record_color);

// Reads the record that `bounds` names from the document's lines into the fields.
void load_record_lines(const ReminderDocument& doc, const RecordBounds& bounds,
                       const std::vector<std::string>& groups, std::int32_t record_color,
                       RecordFields& fields, RememberedTexts& memory);

// A date as the tools write it: "dd.mm.yyyy", the year always with four digits.
[[nodiscard]] std::string written_date(DaySerial date);

// A valid date as "dd.mm.yyyy", anything else as "".
[[nodiscard]] std::string prepare_date(std::string_view date_field);

// The record's lines from `<record>` to `</record>`, without line ends.
[[nodiscard]] std::vector<std::string> write_record(const RecordFields& fields,
                                                    std::string_view prepared_date,
                                                    std::int32_t record_color);

// The group list: "keine", then the group table's names.
[[nodiscard]] std::vector<std::string> group_list(const std::vector<std::string>& groups);

}  // namespace merkwald
