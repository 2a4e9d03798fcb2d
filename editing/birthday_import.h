#pragma once
// The birthday import's file work: reading the fields of a comma-separated
// file and appending one birthday record per entry.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/entry_records.h"
#include "editing/templates.h"

namespace merkwald {

// "Name, Datum" or "Name1, Name2, Datum".
enum class ImportFormat { name_date, two_names_date };

// The fields of a comma-separated text. The file's separator, a comma or a
// semicolon as German spreadsheets write, is decided once from its first lines
// (quoted fields respected); it and the end of a line end a field; blanks and
// tabs around a field are dropped; a field in double quotes loses them and
// keeps its separators, and a doubled quote inside it stands for one. A line
// holding nothing but blanks and separators (a blank row) holds no field.
[[nodiscard]] std::vector<std::string> csv_fields(std::string_view text);

struct CsvField {
    std::string text;
    int line = 0;  // counted from 1
};
// The same, each field with its line; a first line without any digit holds
// column names and is left out.
[[nodiscard]] std::vector<CsvField> csv_entry_fields(std::string_view text);

enum class ImportEnd {
    done,         // the whole file was imported
    bad_date,     // an entry's date is no date: it and all after it were left out
    failed,       // the file could not be read or ended inside an entry
    bad_field,    // the lead time or an entry's text could not be written as it is
    write_failed  // the target file could not be written (or the user declined UTF-8)
};

struct ImportOutcome {
    ImportEnd end = ImportEnd::done;
    int entries = 0;      // n: the entries read, the faulty one included
    int imported = 0;     // the records appended
    int line = 0;         // the line of the faulty entry
    std::string problem;  // failed, bad_field: the reason
    WriteOutcome write;
};

// The record text of one entry: the name parts between the template's texts,
// one blank between each.
[[nodiscard]] std::string import_text_line(const TextTemplate& text,
                                           const std::vector<std::string>& names);

// Reads `source` and appends a record per entry to `target` (created when
// missing), the date written "dd.mm.yyyy"; a birthday lies before `today`
// (see birthday_date). The records before a faulty entry are appended.
// `progress` is called with n after each entry.
[[nodiscard]] ImportOutcome import_birthdays(const std::filesystem::path& source,
                                             const std::filesystem::path& target,
                                             ImportFormat format, const TextTemplate& text,
                                             const RecordStyle& style, DaySerial today,
                                             const std::function<void(int)>& progress = {},
                                             Utf8Change utf8 = Utf8Change::allowed);

inline constexpr std::string_view kImportBadDate = "Falsches Datum in Importdatei!";
inline constexpr std::string_view kImportFailed = "Fehler beim Import";

// "Importiere Datensatz  3".
[[nodiscard]] std::string import_progress_text(int entries);
// The message after an import that did not end `done`; names the faulty line.
[[nodiscard]] std::string import_problem_text(const ImportOutcome& outcome);

// The status line after an import.
[[nodiscard]] std::string import_status_text(const ImportOutcome& outcome);

}  // namespace merkwald
