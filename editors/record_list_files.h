#pragma once
// The record list's file work: deleting, undoing, moving expired one-time
// records to "deleted.rmd" and writing the main file's links.

#include <filesystem>
#include <string>
#include <vector>

#include "editors/safe_rewrite.h"
#include "engine/engine_state.h"
#include "engine/messages.h"

namespace merkwald {

inline constexpr char kDeletedFileName[] = "deleted.rmd";
inline constexpr char kNoBackupMessage[] = "Keine Sicherung vorhanden";

// Removes the lines of record `record` (from 1); the previous content goes to the backup.
[[nodiscard]] WriteOutcome delete_record(const std::filesystem::path& file, int record,
                                         MessageSink& sink);

enum class UndoResult { restored, no_backup, failed };
// Copies the backup over the file; the backup stays. Without a backup nothing changes.
[[nodiscard]] UndoResult undo_from_backup(const std::filesystem::path& file,
                                          std::string& message);

struct MoveOutcome {
    int moved = 0;
    WriteOutcome write;
};

// Appends every one-time record of `file` dated before today to `deleted_file`,
// each as "gelöscht am: " + today, its lines unchanged and one empty line, then
// removes them from `file` in one rewrite (the backup holds the file as it was
// before). The deleted file is written first: a failure between the two steps
// leaves a record twice, never lost.
[[nodiscard]] MoveOutcome move_expired_records(const std::filesystem::path& file,
                                               const std::filesystem::path& deleted_file,
                                               const EngineState& state, MessageSink& sink);

// The message shown after moving n >= 1 records.
[[nodiscard]] std::string moved_message(int moved);

// Rewrites the main file with one `<add_file=...>` line per linked file at the
// top and without its other lines containing "<add_file=". An unchanged file is
// left alone, so that its backup keeps the state before the last real change.
[[nodiscard]] WriteOutcome rewrite_links(const std::filesystem::path& main_file,
                                         const std::vector<std::string>& linked_files);

// "Speichern unter": the file's bytes under a new name.
[[nodiscard]] WriteOutcome copy_file_safely(const std::filesystem::path& from,
                                            const std::filesystem::path& to);

}  // namespace merkwald
