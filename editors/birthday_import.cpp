#include "editors/birthday_import.h"

#include <optional>

#include "engine/date_text.h"
#include "engine/text.h"
#include "engine/text_file.h"

namespace merkwald {

namespace {

// Reads a quoted field's content from just behind its opening quote; `pos`
// ends behind the closing quote (or at the end of the line when it has none).
std::string quoted_field(std::string_view line, std::size_t& pos) {
    std::string field;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c != '"') {
            field += c;
        } else if (pos < line.size() && line[pos] == '"') {
            field += '"';
            ++pos;
        } else {
            break;
        }
    }
    return field;
}

void line_fields(std::string_view line, std::vector<std::string>& fields) {
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && kBlanksAndTabs.find(line[pos]) != std::string_view::npos) ++pos;
        std::string field;
        if (pos < line.size() && line[pos] == '"') field = quoted_field(line, ++pos);
        // Anything between a closing quote and the comma stays with the field.
        const std::size_t comma = line.find(',', pos);
        const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
        field += trim_blanks(line.substr(pos, end - pos), kBlanksAndTabs);
        fields.push_back(std::move(field));
        if (comma == std::string_view::npos) return;
        pos = comma + 1;
    }
}

}  // namespace

std::vector<std::string> csv_fields(std::string_view text) {
    std::vector<std::string> fields;
    for_each_line(text, [&fields](std::string_view line) {
        if (!trim_blanks(line, kBlanksAndTabs).empty()) line_fields(line, fields);
        return true;
    });
    return fields;
}

std::string import_text_line(const TextTemplate& text, const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        if (!joined.empty()) joined += ' ';
        joined += name;
    }
    return template_line(text, joined);
}

ImportOutcome import_birthdays(const std::filesystem::path& source,
                               const std::filesystem::path& target, ImportFormat format,
                               const TextTemplate& text, const RecordStyle& style,
                               const std::function<void(int)>& progress) {
    ImportOutcome outcome;
    const std::optional<FileText> file = read_text_file(source);
    if (!file) {
        outcome.end = ImportEnd::failed;
        return outcome;
    }
    const std::vector<std::string> fields = csv_fields(file->text);
    const std::size_t group = format == ImportFormat::name_date ? 2 : 3;
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < fields.size(); at += group) {
        ++outcome.entries;
        if (at + group > fields.size()) {
            outcome.end = ImportEnd::failed;
            break;
        }
        const std::string& date = fields[at + group - 1];
        if (!parse_date(date)) {
            outcome.end = ImportEnd::bad_date;
            break;
        }
        const std::vector<std::string> names(fields.begin() + std::ptrdiff_t(at),
                                             fields.begin() + std::ptrdiff_t(at + group - 1));
        lines.emplace_back();
        for (std::string& l :
             entry_record_lines(EntryKind::birthday, date, style, import_text_line(text, names))) {
            lines.push_back(std::move(l));
        }
        ++outcome.imported;
        if (progress) progress(outcome.entries);
    }
    if (!lines.empty()) {
        outcome.write = append_lines(target, lines);
        if (!outcome.write.ok) {
            outcome.end = ImportEnd::write_failed;
            outcome.imported = 0;
        }
    }
    return outcome;
}

std::string import_progress_text(int entries) {
    return "Importiere Datensatz " + signed_text(entries);
}

std::string import_status_text(const ImportOutcome& outcome) {
    if (outcome.end == ImportEnd::done) {
        return signed_text(outcome.entries) + " Datensätze erfolgreich importiert";
    }
    return "Fehler beim Import! " + signed_text(outcome.imported) + " Datensätze importiert";
}

}  // namespace merkwald
