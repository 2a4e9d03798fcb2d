#pragma once
// The record list's file work: deleting, undoing, moving expired one-time
// records to "deleted.rmd" and writing the main file's links.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editing/record_file.h"
#include "engine/engine_state.h"
#include "engine/messages.h"
#include "engine/safe_rewrite.h"

namespace merkwald {

inline constexpr char kDeletedFileName[] = "deleted.rmd";
inline constexpr char kNoBackupMessage[] = "Keine Sicherung vorhanden";

// Removes the lines of record `record` (from 1) of the state's file, as the
// state counted them; the previous content goes to the backup. Nothing is
// written when the file changed since.
[[nodiscard]] WriteOutcome delete_record(EditingState& state, int record);

enum class UndoResult { restored, no_backup, failed };
// Copies the backup of the state's last action over its file; the backup
// stays. Without such a backup (none made, another file's, or changed since)
// nothing changes.
[[nodiscard]] UndoResult undo_from_backup(EditingState& state, std::string& message,
                                          bool& changed_outside);

struct MoveOutcome {
    int moved = 0;
    WriteOutcome write;
};

// Appends every one-time record of `file` dated before today to `deleted_file`,
// each as "gelöscht am: " + today, its lines unchanged and one empty line, then
// removes them from `file` in one rewrite (the backup holds the file as it was
// before). The deleted file is written first: a failure between the two steps
// leaves a record twice, never lost.
// Nothing is written when the file is not what `editing` counted.
[[nodiscard]] MoveOutcome move_expired_records(EditingState& editing,
                                               const std::filesystem::path& deleted_file,
                                               const EngineState& state);

// The message shown after moving n >= 1 records.
[[nodiscard]] std::string moved_message(int moved);

// The main file without the `<add_file=...>` lines of the links in `removed`
// and with one line per link in `added` at the top.
// Every other line, links to missing files included, stays as written; no
// change writes nothing.
[[nodiscard]] WriteOutcome rewrite_links(const std::filesystem::path& main_file,
                                         const std::vector<std::string>& added,
                                         const std::vector<std::string>& removed);

// The value of an `<add_file=...>` line, nullopt for any other line.
[[nodiscard]] std::optional<std::string> link_of_line(const std::string& line);

// "Öffnen" with a new name: an empty file where nothing stands yet; false when
// it cannot be made. A file another program made meanwhile stays as it is.
[[nodiscard]] bool create_if_missing(const std::filesystem::path& file);

// "Speichern unter": the file's bytes under a new name, never over itself.
[[nodiscard]] WriteOutcome copy_file_safely(const std::filesystem::path& from,
                                            const std::filesystem::path& to);

}  // namespace merkwald
