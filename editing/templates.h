#pragma once
// The text templates of the birthday and appointment entry ("geb_text.dat",
// "term_text.dat"): four-line blocks of "*", the caption shown in the dialog's
// list, the text before the name and the text after it. Loaded once per start.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/messages.h"

namespace merkwald {

inline constexpr int kMaxTemplates = 25;
inline constexpr std::string_view kBirthdayTemplateFile = "geb_text.dat";
inline constexpr std::string_view kAppointmentTemplateFile = "term_text.dat";

struct TextTemplate {
    std::string caption;
    std::string before;  // text written before the name
    std::string after;   // text written after the name
    friend bool operator==(const TextTemplate&, const TextTemplate&) = default;
};

struct TemplateTable {
    std::vector<TextTemplate> templates;  // at most kMaxTemplates, in file order
    bool found = false;                   // false: the file was missing; its menu entries are off
};

struct TemplateTables {
    TemplateTable birthday;
    TemplateTable appointment;
};

// The blocks of a template file's text, every line trimmed of blanks. Reading
// stops at the first line in marker position that is not "*", after
// kMaxTemplates blocks, and before a block that the text ends in the middle of.
[[nodiscard]] std::vector<TextTemplate> parse_templates(std::string_view text);

// "geb_text.dat" and "term_text.dat" of the program folder. A missing file is
// reported through the sink (critical) and gives an empty table that is not found.
[[nodiscard]] TemplateTable load_birthday_templates(const std::filesystem::path& program_folder,
                                                    MessageSink& sink);
[[nodiscard]] TemplateTable load_appointment_templates(const std::filesystem::path& program_folder,
                                                       MessageSink& sink);
// Both, birthdays first, as the start-up does it.
[[nodiscard]] TemplateTables load_templates(const std::filesystem::path& program_folder,
                                            MessageSink& sink);

// Template `position` of the dialog's list (counted from 0); the first for -1
// (nothing selected) or a position beyond the table; empty texts when the
// table is empty.
[[nodiscard]] TextTemplate template_at(const std::vector<TextTemplate>& templates, int position);

}  // namespace merkwald
