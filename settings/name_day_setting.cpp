#include "settings/name_day_setting.h"

#include "settings/program_folder.h"
#include "settings/qt_bridges.h"

namespace merkwald {

NameDayChoice name_day_choice(const Settings& settings) {
    for (const auto& [choice, text] : kNameDayChoices) {
        if (settings.name_days == text) return choice;
    }
    return NameDayChoice::none;
}

std::string_view name_day_choice_text(NameDayChoice choice) {
    for (const auto& row : kNameDayChoices) {
        if (row.choice == choice) return row.text;
    }
    return kNameDayChoices[0].text;
}

bool choose_new_store_name_days(const SettingsStore& store, Settings& settings) {
    StoreValue stored;
    if (settings.version || store.query_value(kMainKey, kNameDaysValue, stored)) return false;
    settings.name_days = std::string(name_day_choice_text(NameDayChoice::own_people));
    return true;
}

NameDayTable read_shipped_name_days(const QString& program_folder) {
    const QString file = program_file(program_folder, to_qstring(kNameDayFileName));
    auto parse = read_name_day_table(to_path(file));
    return parse ? std::move(parse->table) : NameDayTable{};
}

void add_shipped_name_days(EngineState& state, RefreshTables& tables, const Settings& settings,
                           const QString& program_folder, MessageSink& sink) {
    const NameDayChoice choice = name_day_choice(settings);
    if (choice == NameDayChoice::none) return;
    add_name_days(state, tables, read_shipped_name_days(program_folder), choice, sink);
}

}  // namespace merkwald
