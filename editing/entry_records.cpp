#include "editing/entry_records.h"

#include <system_error>

#include "editing/field_checks.h"
#include "editing/record_file.h"
#include "editing/reminder_document.h"
#include "engine/date_text.h"
#include "engine/number.h"
#include "engine/text.h"

namespace merkwald {

namespace fs = std::filesystem;

std::string template_line(const TextTemplate& text, std::string_view name) {
    std::string one_line;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool crlf = name[i] == '\r' && i + 1 < name.size() && name[i + 1] == '\n';
        if (crlf) continue;
        one_line += (name[i] == '\r' || name[i] == '\n') ? ' ' : name[i];
    }
    return text.before + " " + one_line + " " + text.after;
}

std::vector<std::string> entry_record_lines(EntryKind kind, std::string_view date,
                                            const RecordStyle& style, std::string_view text_line) {
    std::vector<std::string> lines{"<record>", "<date=" + std::string(date) + ">"};
    if (style.color != style.record_color) lines.push_back("<color=" + int_text(style.color) + ">");
    lines.push_back("<active_before=" + style.lead_time + ">");
    if (kind == EntryKind::birthday) {
        lines.push_back("<group=geburtstage>");
    } else {
        lines.push_back("<group=termine>");
        lines.push_back("<active=once>");
    }
    lines.emplace_back(text_line);
    lines.push_back("</record>");
    return lines;
}

std::string_view no_name_message(EntryKind kind) {
    return kind == EntryKind::birthday ? "Kein Name!" : "Kein Text!";
}

std::optional<DaySerial> birthday_date(std::string_view text, DaySerial today) {
    std::optional<DaySerial> date = parse_date(text);
    if (!date) return std::nullopt;
    const std::string typed(trim_blanks(text));
    const std::size_t dot = typed.find_last_of(".-/ ");
    const std::string year = dot == std::string::npos ? std::string() : typed.substr(dot + 1);
    if (*date > today && year.size() == 2) {
        const Ymd ymd = ymd_of(*date);
        date = make_date(ymd.year - 100, ymd.month, ymd.day);
    }
    if (!date || *date > today) return std::nullopt;
    return date;
}

std::optional<std::string> check_entry_fields(const RecordStyle& style,
                                              std::string_view text_line) {
    if (auto m =
            check_number({.label = "Vorlaufzeit", .text = style.lead_time, .empty_allowed = true}))
        return m;
    return check_entry_text("Text", text_line);
}

SaveOutcome save_entry(EntryKind kind, const fs::path& target, const EntryInput& input,
                       const std::vector<TextTemplate>& templates, DaySerial today,
                       Utf8Change utf8) {
    if (trim_blanks(input.name).empty()) return {EntryCheck::no_name, {}, {}};
    const bool birthday = kind == EntryKind::birthday;
    const std::optional<DaySerial> date =
        birthday ? birthday_date(input.date, today) : parse_date(input.date);
    if (!date) {
        const bool future = birthday && parse_date(input.date).has_value();
        return {EntryCheck::bad_date, {}, std::string(future ? kFutureBirthday : kBadEntryDate)};
    }
    const std::string line =
        template_line(template_at(templates, input.template_position), input.name);
    if (auto problem = check_entry_fields(input.style, line)) {
        return {EntryCheck::bad_field, {}, *problem};
    }
    std::vector<std::string> lines{""};
    for (std::string& l : entry_record_lines(kind, written_date(*date), input.style, line)) {
        lines.push_back(std::move(l));
    }
    lines.emplace_back();
    return {EntryCheck::ok, append_lines(target, lines, utf8), {}};
}

EntryPresets entry_presets(const Settings& settings, EntryKind kind, int template_count) {
    const bool birthday = kind == EntryKind::birthday;
    EntryPresets presets;
    presets.lead_time = settings.days_before.empty() ? "21" : settings.days_before;
    presets.color = birthday ? settings.birthday_color : settings.appointment_color;
    const std::optional<std::int32_t> selected =
        birthday ? settings.selected_text : settings.selected_appointment_text;
    // -1, a missing value and a position the list does not have select the first.
    presets.template_position = template_count > 0 ? 0 : -1;
    if (selected && *selected >= 0 && *selected < template_count) {
        presets.template_position = *selected;
    }
    return presets;
}

void store_entry_presets(Settings& settings, SettingsStore& store, EntryKind kind,
                         const EntryPresets& presets) {
    settings.days_before = presets.lead_time;
    if (kind == EntryKind::birthday) {
        settings.birthday_color = presets.color;
        settings.selected_text = presets.template_position;
        write_values(store, settings, {"DaysBefore", "BirthdayColor", "SelectedText"});
    } else {
        settings.appointment_color = presets.color;
        settings.selected_appointment_text = presets.template_position;
        write_values(store, settings, {"DaysBefore", "TermColor", "SelectedTermText"});
    }
}

std::string signed_text(long long value) {
    // Appended rather than `" " + text`: GCC 12 at -O3 reports a false overlap
    // (-Wrestrict) inside std::string's operator+ for a one-character prefix.
    std::string text = value >= 0 ? " " : "";
    text += int_text(value);
    return text;
}

}  // namespace merkwald
