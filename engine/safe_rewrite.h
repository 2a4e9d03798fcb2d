#pragma once
// Every file the program writes goes through here, so that a
// crash or a full disk at any moment leaves the file either as it was or as
// intended, and its backup complete. Each new content goes to a fresh temporary
// file beside its target (created exclusively, owner-only, never through a
// link), is synced to disk and then renamed over the target; the file keeps
// its permission bits, owner, group and extended attributes (access control
// lists among them). A target whose owner, attributes or further hard links a
// rename would lose is written in place instead, once its backup is safely on
// disk. A symbolic link stays a link: its target gets the content. Temporary
// files that a killed write left behind are removed by the next write of the
// same file.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "file_access.h"

namespace merkwald {

// What a write did; `message` says in German what failed, for the user.
struct WriteOutcome {
    WriteOutcome() = default;
    WriteOutcome(bool success, std::string text) : ok(success), message(std::move(text)) {}

    bool ok = true;
    std::string message;
    bool changed_outside = false;  // nothing written: the file was not as expected
    bool needs_utf8 = false;       // nothing written: the file would become UTF-8
    // Not ok, and yet the file no longer holds what it held: the new content
    // may not be durable, or the file may be damaged; `message` says which.
    bool content_changed = false;
    std::filesystem::path backup;  // the backup this write made, empty when none
    FileStamp backup_stamp;        // ... and what it holds
    FileStamp written_stamp;       // the target after the write
};

// The file name with its last three characters replaced by "bak" ("a.rmd" ->
// "a.bak"). A name that would be its own backup ("a.bak") gets ".bak" appended.
[[nodiscard]] std::filesystem::path backup_name(const std::filesystem::path& file);

// The file a name stands for: symbolic links followed to their end as the file
// system follows them (a relative link counts from the folder the link really
// lies in, ".." included).
[[nodiscard]] std::filesystem::path resolve_links(const std::filesystem::path& file);

// The backup of the file a name stands for (beside the link's target).
[[nodiscard]] std::filesystem::path backup_of(const std::filesystem::path& file);

// True for the names of this module's temporary files.
[[nodiscard]] bool is_temporary_name(const std::filesystem::path& file);

// True when the two names stand for one file (any spelling, links included), or
// one of them is a temporary name of the rewrites: writing one would destroy
// the other.
[[nodiscard]] bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

// Both writes hold the file's lock (file_lock.h) while they work; a caller that
// reads the file first holds it from before its read. Another holder is waited
// for a few seconds, then nothing is written and the message says so.

// Writes `bytes` as the new content of `target` (created when missing).
[[nodiscard]] WriteOutcome write_file_safely(const std::filesystem::path& target,
                                             std::string_view bytes);

// Keeps `old_bytes` (what the caller read from `target`) as the backup, then
// writes `new_bytes` as above. A failure leaves target and backup complete.
// With `expected`, nothing is written unless the file still has that stamp,
// checked first and again right before the replacement.
[[nodiscard]] WriteOutcome rewrite_with_backup(const std::filesystem::path& target,
                                               std::string_view old_bytes,
                                               std::string_view new_bytes,
                                               const FileStamp* expected = nullptr);

// For tests: called at each step of a write with the step's name
// ("writing backup", "syncing backup", "closing backup", "before backup rename",
// "syncing backup folder", "backup written", "writing temporary",
// "syncing temporary", "closing temporary", "before rename", "syncing folder",
// "renamed", "keeping attributes", "writing in place", "syncing in place",
// "closing in place", "written in place", and when a failed write in place is
// undone "writing back", "syncing back", "closing back");
// returning false makes that step fail as an I/O error would.
using RewriteHook = std::function<bool(std::string_view step)>;
void set_rewrite_hook(RewriteHook hook);

}  // namespace merkwald
