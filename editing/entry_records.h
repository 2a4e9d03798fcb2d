#pragma once
// The file work of the birthday and appointment entry and of the birthday
// import: the lines of one record, appending them to a reminder file, and the
// dialogs' presets in the settings.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/record_file.h"
#include "editing/templates.h"
#include "engine/safe_rewrite.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace merkwald {

enum class EntryKind { birthday, appointment };

inline constexpr std::string_view kBadEntryDate = "Kein oder Falsches Datum";

// How every record of one dialog looks apart from its date and text.
struct RecordStyle {
    std::int32_t color = 0;
    std::int32_t record_color = 0;  // the default: no colour line for it
    std::string lead_time;          // the lead time field's text
};

// The template's text before, the name and the text after, one blank between
// each. A line break in the name would split the record's text line; it
// becomes a blank.
[[nodiscard]] std::string template_line(const TextTemplate& text, std::string_view name);

// `<record>` ... `</record>` of one entry; `date` is written as given.
[[nodiscard]] std::vector<std::string> entry_record_lines(EntryKind kind, std::string_view date,
                                                          const RecordStyle& style,
                                                          std::string_view text_line);

struct EntryInput {
    std::string name;            // or the appointment text
    std::string date;            // as typed
    int template_position = -1;  // in the dialog's list; -1: nothing selected
    RecordStyle style;
};

enum class EntryCheck { ok, no_name, bad_date, bad_field };

struct SaveOutcome {
    EntryCheck check = EntryCheck::ok;
    WriteOutcome write;   // only when the check passed
    std::string problem;  // bad_date, bad_field: what to show
};

inline constexpr std::string_view kFutureBirthday = "Falsches Datum";

// A birthday lies in the past: a two-digit year that would put it after today
// means the century before. nullopt for no date, or a date after today.
[[nodiscard]] std::optional<DaySerial> birthday_date(std::string_view text, DaySerial today);

// The lead time and the record's text line as the reader will read them back;
// a message naming the field when not.
[[nodiscard]] std::optional<std::string> check_entry_fields(const RecordStyle& style,
                                                            std::string_view text_line);

[[nodiscard]] std::string_view no_name_message(EntryKind kind);

// One Save of the entry dialogs: checks the name and the date, then appends an
// empty line, the record with the date written "dd.mm.yyyy", and an empty line.
// A birthday is checked against `today`.
[[nodiscard]] SaveOutcome save_entry(EntryKind kind, const std::filesystem::path& target,
                                     const EntryInput& input,
                                     const std::vector<TextTemplate>& templates, DaySerial today,
                                     Utf8Change utf8 = Utf8Change::allowed);

// What an entry dialog (or the import) opens with and hands back on closing.
struct EntryPresets {
    std::string lead_time;
    std::int32_t color = 0;
    int template_position = 0;  // in the list, counted from 0; -1 nothing selected
};

[[nodiscard]] EntryPresets entry_presets(const Settings& settings, EntryKind kind,
                                         int template_count);
// Into the settings record and the store ("DaysBefore", the colour and the
// template position of the kind).
void store_entry_presets(Settings& settings, SettingsStore& store, EntryKind kind,
                         const EntryPresets& presets);

// A number as the status texts and stored positions show it: a leading blank
// stands where a negative number has its sign (" 3", "-1").
[[nodiscard]] std::string signed_text(long long value);

}  // namespace merkwald
