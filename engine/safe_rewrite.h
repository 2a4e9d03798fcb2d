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

// Why a write failed. The kind, the system's error number and the path are the
// data; german_text words them where they are shown.
enum class WriteFailure {
    none,
    worded,                 // a caller's own reason, already a German sentence: `detail`
    busy,                   // another program held the file's lock
    changed_outside,        // nothing written: the file was not as expected
    needs_utf8,             // nothing written: the file would become UTF-8 (the caller asks)
    not_regular,            // a folder, device or the like stands under the name
    read_only,              // the file may not be changed
    unreadable,             // the content to keep could not be read
    no_temporary,           // no temporary file could be made in the folder `path`
    temporary_not_written,  // the temporary file `path` could not be written
    not_replaced,           // the rename over `path` failed
    folder_not_synced,      // renamed, but the folder `path` may not have reached the disk
    not_written,            // written in place, failed, and the old content put back
    damaged,                // written in place, failed, and putting back failed too
};

// Which file of a write failed: the only one, the backup (the file itself then
// stays unchanged), or the file after its backup was written.
enum class WriteStage { single, backup, after_backup };

// What a file holds after `damaged`, as far as it can be read.
enum class DamagedContent { unknown, new_content, old_content, neither };

// What a write did.
struct WriteOutcome {
    WriteFailure failure = WriteFailure::none;
    int error = 0;                 // the system's error number, 0 when none applies
    std::filesystem::path path;    // the file or folder the failure concerns
    std::filesystem::path target;  // the file written, links resolved
    WriteStage stage = WriteStage::single;
    DamagedContent holds = DamagedContent::unknown;
    // `worded`: the sentence; `changed_outside`: the reader's sentence when the
    // file could not even be read again (empty: the usual one).
    std::string detail;
    std::filesystem::path backup;  // the backup this write made, empty when none
    FileStamp backup_stamp;        // ... and what it holds
    FileStamp written_stamp;       // the target after the write

    [[nodiscard]] bool ok() const { return failure == WriteFailure::none; }
    [[nodiscard]] bool is(WriteFailure kind) const { return failure == kind; }
    // Not ok, and yet the file no longer holds what it held: the new content
    // may not be durable, or the file may be damaged.
    [[nodiscard]] bool content_changed() const {
        return stage != WriteStage::backup &&
               (failure == WriteFailure::folder_not_synced || failure == WriteFailure::damaged);
    }

    [[nodiscard]] static WriteOutcome failed(WriteFailure kind, std::filesystem::path path,
                                             int error = 0);
    [[nodiscard]] static WriteOutcome worded(std::string sentence);
};

// The outcome in German for the user: empty for success and for `needs_utf8`
// (a question follows instead).
[[nodiscard]] std::string german_text(const WriteOutcome& outcome);

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

// The two contents of a rewrite, named: swapped, the backup would hold the new
// text and the file the old one.
struct Rewrite {
    std::string_view before;  // what the caller read from the file: the backup's content
    std::string_view after;   // what the file is to hold
};

// Keeps `content.before` (what the caller read from `target`) as the backup,
// then writes `content.after` as above. A failure leaves target and backup
// complete. With `expected`, nothing is written unless the file still has that
// stamp, checked first and again right before the replacement.
[[nodiscard]] WriteOutcome rewrite_with_backup(const std::filesystem::path& target, Rewrite content,
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
