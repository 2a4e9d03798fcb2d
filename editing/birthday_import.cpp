#include "editing/birthday_import.h"

#include <optional>

#include "editing/field_checks.h"
#include "engine/date_text.h"
#include "engine/number.h"
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

// The separators outside quotes in one line.
struct SeparatorCount {
    int semicolons = 0;
    int commas = 0;
};

SeparatorCount count_separators(std::string_view line) {
    SeparatorCount count;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') quoted = !quoted;
        if (!quoted && c == ';') ++count.semicolons;
        if (!quoted && c == ',') ++count.commas;
    }
    return count;
}

bool only_separators(std::string_view line, char separator) {
    return line.find_first_not_of(std::string(kBlanksAndTabs) + separator) ==
           std::string_view::npos;
}

constexpr int kSampleLines = 20;

// One separator for the whole file, from its first lines: a comma export may
// hold a semicolon in a name (unquoted, as spreadsheets write it) and a
// semicolon export a comma. The separator is the one every sampled line holds
// (a blank row of separators alone settles it); when both are, the one each
// line holds equally often; failing that the semicolon of German spreadsheets.
char file_separator(std::string_view text) {
    int lines = 0, with_semicolon = 0, with_comma = 0;
    std::optional<int> semicolons, commas;
    bool semicolons_even = true, commas_even = true;
    std::optional<char> settled;
    for_each_line(text, [&](std::string_view line) {
        if (trim_blanks(line, kBlanksAndTabs).empty()) return true;
        if (only_separators(line, ';') != only_separators(line, ',')) {
            settled = only_separators(line, ';') ? ';' : ',';
            return false;
        }
        const SeparatorCount count = count_separators(line);
        ++lines;
        with_semicolon += count.semicolons > 0 ? 1 : 0;
        with_comma += count.commas > 0 ? 1 : 0;
        semicolons_even =
            semicolons_even && semicolons.value_or(count.semicolons) == count.semicolons;
        commas_even = commas_even && commas.value_or(count.commas) == count.commas;
        semicolons = count.semicolons;
        commas = count.commas;
        return lines < kSampleLines;
    });
    if (settled) return *settled;
    const bool all_semicolon = lines > 0 && with_semicolon == lines;
    const bool all_comma = lines > 0 && with_comma == lines;
    if (all_semicolon != all_comma) return all_semicolon ? ';' : ',';
    if (all_semicolon && semicolons_even != commas_even) return semicolons_even ? ';' : ',';
    if (all_semicolon) return ';';
    return with_semicolon > with_comma ? ';' : ',';
}

void line_fields(std::string_view line, int number, char separator, std::vector<CsvField>& fields) {
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && kBlanksAndTabs.find(line[pos]) != std::string_view::npos) ++pos;
        std::string field;
        if (pos < line.size() && line[pos] == '"') field = quoted_field(line, ++pos);
        // Anything between a closing quote and the separator stays with the field.
        const std::size_t next = line.find(separator, pos);
        const std::size_t end = next == std::string_view::npos ? line.size() : next;
        field += trim_blanks(line.substr(pos, end - pos), kBlanksAndTabs);
        fields.push_back({std::move(field), number});
        if (next == std::string_view::npos) return;
        pos = next + 1;
    }
}

// A blank spreadsheet row comes out as a line of separators: it holds no entry.
std::vector<CsvField> all_fields(std::string_view text) {
    std::vector<CsvField> fields;
    const char separator = file_separator(text);
    int number = 0;
    for_each_line(text, [&](std::string_view line) {
        ++number;
        if (!only_separators(line, separator)) line_fields(line, number, separator, fields);
        return true;
    });
    return fields;
}

}  // namespace

std::vector<std::string> csv_fields(std::string_view text) {
    std::vector<std::string> texts;
    for (CsvField& field : all_fields(text)) texts.push_back(std::move(field.text));
    return texts;
}

std::vector<CsvField> csv_entry_fields(std::string_view text) {
    std::vector<CsvField> fields = all_fields(text);
    if (fields.empty()) return fields;
    const int first = fields.front().line;
    bool digits = false;
    for (const CsvField& f : fields) {
        if (f.line != first) break;
        digits = digits || f.text.find_first_of("0123456789") != std::string::npos;
    }
    if (!digits) {
        std::erase_if(fields, [first](const CsvField& f) { return f.line == first; });
    }
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

namespace {

// The record lines of one entry, or the reason why it cannot be written.
bool entry_lines(const std::vector<CsvField>& fields, std::size_t at, std::size_t group,
                 const TextTemplate& text, const RecordStyle& style, DaySerial today,
                 std::vector<std::string>& lines, ImportOutcome& outcome) {
    const CsvField& date_field = fields[at + group - 1];
    outcome.line = date_field.line;
    const std::optional<DaySerial> date = birthday_date(date_field.text, today);
    if (!date) {
        outcome.end = ImportEnd::bad_date;
        return false;
    }
    std::vector<std::string> names;
    for (std::size_t i = at; i + 1 < at + group; ++i) names.push_back(fields[i].text);
    const std::string line = import_text_line(text, names);
    if (auto problem = check_entry_fields(style, line)) {
        outcome.end = ImportEnd::bad_field;
        outcome.problem = *problem;
        return false;
    }
    lines.emplace_back();
    for (std::string& l :
         entry_record_lines(EntryKind::birthday, written_date(*date), style, line)) {
        lines.push_back(std::move(l));
    }
    return true;
}

}  // namespace

ImportOutcome import_birthdays(const std::filesystem::path& source,
                               const std::filesystem::path& target, ImportFormat format,
                               const TextTemplate& text, const RecordStyle& style, DaySerial today,
                               const std::function<void(int)>& progress, Utf8Change utf8) {
    ImportOutcome outcome;
    std::string bytes;
    const FileRead read = read_regular_file(source, bytes);
    if (!read.ok) {
        outcome.end = ImportEnd::failed;
        outcome.problem = read.message;
        return outcome;
    }
    const std::vector<CsvField> fields = csv_entry_fields(decode_text(std::move(bytes)).text);
    const std::size_t group = format == ImportFormat::name_date ? 2 : 3;
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < fields.size(); at += group) {
        ++outcome.entries;
        if (at + group > fields.size()) {
            outcome.end = ImportEnd::failed;
            outcome.line = fields[at].line;
            break;
        }
        if (!entry_lines(fields, at, group, text, style, today, lines, outcome)) break;
        ++outcome.imported;
        if (progress) progress(outcome.entries);
    }
    if (!lines.empty()) {
        outcome.write = append_lines(target, lines, utf8);
        if (!outcome.write.ok()) {
            outcome.end = ImportEnd::write_failed;
            outcome.imported = 0;
        }
    }
    return outcome;
}

std::string import_problem_text(const ImportOutcome& outcome) {
    const std::string where =
        outcome.line > 0 ? "\nZeile " + int_text(outcome.line) + " der Importdatei." : "";
    switch (outcome.end) {
        case ImportEnd::done:
            return {};
        case ImportEnd::bad_date:
            return std::string(kImportBadDate) + where;
        case ImportEnd::bad_field:
            return std::string(kImportFailed) + "\n" + outcome.problem + where;
        case ImportEnd::failed:
            return std::string(kImportFailed) +
                   (outcome.problem.empty() ? "" : "\n" + outcome.problem) + where;
        case ImportEnd::write_failed:
            return std::string(kImportFailed) + "\n" + german_text(outcome.write);
    }
    return {};
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
