#include "settings/settings_schema.h"

#include <QtGlobal>

namespace merkwald::schema {
namespace {

#ifdef Q_OS_WIN
constexpr std::string_view kDefaultEditor = "c:\\windows\\notepad.exe";
#else
// Opens the data file in whatever the desktop uses for text.
constexpr std::string_view kDefaultEditor = "xdg-open";
#endif

using enum Kind;
using enum Fallback;
using enum Writer;
using S = Settings;

// The coordinate and `Diff to GMT` defaults are the default place.
const Entry kEntries[] = {
    {"DataFilename", text, &S::data_filename, program_file, "beispiel.rmd", options_dialog},
    {"EditorFilename", text, &S::editor_filename, stated, kDefaultEditor, options_dialog},
    {"TextFilename", text, &S::text_filename, program_file, "texte.dat", options_dialog},
    {"RecordColor", number, &S::record_color, stated, "0", options_dialog},
    {"BackgroundColor", number, &S::background_color, stated, "16777215", options_dialog},
    {"SupressSpace", text_flag, &S::suppress_space, stated, "false", options_dialog},
    {"Groups", text_flag, &S::groups, stated, "true", options_dialog},
    // Long in the past: a first start is never taken for a second one on the same day.
    {"Date", text, &S::date, stated, "01.01.80", start},
    {"longitude-degree", number, &S::longitude_degree, stated, "12", options_dialog, true},
    {"longitude-minute", number, &S::longitude_minute, stated, "9", options_dialog, true},
    {"longitude-second", number, &S::longitude_second, stated, "0", options_dialog, true},
    {"longitude-direction", text, &S::longitude_direction, stated, "O", options_dialog, true},
    {"latitude-degree", number, &S::latitude_degree, stated, "48", options_dialog, true},
    {"latitude-minute", number, &S::latitude_minute, stated, "33", options_dialog, true},
    {"latitude-second", number, &S::latitude_second, stated, "0", options_dialog, true},
    {"latitude-direction", text, &S::latitude_direction, stated, "N", options_dialog, true},
    {"Diff to GMT", number_text, &S::diff_to_gmt, stated, "1", options_dialog, true},
    {"NN", number_text, &S::height, stated, "0", options_dialog},
    {"Daylight Saving Time", number_flag, &S::daylight_saving, stated, "0", options_dialog},
    // Missing: the manual choice above, as before summer time could follow the zone.
    {"Daylight Saving Time Auto", number_flag, &S::daylight_saving_auto, stated, "0",
     options_dialog},
    // Empty: no state, the holiday window and the heading show no legal days off.
    {"Bundesland", text, &S::state, stated, "", options_dialog},
    {"DigestNotification", number_flag, &S::digest_notification, stated, "1", options_dialog},
    {"CalendarFeed", text, &S::calendar_feed, stated, "", options_dialog},
    {"CalDAVAdresse", text, &S::caldav_url, stated, "", options_dialog},
    {"CalDAVBenutzer", text, &S::caldav_user, stated, "", options_dialog},
    {"CalDAVFingerabdruck", text, &S::caldav_fingerprint, stated, "", options_dialog},
    // Missing: none, as before the table was shipped; a new store gets "meiner Leute".
    {"Namenstage", text, &S::name_days, stated, "keine", options_dialog},
    // Empty selects the default place.
    {"location", text, &S::location, stated, "", options_dialog},
    {"FontName", text, &S::font_name, none, "", options_dialog},
    {"FontSize", number, &S::font_size, none, "", options_dialog},
    {"FontBold", text_flag, &S::font_bold, stated, "false", options_dialog},
    {"FontItalic", text_flag, &S::font_italic, stated, "false", options_dialog},
    {"WindowState", number, &S::window_state, stated, "0", window},
    // Without a position the window stays where the start-up centring put it.
    {"Left", number, &S::window_left, none, "", window},
    {"Top", number, &S::window_top, none, "", window},
    {"Width", number, &S::window_width, stated, "8430", window},
    {"Height", number, &S::window_height, stated, "6180", window},
    {"Intervall", number, &S::reread_interval, stated, "60", options_dialog},
    {"Standby", number_flag, &S::standby, stated, "0", options_dialog},
    // Relative: the program folder is the working folder.
    {"SoundFile", text, &S::sound_file, stated, "standard.wav", options_dialog},
    {"PlaySound", number_flag, &S::play_sound, stated, "0", options_dialog},
    {"MissedEvents", number_flag, &S::missed_events, stated, "0", options_dialog},
    // Missing: the first start of this installation.
    {"Version", number, &S::version, none, "", start},
    {"DaysBefore", text, &S::days_before, stated, "21", tools},
    {"BirthdayColor", number, &S::birthday_color, record_color, "", tools},
    // -1 selects the first template; missing leaves the dialog's own preset.
    {"SelectedText", number_text, &S::selected_text, none, "", tools},
    {"TermColor", number, &S::appointment_color, record_color, "", tools},
    {"SelectedTermText", number_text, &S::selected_appointment_text, none, "", tools},
    {"PrefGroup", number, &S::pref_group, none, "", tools},
    {"column0", number, &S::columns, none, "", tools, false, 0},
    {"column1", number, &S::columns, none, "", tools, false, 1},
    {"column2", number, &S::columns, none, "", tools, false, 2},
    {"column3", number, &S::columns, none, "", tools, false, 3},
    {"column4", number, &S::columns, none, "", tools, false, 4},
    {"column5", number, &S::columns, none, "", tools, false, 5},
    {"column6", number, &S::columns, none, "", tools, false, 6},
};

}  // namespace

std::span<const Entry> entries() { return kEntries; }

const Entry* find_entry(std::string_view name) {
    for (const Entry& entry : kEntries) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

std::string stored_name(const Entry& entry, bool light) {
    if (light && entry.writer == Writer::window) return "Light" + std::string(entry.name);
    return std::string(entry.name);
}

}  // namespace merkwald::schema
