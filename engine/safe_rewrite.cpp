#include "safe_rewrite.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "file_lock.h"
#include "platform_file.h"
#include "system_error.h"

namespace merkwald {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryMark = "~mw.";
constexpr std::size_t kTemporarySuffix = 6;  // the letters mkostemp fills in

// A temporary file left this long without a write belongs to a write that died.
constexpr std::time_t kStaleSeconds = 60;

// As many links in a row as the system itself follows.
constexpr int kMostLinkHops = 40;

RewriteHook& hook() {
    static RewriteHook h;
    return h;
}

// True when the step may go on; a test hook may make it fail.
bool step(std::string_view name) { return !hook() || hook()(name); }

int last_error() { return errno == 0 ? EIO : errno; }

// The names of the steps of one file's replacement, for the test hook.
struct Steps {
    std::string_view writing, syncing, closing, before_rename, flushing, done;
};
constexpr Steps kTargetSteps{"writing temporary", "syncing temporary", "closing temporary",
                             "before rename",     "syncing folder",    "renamed"};
constexpr Steps kBackupSteps{"writing backup",       "syncing backup",        "closing backup",
                             "before backup rename", "syncing backup folder", "backup written"};
constexpr Steps kInPlaceSteps{"writing in place", "syncing in place", "closing in place", {}, {},
                              "written in place"};
constexpr Steps kRestoreSteps{"writing back", "syncing back", "closing back", {}, {}, {}};
constexpr std::string_view kAttributesStep = "keeping attributes";

int write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const long put = platform::write_some(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return last_error();
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

// Writes in two halves so that a test can interrupt between them; every write
// checked.
int write_content(int fd, std::string_view bytes, const Steps& steps) {
    const std::size_t half = bytes.size() / 2;
    int error = write_all(fd, bytes.substr(0, half));
    if (error == 0 && !step(steps.writing)) error = EIO;
    if (error == 0) error = write_all(fd, bytes.substr(half));
    if (error == 0 && !platform::set_size(fd, bytes.size())) error = last_error();
    return error;
}

// Syncs and closes after `error` (0: no failure so far); the descriptor is
// closed in any case.
int sync_close(platform::Descriptor& fd, int error, const Steps& steps) {
    if (error == 0 && !step(steps.syncing)) error = EIO;
    if (error == 0 && !platform::sync(fd.get())) error = last_error();
    const bool close_allowed = step(steps.closing);
    if (!fd.close() && error == 0) error = last_error();
    if (error == 0 && !close_allowed) error = EIO;
    return error;
}

int write_sync_close(platform::Descriptor& fd, std::string_view bytes, const Steps& steps) {
    return sync_close(fd, write_content(fd.get(), bytes, steps), steps);
}

fs::path folder_of(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// The rename itself must reach the disk too, or a crash may bring back the old
// name.
int flush_folder(const fs::path& folder, std::string_view step_name) {
    if (!step(step_name)) return EIO;
    return platform::flush_folder(folder);
}

void remove_quietly(const fs::path& p) { platform::remove(p); }

// A name made of UTF-8 text, the way it reaches every system.
fs::path utf8_path(std::string_view name) {
    return fs::path(std::u8string(name.begin(), name.end()));
}

// The start of the temporary names for `target`: its name behind a dot, cut
// (never inside a UTF-8 sequence) so that the whole temporary name stays within
// the longest name the folder allows, and any name that can be read can be saved.
std::string temporary_stem(const fs::path& target) {
    const std::size_t room =
        platform::longest_name(folder_of(target)) - kTemporaryMark.size() - kTemporarySuffix;
    // Appended rather than `"." + name`: GCC 12 at -O3 reports a false overlap
    // (-Wrestrict) inside std::string's operator+ for a one-character prefix.
    std::string stem = ".";
    stem += display_name(target.filename());
    if (stem.size() > room) {
        std::size_t cut = room;
        while (cut > 1 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem.resize(cut);
    }
    return stem;
}

// A fresh name beside `target`, created exclusively with owner-only rights,
// never through a link and never under an existing name.
platform::Descriptor create_temporary(const fs::path& target, fs::path& temp) {
    std::string name = temporary_stem(target);
    name += kTemporaryMark;
    name.append(kTemporarySuffix, 'X');
    fs::path pattern = target.parent_path() / utf8_path(name);
    platform::Descriptor fd(platform::create_temporary(pattern));
    if (fd.is_open()) temp = pattern;
    return fd;
}

// Whether `name` is one of the temporary names made for `stem`.
bool is_temporary_of(std::string_view name, std::string_view stem) {
    if (name.size() != stem.size() + kTemporaryMark.size() + kTemporarySuffix) return false;
    if (!name.starts_with(stem) ||
        name.substr(stem.size(), kTemporaryMark.size()) != kTemporaryMark)
        return false;
    return std::all_of(name.end() - kTemporarySuffix, name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

// Removes what writes of `target` killed before their rename left behind: only
// names of this module's pattern for `target`, regular files of this process's
// owner with no other link, not written to for a minute. Should a write still
// be running elsewhere after all, its rename fails and it says so; the target
// stays whole either way.
void remove_stale_temporaries(const fs::path& target) {
    const std::string stem = temporary_stem(target);
    const fs::path folder = folder_of(target);
    const std::int64_t now = std::time(nullptr);
    for (const std::string& name : platform::names_in(folder)) {
        if (!is_temporary_of(name, stem)) continue;
        const fs::path temp = folder / utf8_path(name);
        platform::Info info;
        if (!platform::info_at(temp, info, false)) continue;
        if (info.kind != platform::Kind::regular || info.owner != platform::own_owner() ||
            info.links != 1)
            continue;
        if (now - info.modified_ns / 1000000000 < kStaleSeconds) continue;
        platform::remove(temp);
    }
}

// What the target is now, when it exists.
std::optional<platform::Info> status_of(const fs::path& p) {
    platform::Info info;
    if (!platform::info_at(p, info, false)) return std::nullopt;
    return info;
}

// What the new file is to look like: the file it replaces, or whose content
// it keeps.
struct Original {
    std::optional<platform::Info> st;
    fs::path path;  // where its extended attributes are read
    // Attributes that cannot be set are left out (and the new file made
    // owner-only) instead of refusing the route.
    bool lenient = false;
};

struct TempResult {
    int error = 0;
    bool kept = true;  // owner, group and attributes as the original's
};

// The temporary file with the content and, where the system allows, the old
// file's owner, group and extended attributes; it is owner-only while being
// written and gets the old file's bits just before it is synced. The file is
// closed when this returns, so that it can be renamed or removed.
TempResult write_temporary(platform::Descriptor fd, std::string_view bytes, const Original& like,
                           const Steps& steps) {
    TempResult result;
    const std::optional<platform::Info>& old = like.st;
    if (old && (old->owner != platform::own_owner() || old->group != platform::own_group())) {
        result.kept = platform::set_owner(fd.get(), old->owner, old->group);
    }
    if (!result.kept) return result;
    int error = write_content(fd.get(), bytes, steps);
    unsigned mode = old ? old->mode : platform::new_file_mode();
    if (error == 0 && old &&
        !platform::keep_attributes(fd.get(), like.path, [] { return step(kAttributesStep); })) {
        if (!like.lenient) {
            result.kept = false;
            return result;
        }
        // An access list left out might have kept others away.
        mode &= 0700;
    }
    if (error == 0 && !platform::set_mode(fd.get(), mode)) error = last_error();
    result.error = sync_close(fd, error, steps);
    return result;
}

enum class Route { renamed, in_place_needed };

// Temporary file, sync, rename: the content of `target` is complete at every
// moment. Answers `in_place_needed` when a rename would lose the owner or an
// attribute. When the rename happened but the folder could not be synced,
// the outcome fails with `folder_not_synced`.
Route replace_by_rename(const fs::path& target, std::string_view bytes, const Original& like,
                        const Steps& steps, WriteOutcome& outcome) {
    fs::path temp;
    errno = 0;
    platform::Descriptor fd = create_temporary(target, temp);
    if (!fd.is_open()) {
        outcome =
            WriteOutcome::failed(WriteFailure::no_temporary, target.parent_path(), last_error());
        return Route::renamed;
    }
    lock_replacement(target, fd.get());
    const TempResult written = write_temporary(std::move(fd), bytes, like, steps);
    if (!written.kept) {
        remove_quietly(temp);
        return Route::in_place_needed;
    }
    if (written.error != 0) {
        remove_quietly(temp);
        outcome = WriteOutcome::failed(WriteFailure::temporary_not_written, temp, written.error);
        return Route::renamed;
    }
    int error = step(steps.before_rename) ? 0 : EIO;
    if (error == 0 && !platform::rename_over(temp, target)) error = last_error();
    if (error != 0) {
        remove_quietly(temp);
        outcome = WriteOutcome::failed(WriteFailure::not_replaced, target, error);
        return Route::renamed;
    }
    const int flushed = flush_folder(folder_of(target), steps.flushing);
    if (flushed != 0) {
        outcome = WriteOutcome::failed(WriteFailure::folder_not_synced, folder_of(target), flushed);
        return Route::renamed;
    }
    step(steps.done);
    outcome = {};
    return Route::renamed;
}

// How far a write into the file itself got.
struct InPlace {
    int error = 0;
    bool touched = false;  // the file may no longer hold what it held
};

InPlace write_into(const fs::path& target, std::string_view bytes, const platform::Info& old,
                   const Steps& steps) {
    platform::Descriptor fd(platform::open_for_writing(target));
    if (!fd.is_open()) return {last_error(), false};
    platform::Info now;
    if (!platform::info_of(fd.get(), now) || !now.same_file(old)) {
        return {EAGAIN, false};  // another file took the name meanwhile
    }
    return {write_sync_close(fd, bytes, steps), true};
}

// What a file written in place holds after the write and the putting back
// both failed, as far as it can be read.
DamagedContent what_it_holds(const fs::path& target, Rewrite content) {
    std::string now;
    if (!read_regular_file(target, now).ok) return DamagedContent::unknown;
    if (now == content.after) return DamagedContent::new_content;
    if (now == content.before) return DamagedContent::old_content;
    return DamagedContent::neither;
}

// For a file with several links, a foreign owner or attributes a new file
// cannot get: the content goes into the file itself. On failure the old content
// is put back; a backup the caller made holds it as well, already on disk.
// Should putting it back fail too, the outcome says what the file holds now.
WriteOutcome replace_in_place(const fs::path& target, Rewrite content, const platform::Info& old) {
    const InPlace written = write_into(target, content.after, old, kInPlaceSteps);
    if (written.error == 0) {
        step(kInPlaceSteps.done);
        return {};
    }
    if (!written.touched || write_into(target, content.before, old, kRestoreSteps).error == 0) {
        return WriteOutcome::failed(WriteFailure::not_written, target, written.error);
    }
    WriteOutcome damaged = WriteOutcome::failed(WriteFailure::damaged, target, written.error);
    damaged.holds = what_it_holds(target, content);
    return damaged;
}

// One file replaced by the right route; `content.before` is what `target` holds now.
WriteOutcome replace_file(const fs::path& target, Rewrite content) {
    const std::optional<platform::Info> old = status_of(target);
    if (old && old->kind != platform::Kind::regular) {
        return WriteOutcome::failed(WriteFailure::not_regular, target);
    }
    remove_stale_temporaries(target);
    WriteOutcome outcome;
    if (!old || old->links <= 1) {
        if (replace_by_rename(target, content.after, {old, target}, kTargetSteps, outcome) ==
            Route::renamed)
            return outcome;
    }
    return replace_in_place(target, content, *old);
}

// The folder a name lies in as the file system sees it: its links and ".."
// resolved (".." leaves the real folder, not the text before it).
fs::path real_folder(const fs::path& file) {
    std::error_code ec;
    const fs::path real = fs::canonical(folder_of(file), ec);
    return ec ? file.parent_path() : real;
}

// Refuses a target that exists but may not be written.
std::optional<WriteOutcome> refuse_unwritable(const fs::path& target) {
    const std::optional<platform::Info> st = status_of(target);
    if (!st) return std::nullopt;
    if (st->kind != platform::Kind::regular) {
        return WriteOutcome::failed(WriteFailure::not_regular, target);
    }
    if (!platform::may_write(target, *st)) {
        return WriteOutcome::failed(WriteFailure::read_only, target);
    }
    return std::nullopt;
}

bool changed_since(const fs::path& target, const FileStamp* expected) {
    return expected != nullptr && current_stamp(target) != *expected;
}

WriteOutcome changed_outside(const fs::path& file) {
    return WriteOutcome::failed(WriteFailure::changed_outside, file);
}

// What a damaged file holds, as a sentence of its own (none when unknown).
std::string_view holds_sentence(DamagedContent holds) {
    switch (holds) {
        case DamagedContent::unknown:
            break;
        case DamagedContent::new_content:
            return " Sie enthält den neuen Inhalt, doch er ist womöglich nicht "
                   "vollständig auf dem Datenträger.";
        case DamagedContent::old_content:
            return " Sie enthält wieder den vorigen Inhalt, doch er ist womöglich "
                   "nicht vollständig auf dem Datenträger.";
        case DamagedContent::neither:
            return " Sie enthält weder den vorigen noch den neuen Inhalt.";
    }
    return {};
}

// The failure itself, without what it means for the file being written.
std::string failure_sentence(const WriteOutcome& o) {
    const std::string name = display_name(o.path);
    const std::string reason = german_error_reason(o.error);
    switch (o.failure) {
        case WriteFailure::none:
        case WriteFailure::needs_utf8:
            break;
        case WriteFailure::worded:
            return o.detail;
        case WriteFailure::busy:
            return file_busy_message(o.path);
        case WriteFailure::changed_outside:
            return o.detail.empty() ? changed_outside_message(o.path) : o.detail;
        case WriteFailure::not_regular:
            return "Die Datei " + name + " ist keine gewöhnliche Datei.";
        case WriteFailure::read_only:
            return "Die Datei " + name +
                   " ist schreibgeschützt oder darf nicht geändert werden. Sie bleibt unverändert.";
        case WriteFailure::unreadable:
            return unreadable_message(o.path);
        case WriteFailure::no_temporary:
            return "Im Ordner " + name + " kann keine temporäre Datei angelegt werden" + reason +
                   ".";
        case WriteFailure::temporary_not_written:
            return "Die temporäre Datei " + name + " konnte nicht geschrieben werden" + reason +
                   ".";
        case WriteFailure::not_replaced:
            return "Die Datei " + name + " konnte nicht ersetzt werden" + reason + ".";
        case WriteFailure::folder_not_synced:
            return "Der Ordner " + name + " konnte nicht auf den Datenträger geschrieben werden" +
                   reason + ".";
        case WriteFailure::not_written:
            return "Die Datei " + name + " konnte nicht geschrieben werden" + reason + ".";
        case WriteFailure::damaged:
            return "Die Datei " + name + " konnte nicht geschrieben werden" + reason +
                   ", und ihr voriger Inhalt ließ sich nicht zurückschreiben." +
                   std::string(holds_sentence(o.holds)) +
                   " Die Datei ist möglicherweise beschädigt";
    }
    return {};
}

}  // namespace

WriteOutcome WriteOutcome::failed(WriteFailure kind, fs::path path, int error) {
    WriteOutcome outcome;
    outcome.failure = kind;
    outcome.path = std::move(path);
    outcome.error = error;
    return outcome;
}

WriteOutcome WriteOutcome::worded(std::string sentence) {
    WriteOutcome outcome;
    outcome.failure = WriteFailure::worded;
    outcome.detail = std::move(sentence);
    return outcome;
}

std::string german_text(const WriteOutcome& o) {
    std::string text = failure_sentence(o);
    if (o.ok() || o.is(WriteFailure::needs_utf8)) return text;
    const std::string target = display_name(o.target);
    const std::string backup = display_name(backup_name(o.target));
    const std::string unchanged = " Die Datei " + target + " bleibt unverändert.";
    if (o.stage == WriteStage::backup) {
        if (o.is(WriteFailure::folder_not_synced)) {
            return "Die Sicherungsdatei " + backup + " wurde geschrieben. " + text +
                   " Sie ist deshalb möglicherweise nicht dauerhaft gespeichert." + unchanged;
        }
        return "Die Sicherungsdatei " + backup + " konnte nicht geschrieben werden. " + text +
               unchanged;
    }
    const bool backed_up = o.stage == WriteStage::after_backup;
    if (o.is(WriteFailure::folder_not_synced)) {
        text = "Die Datei " + target + " wurde geschrieben. " + text +
               " Die Änderung ist deshalb möglicherweise nicht dauerhaft gespeichert.";
        if (backed_up) text += " Der vorige Inhalt steht in der Sicherungsdatei " + backup + ".";
        return text;
    }
    if (o.is(WriteFailure::damaged)) {
        return text + (backed_up
                           ? "; ihr voriger Inhalt steht in der Sicherungsdatei " + backup + "."
                           : std::string("."));
    }
    return backed_up ? text + unchanged : text;
}

fs::path backup_name(const fs::path& file) {
    const std::u8string name = file.filename().u8string();
    // Cut three code points, never a byte in the middle of one.
    std::size_t cut = name.size();
    for (int dropped = 0; dropped < 3 && cut > 0; ++dropped) {
        do {
            --cut;
        } while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80);
    }
    std::u8string backup = name.substr(0, cut) + u8"bak";
    if (backup == name) backup = name + u8".bak";
    return file.parent_path() / fs::path(backup);
}

fs::path resolve_links(const fs::path& file) {
    if (std::optional<fs::path> end = platform::link_end(file)) return *std::move(end);
    fs::path p = file;
    bool physical =
        std::any_of(p.begin(), p.end(), [](const fs::path& part) { return part == ".."; });
    std::error_code ec;
    for (int hops = 0; hops < kMostLinkHops && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) break;
        p = next.is_absolute() ? next : real_folder(p) / next;
        physical = true;
    }
    // Without ".." and links the text is the way; else the file system's answer.
    if (!physical) return p.lexically_normal();
    const fs::path name = p.filename();
    if (name.empty() || name == "." || name == "..") {
        const fs::path real = fs::weakly_canonical(p, ec);
        return ec ? p : real;
    }
    return real_folder(p) / name;
}

fs::path backup_of(const fs::path& file) { return backup_name(resolve_links(file)); }

bool is_temporary_name(const fs::path& file) {
    const std::string name = display_name(file.filename());
    const std::size_t mark = name.rfind(kTemporaryMark);
    return name.starts_with('.') && mark != std::string::npos &&
           is_temporary_of(name, std::string_view(name).substr(0, mark));
}

bool same_file(const fs::path& a, const fs::path& b) {
    if (is_temporary_name(a) || is_temporary_name(b)) return true;
    std::error_code ec;
    if (fs::equivalent(a, b, ec) && !ec) return true;
    std::error_code ec_a, ec_b;
    const fs::path real_a = fs::weakly_canonical(resolve_links(a), ec_a);
    const fs::path real_b = fs::weakly_canonical(resolve_links(b), ec_b);
    return !ec_a && !ec_b && real_a == real_b;
}

namespace {

WriteOutcome write_resolved(const fs::path& target, std::string_view bytes) {
    const FileLock lock = lock_file(target);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, target);
    if (auto refused = refuse_unwritable(target)) return *refused;
    std::string old_bytes;
    // Should the file have to be written in place, its old content is put back on failure.
    if (status_of(target) && !read_regular_file(target, old_bytes).ok) {
        return WriteOutcome::failed(WriteFailure::unreadable, target);
    }
    WriteOutcome outcome = replace_file(target, {.before = old_bytes, .after = bytes});
    if (outcome.ok()) outcome.written_stamp = stamp_of_written(target, bytes);
    // What a failed write left may be any content: only the file itself can tell.
    if (outcome.content_changed()) outcome.written_stamp = current_stamp(target);
    return outcome;
}

WriteOutcome rewrite_resolved(const fs::path& file, const fs::path& target, Rewrite content,
                              const FileStamp* expected) {
    const FileLock lock = lock_file(target);
    if (!lock.held()) return WriteOutcome::failed(WriteFailure::busy, target);
    if (auto refused = refuse_unwritable(target)) return *refused;
    if (changed_since(target, expected)) return changed_outside(file);
    const fs::path backup = backup_name(target);
    const std::optional<platform::Info> old = status_of(target);
    WriteOutcome kept;
    remove_stale_temporaries(backup);
    // The backup is a file of its own: it gets the target's bits and attributes,
    // never its links. Where it cannot be the target's owner's, it is ours and
    // keeps what it can.
    if (replace_by_rename(backup, content.before, {old, target}, kBackupSteps, kept) ==
        Route::in_place_needed) {
        Original own{old, target, true};
        own.st->owner = platform::own_owner();
        own.st->group = platform::own_group();
        (void)replace_by_rename(backup, content.before, own, kBackupSteps, kept);
    }
    if (!kept.ok()) {
        kept.stage = WriteStage::backup;
        return kept;
    }
    // Checked again right before the replacement: a program that does not take
    // the lock may have written meanwhile. The backup then holds what this
    // writer read, still a complete file.
    if (changed_since(target, expected)) return changed_outside(file);
    WriteOutcome written = replace_file(target, content);
    written.stage = WriteStage::after_backup;
    if (!written.ok() && !written.content_changed()) return written;
    written.backup = backup;
    written.backup_stamp = stamp_of_written(backup, content.before);
    written.written_stamp =
        written.ok() ? stamp_of_written(target, content.after) : current_stamp(target);
    return written;
}

}  // namespace

WriteOutcome write_file_safely(const fs::path& file, std::string_view bytes) {
    const fs::path target = resolve_links(file);
    WriteOutcome outcome = write_resolved(target, bytes);
    outcome.target = target;
    return outcome;
}

WriteOutcome rewrite_with_backup(const fs::path& file, Rewrite content, const FileStamp* expected) {
    const fs::path target = resolve_links(file);
    WriteOutcome outcome = rewrite_resolved(file, target, content, expected);
    outcome.target = target;
    return outcome;
}

void set_rewrite_hook(RewriteHook h) { hook() = std::move(h); }

}  // namespace merkwald
