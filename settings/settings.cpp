#include "settings/settings.h"

#include <QDateTime>
#include <QDir>
#include <QTimeZone>
#include <array>
#include <charconv>
#include <exception>
#include <string_view>
#include <type_traits>

#include "engine/number.h"
#include "settings/command_line.h"
#include "settings/qt_bridges.h"
#include "settings/settings_schema.h"

namespace merkwald {
namespace {

using schema::Entry;
using schema::Fallback;
using schema::Kind;

// Calls f with the entry's field of `settings` (const or not) and returns what f returns.
template <class R, class S, class F>
R with_field(S& settings, const Entry& entry, F&& f) {
    return std::visit(
        [&](auto member) -> R {
            if constexpr (std::is_same_v<decltype(member), schema::Columns Settings::*>) {
                return f((settings.*member)[std::size_t(entry.column)]);
            } else {
                return f(settings.*member);
            }
        },
        entry.member);
}

// A text flag keeps its default unless it holds exactly the word for the other
// state ("TRUE" does not switch anything on); a number flag is on for 1.
bool flag_value(const Entry& entry, const std::string& text) {
    if (entry.kind == Kind::number_flag) return leading_value(text) == 1.0;
    const bool default_on = entry.default_text == "true";
    return default_on ? text != "false" : text == "true";
}

// False when the text's number does not fit the field.
bool assign(const Entry& entry, Settings& settings, const std::string& text) {
    return with_field<bool>(settings, entry, [&](auto& field) {
        using T = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::string>) {
            field = text;
        } else if constexpr (std::is_same_v<T, bool>) {
            field = flag_value(entry, text);
        } else if constexpr (std::is_same_v<T, double> ||
                             std::is_same_v<T, std::optional<double>>) {
            field = leading_value(text);
        } else {
            const auto n = to_int32(leading_value(text));
            if (!n) return false;
            field = *n;
        }
        return true;
    });
}

std::optional<std::string> fallback_text(const Entry& entry, const Settings& settings,
                                         const QString& program_folder) {
    switch (entry.fallback) {
        case Fallback::none:
            return std::nullopt;
        case Fallback::stated:
            return std::string(entry.default_text);
        case Fallback::program_file: {
            const QString file = program_folder + u'/' + to_qstring(entry.default_text);
            return to_utf8(QDir::toNativeSeparators(file));
        }
        case Fallback::record_color:
            return std::to_string(settings.record_color);
    }
    return std::nullopt;
}

// Sets one field from its stored text, or from its default when nothing is stored.
bool load_entry(const Entry& entry, Settings& settings, std::optional<std::string> text,
                const QString& program_folder) {
    if (!text) text = fallback_text(entry, settings, program_folder);
    return !text || assign(entry, settings, *text);
}

void apply_default_place(Settings& settings) {
    settings.location = kDefaultPlaceName;
    for (const Entry& entry : schema::entries()) {
        if (entry.place) assign(entry, settings, std::string(entry.default_text));
    }
}

// Cleaned; a number reads as its decimal text, a value of another kind as empty.
std::optional<std::string> read_text(const SettingsStore& store, std::string_view name) {
    StoreValue value;
    if (!store.query_value(kMainKey, name, value)) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&value)) return clean_value(*text);
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
    return std::string();
}

// A positive number carries one leading blank, like the sign's place of a negative one.
std::string decimal_text(double value) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    std::string text(buffer.data(), result.ptr);
    return value > 0 ? " " + text : text;
}

StoreValue number_value(Kind kind, std::int32_t n) {
    if (kind == Kind::number_text) return std::to_string(n);
    return n;
}

// nullopt: nothing to write (an empty optional, or a size that fits no number).
std::optional<StoreValue> stored_value(const Entry& entry, const Settings& settings) {
    return with_field<std::optional<StoreValue>>(
        settings, entry, [&](const auto& field) -> std::optional<StoreValue> {
            using T = std::remove_cvref_t<decltype(field)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return field;
            } else if constexpr (std::is_same_v<T, bool>) {
                if (entry.kind == Kind::number_flag) return std::int32_t(field ? 1 : 0);
                return std::string(field ? "true" : "false");
            } else if constexpr (std::is_same_v<T, double>) {
                return decimal_text(field);
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                return number_value(entry.kind, field);
            } else if constexpr (std::is_same_v<T, std::optional<double>>) {
                const auto n = field ? to_int32(*field) : std::nullopt;
                if (!n) return std::nullopt;
                return StoreValue(*n);
            } else {
                if (!field) return std::nullopt;
                return number_value(entry.kind, *field);
            }
        });
}

bool write_entry(SettingsStore& store, const Entry& entry, const Settings& settings, bool light) {
    const auto value = stored_value(entry, settings);
    return !value || store.set_value(kMainKey, schema::stored_name(entry, light), *value);
}

bool write_entries_of(SettingsStore& store, const Settings& settings, schema::Writer writer,
                      bool light) {
    bool ok = true;
    for (const Entry& entry : schema::entries()) {
        if (entry.writer == writer) ok = write_entry(store, entry, settings, light) && ok;
    }
    return ok;
}

}  // namespace

Settings default_settings(const QString& program_folder) {
    Settings settings;
    for (const Entry& entry : schema::entries()) {
        load_entry(entry, settings, std::nullopt, program_folder);
    }
    apply_default_place(settings);
    return settings;
}

ReadOutcome read_registry(SettingsStore& store, Settings& settings, const ReadOptions& options,
                          MessageSink& sink) {
    if (!options.read_only) store.create_key(kMainKey, kKeyClass);
    for (const Entry& entry : schema::entries()) {
        bool ok = false;
        try {
            const auto text = read_text(store, schema::stored_name(entry, options.light));
            ok = load_entry(entry, settings, text, options.program_folder);
        } catch (const std::exception&) {
            ok = false;
        }
        if (!ok) sink.show_message(kReadRegistryError, MessageIcon::critical);
    }
    if (settings.location.empty()) apply_default_place(settings);

    if (CommandLine(options.command_line).once() && options.today == settings.date) {
        return ReadOutcome::end_silently;
    }
    if (options.write_date && !options.read_only) {
        store.set_value(kMainKey, "Date", options.today);
    }
    return ReadOutcome::go_on;
}

bool write_registry(SettingsStore& store, const Settings& settings,
                    const AutostartChoice& autostart, AutostartEntry* entry) {
    bool ok = true;
    if (entry != nullptr) ok = entry->apply(autostart);
    return write_entries_of(store, settings, schema::Writer::options_dialog, false) && ok;
}

bool write_window_values(SettingsStore& store, const Settings& settings, bool light) {
    return write_entries_of(store, settings, schema::Writer::window, light);
}

bool write_values(SettingsStore& store, const Settings& settings,
                  std::initializer_list<std::string_view> names, bool light) {
    bool ok = true;
    for (const std::string_view name : names) {
        const Entry* entry = schema::find_entry(name);
        ok = entry != nullptr && write_entry(store, *entry, settings, light) && ok;
    }
    return ok;
}

ListStyle list_style(const Settings& settings, bool light) {
    ListStyle style;
    style.record_color = std::uint32_t(settings.record_color);
    style.suppress_space = settings.suppress_space;
    style.font_bold = settings.font_bold;
    style.font_italic = settings.font_italic;
    style.light = light;
    style.state = state_from_code(settings.state);
    return style;
}

EngineSettings to_engine_settings(const Settings& settings, bool light) {
    EngineSettings engine;
    engine.record_color = std::uint32_t(settings.record_color);
    engine.groups = settings.groups;
    engine.last_start = settings.date;
    engine.home.longitude_degree = settings.longitude_degree;
    engine.home.longitude_minute = settings.longitude_minute;
    engine.home.longitude_second = settings.longitude_second;
    engine.home.longitude_direction = settings.longitude_direction;
    engine.home.latitude_degree = settings.latitude_degree;
    engine.home.latitude_minute = settings.latitude_minute;
    engine.home.latitude_second = settings.latitude_second;
    engine.home.latitude_direction = settings.latitude_direction;
    engine.home.diff_to_gmt = leading_value(settings.diff_to_gmt);
    engine.home.daylight_saving = settings.daylight_saving;
    if (settings.daylight_saving_auto) engine.home.summer_time_hours = system_summer_time_hours;
    engine.light = light;
    return engine;
}

double system_summer_time_hours(DaySerial date) {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime noon(to_qdate(date), QTime(12, 0), zone);
    return zone.daylightTimeOffset(noon) / 3600.0;
}

bool summer_time_on(const Settings& settings, DaySerial date) {
    return settings.daylight_saving_auto ? system_summer_time_hours(date) > 0
                                         : settings.daylight_saving;
}

}  // namespace merkwald
