#pragma once
// Every file the editing tools change is rewritten through here, so that a
// crash or a full disk at any moment leaves the file either as it was or as
// intended, and its backup complete: each new content goes to a temporary file
// beside its target (same folder, so the final rename never crosses a file
// system), is flushed to disk and then renamed over the target.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace merkwald {

// What a write did; `message` says in German what failed, for the user.
struct WriteOutcome {
    bool ok = true;
    std::string message;
};

// The file name with its last three characters replaced by "bak" ("a.rmd" ->
// "a.bak"). A name that would be its own backup ("a.bak") gets ".bak" appended.
[[nodiscard]] std::filesystem::path backup_name(const std::filesystem::path& file);

// Writes `bytes` as the new content of `target` (created when missing).
[[nodiscard]] WriteOutcome write_file_safely(const std::filesystem::path& target,
                                             std::string_view bytes);

// Keeps `old_bytes` (what the caller read from `target`) as the backup, then
// writes `new_bytes` as above. A failure leaves target and backup complete.
[[nodiscard]] WriteOutcome rewrite_with_backup(const std::filesystem::path& target,
                                               std::string_view old_bytes,
                                               std::string_view new_bytes);

// The whole file as bytes; false when it cannot be read.
[[nodiscard]] bool read_file_bytes(const std::filesystem::path& path, std::string& bytes);

// For tests: called at each step of a write with the step's name
// ("writing backup", "before backup rename", "backup written", "writing temporary",
// "before rename", "renamed");
// returning false makes that step fail as an I/O error would.
using RewriteHook = std::function<bool(std::string_view step)>;
void set_rewrite_hook(RewriteHook hook);

}  // namespace merkwald
