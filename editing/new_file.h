#pragma once
// The file work of "Neue Datendatei anlegen": a new reminder file holding one
// `add_file` line per linked file, and the file list it gives.

#include <filesystem>
#include <string>
#include <vector>

#include "engine/safe_rewrite.h"

namespace merkwald {

inline constexpr std::string_view kNoFileName = "Kein Dateiname!";
inline constexpr std::string_view kOverwriteQuestion =
    "Datei ist bereits vorhanden!\nÜberschreiben?";
inline constexpr std::string_view kNotCreated = "Datei konnte nicht angelegt werden";

// The name as typed with ".rmd" appended unless it ends so (exact case), taken
// relative to the program folder unless the platform calls it absolute.
[[nodiscard]] std::filesystem::path new_file_path(const std::string& typed,
                                                  const std::filesystem::path& program_folder);

// The new file's lines, in list order.
[[nodiscard]] std::vector<std::string> add_file_lines(const std::vector<std::string>& linked);

struct NewFileOutcome {
    WriteOutcome write;
    // Entry 1 the new file, then the linked files; empty when the write failed.
    std::vector<std::string> file_list;
};

// Creates the file (an existing one keeps its old content as the backup) with
// the `add_file` lines, each ending with CRLF.
[[nodiscard]] NewFileOutcome create_new_file(const std::filesystem::path& file,
                                             const std::vector<std::string>& linked);

}  // namespace merkwald
