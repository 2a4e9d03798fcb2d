#pragma once
// The shared settings record and its loading from and storing into the
// settings store. Every value, its kind and its default are declared once, in
// settings_schema.cpp; the functions here walk that table.

#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine_state.h"
#include "engine/list_view.h"
#include "engine/messages.h"
#include "settings/settings_store.h"

namespace merkwald {

inline constexpr int kListColumns = 7;
inline constexpr std::string_view kDefaultPlaceName = "Landshut";
inline constexpr std::string_view kReadRegistryError =
    "Fehler read_registry bitte Autor benachrichtigen";

// Texts are UTF-8; colours are red + 256 × green + 65536 × blue; window
// lengths are twips. An empty optional is a value that has no default and was
// not found: the place that uses it keeps its own built-in value. The defaults
// live in the table alone, so start from `default_settings` or `read_registry`:
// a default-constructed record is all zeros.
struct Settings {
    std::string data_filename, editor_filename, text_filename;
    std::int32_t record_color = 0, background_color = 0;
    bool suppress_space = false, groups = false;
    std::string date;  // the previous start, "dd.mm.yy"

    std::string location;
    std::int32_t longitude_degree = 0, longitude_minute = 0, longitude_second = 0;
    std::string longitude_direction;  // "O" or "W"
    std::int32_t latitude_degree = 0, latitude_minute = 0, latitude_second = 0;
    std::string latitude_direction;  // "N" or "S"
    std::string diff_to_gmt;         // hours, kept as the text it was stored as
    bool daylight_saving = false;
    // Summer time "automatisch": the system time zone decides on each date;
    // `daylight_saving` keeps the manual choice for when it is off again.
    bool daylight_saving_auto = false;
    double height = 0;  // height above sea level
    std::string state;  // "BY" and the like; empty: no state's days off

    // Today's digest as a desktop notification at start and at each day change.
    bool digest_notification = false;
    // A calendar file rewritten after every refresh; empty: none.
    std::string calendar_feed;
    // The calendar collection kept up to date after every refresh; empty: none.
    // The password lives in the desktop's secret store, never here.
    std::string caldav_url, caldav_user;
    // The SHA-256 fingerprint of the one certificate the user accepted for a
    // server the system does not trust; empty: the system's trust alone.
    std::string caldav_fingerprint;
    // The shipped name days in the list: "keine", "meiner Leute" or "alle".
    std::string name_days;

    std::string font_name;  // empty: the list keeps its built-in font
    std::optional<double> font_size;
    bool font_bold = false, font_italic = false;

    // The main window's values, or the light program's when read with `light`.
    std::int32_t window_state = 0;  // 0 normal, 1 minimised, 2 maximised
    std::optional<std::int32_t> window_left, window_top;
    std::int32_t window_width = 0, window_height = 0;

    std::int32_t reread_interval = 0;  // minutes between re-reads of the data files
    bool standby = false;
    std::string sound_file;
    bool play_sound = false, missed_events = false;
    std::optional<std::int32_t> version;

    // Presets of the editing tools.
    std::string days_before;
    std::int32_t birthday_color = 0, appointment_color = 0;
    std::optional<std::int32_t> selected_text, selected_appointment_text, pref_group;
    std::array<std::optional<std::int32_t>, kListColumns> columns;

    friend bool operator==(const Settings&, const Settings&) = default;
};

struct ReadOptions {
    QString program_folder;  // where relative default file names point
    std::string today;       // today formatted "dd.mm.yy"
    std::string command_line;
    bool light = false;  // read the light program's window values
    // Off for a caller that must leave the last start date alone.
    bool write_date = true;
    // Neither creates the key nor writes anything (the command-line tool).
    bool read_only = false;
};

enum class ReadOutcome { go_on, end_silently };

// The record as an empty store gives it.
[[nodiscard]] Settings default_settings(const QString& program_folder);

// Fills `settings` from the store. A value that cannot be converted is reported
// as kReadRegistryError (critical) and leaves its setting as it was.
// end_silently: a start-once start on a day the program already ran; then the
// last start date is not written.
[[nodiscard]] ReadOutcome read_registry(SettingsStore& store, Settings& settings,
                                        const ReadOptions& options, MessageSink& sink);

struct AutostartChoice {
    bool enabled = false;
    bool once = false;  // start at most once a day
    friend bool operator==(const AutostartChoice&, const AutostartChoice&) = default;
};

// Where the system keeps the entry that starts the program at log-on.
class AutostartEntry {
public:
    virtual ~AutostartEntry() = default;
    [[nodiscard]] virtual AutostartChoice current() const = 0;
    // True when the entry now matches the choice.
    virtual bool apply(const AutostartChoice& choice) = 0;
};

// The options dialog's values, then the autostart entry when one is given.
// Returns whether everything was stored; the callers may ignore a failure.
bool write_registry(SettingsStore& store, const Settings& settings,
                    const AutostartChoice& autostart, AutostartEntry* entry);

// The five window values, of the light program's window when `light`.
bool write_window_values(SettingsStore& store, const Settings& settings, bool light);

// The named values (as the table names them, without the light prefix), for
// the start (`Date`, `Version`) and the editing tools' presets. An unknown name
// or an empty optional writes nothing; an unknown name makes the result false.
bool write_values(SettingsStore& store, const Settings& settings,
                  std::initializer_list<std::string_view> names, bool light = false);

[[nodiscard]] EngineSettings to_engine_settings(const Settings& settings, bool light = false);
// How the list draws its entries: the main window's, the range window's and the
// command-line tool's lists alike.
[[nodiscard]] ListStyle list_style(const Settings& settings, bool light = false);

// The hours the system time zone's clock is ahead of its standard time at noon
// of `date` (1 in a German summer, 0 in winter).
[[nodiscard]] double system_summer_time_hours(DaySerial date);
// Whether summer time holds on `date`: the system time zone's say while the
// settings follow it, else their manual choice.
[[nodiscard]] bool summer_time_on(const Settings& settings, DaySerial date);

}  // namespace merkwald
