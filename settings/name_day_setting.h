#pragma once
// The setting "Namenstage anzeigen" and the shipped name-day table as the
// programs read it: from the installation, like the program's other own files.

#include <QString>
#include <array>
#include <string_view>

#include "engine/name_days.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace merkwald {

inline constexpr std::string_view kNameDaysValue = "Namenstage";

struct NameDayChoiceText {
    NameDayChoice choice;
    std::string_view text;  // stored and shown alike
};
inline constexpr std::array<NameDayChoiceText, 3> kNameDayChoices{{
    {NameDayChoice::none, "keine"},
    {NameDayChoice::own_people, "meiner Leute"},
    {NameDayChoice::all, "alle"},
}};

// A stored text the program does not know shows none.
[[nodiscard]] NameDayChoice name_day_choice(const Settings& settings);
[[nodiscard]] std::string_view name_day_choice_text(NameDayChoice choice);

// A store that holds no choice and on which the full program never started (no
// `Version`) is a new one: it shows the name days of the user's own people. An
// older store keeps showing none until the user chooses. True when `settings`
// changed (the caller may store the value).
bool choose_new_store_name_days(const SettingsStore& store, Settings& settings);

// The table from the installation's data folder (see program_file). A table
// that cannot be read adds nothing.
[[nodiscard]] NameDayTable read_shipped_name_days(const QString& program_folder);

// The shipped name days the settings ask for, added to a refresh whose records
// were captured.
void add_shipped_name_days(EngineState& state, RefreshTables& tables, const Settings& settings,
                           const QString& program_folder, MessageSink& sink);

}  // namespace merkwald
