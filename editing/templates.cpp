#include "editing/templates.h"

#include <optional>
#include <system_error>

#include "engine/file_access.h"
#include "engine/text.h"
#include "engine/text_file.h"

namespace merkwald {

namespace fs = std::filesystem;

std::vector<TextTemplate> parse_templates(std::string_view text) {
    std::vector<std::string> lines = split_lines(text);
    for (std::string& line : lines) trim_blanks_in_place(line);
    std::vector<TextTemplate> templates;
    std::size_t at = 0;
    while (at < lines.size() && lines[at] == "*" && int(templates.size()) < kMaxTemplates) {
        if (at + 3 >= lines.size()) break;  // the text ends inside this block
        templates.push_back({lines[at + 1], lines[at + 2], lines[at + 3]});
        at += 4;
    }
    return templates;
}

namespace {

TemplateTable load_template_file(const fs::path& file, std::string_view missing_message,
                                 MessageSink& sink) {
    std::string bytes;
    const FileRead read = read_regular_file(file, bytes);
    if (!read.ok) {
        std::error_code ec;
        const bool missing = !fs::exists(file, ec);
        sink.show_message(missing ? missing_message : std::string_view(read.message),
                          MessageIcon::critical);
        return {};
    }
    return {parse_templates(decode_text(std::move(bytes)).text), true};
}

}  // namespace

TemplateTable load_birthday_templates(const fs::path& program_folder, MessageSink& sink) {
    return load_template_file(
        program_folder / kBirthdayTemplateFile,
        "geb_text.dat nicht gefunden!\nGeburtstage eingeben und importieren deaktiviert!", sink);
}

TemplateTable load_appointment_templates(const fs::path& program_folder, MessageSink& sink) {
    return load_template_file(program_folder / kAppointmentTemplateFile,
                              "term_text.dat nicht gefunden!", sink);
}

TemplateTables load_templates(const fs::path& program_folder, MessageSink& sink) {
    TemplateTables tables;
    tables.birthday = load_birthday_templates(program_folder, sink);
    tables.appointment = load_appointment_templates(program_folder, sink);
    return tables;
}

TextTemplate template_at(const std::vector<TextTemplate>& templates, int position) {
    if (templates.empty()) return {};
    if (position < 0 || std::size_t(position) >= templates.size()) return templates.front();
    return templates[std::size_t(position)];
}

}  // namespace merkwald
