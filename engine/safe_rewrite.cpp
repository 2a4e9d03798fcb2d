#include "safe_rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "system_error.h"

namespace merkwald {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryMark = "~mw.";

RewriteHook& hook() {
    static RewriteHook h;
    return h;
}

// True when the step may go on; a test hook may make it fail.
bool step(std::string_view name) { return !hook() || hook()(name); }

int last_error() { return errno == 0 ? EIO : errno; }

// The names of the steps of one file's replacement, for the test hook.
struct Steps {
    std::string_view writing, syncing, closing, before_rename, done;
};
constexpr Steps kTargetSteps{"writing temporary", "syncing temporary", "closing temporary",
                             "before rename", "renamed"};
constexpr Steps kBackupSteps{"writing backup", "syncing backup", "closing backup",
                             "before backup rename", "backup written"};
constexpr Steps kInPlaceSteps{
    "writing in place", "syncing in place", "closing in place", {}, "written in place"};

int write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
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
    if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = last_error();
    return error;
}

// Syncs and closes after `error` (0: no failure so far); the descriptor is
// closed in any case.
int sync_close(int fd, int error, const Steps& steps) {
    if (error == 0 && !step(steps.syncing)) error = EIO;
    if (error == 0 && ::fsync(fd) != 0) error = last_error();
    const bool close_allowed = step(steps.closing);
    if (::close(fd) != 0 && error == 0) error = last_error();
    if (error == 0 && !close_allowed) error = EIO;
    return error;
}

int write_sync_close(int fd, std::string_view bytes, const Steps& steps) {
    return sync_close(fd, write_content(fd, bytes, steps), steps);
}

// The rename itself must reach the disk too, or a crash may bring back the old name.
void flush_folder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void remove_quietly(const fs::path& p) { ::unlink(p.c_str()); }

// A fresh name beside `target`, created exclusively with owner-only rights;
// mkostemp never follows a link and never reuses an existing name.
int create_temporary(const fs::path& target, fs::path& temp) {
    // Appended rather than `"." + name`: GCC 12 at -O3 reports a false overlap
    // (-Wrestrict) inside std::string's operator+ for a one-character prefix.
    std::string hidden = ".";
    hidden += target.filename().string();
    std::string pattern = (target.parent_path() / hidden).string();
    pattern += kTemporaryMark;
    pattern += "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) temp = fs::path(name.data());
    return fd;
}

mode_t current_umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// What the target is now, when it exists.
std::optional<struct stat> status_of(const fs::path& p) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0) return std::nullopt;
    return st;
}

// Writable by the rules of its bits: even where the system would let us (as
// the administrator) write a file marked read-only, it is not replaced.
bool may_write(const fs::path& p, const struct stat& st) {
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(p.c_str(), W_OK) == 0;
}

struct TempResult {
    int error = 0;
    bool owner_kept = true;
};

// The temporary file with the content and, where the system allows, the old
// file's owner and group; it is owner-only while being written and gets the
// old file's bits just before it is synced.
TempResult write_temporary(int fd, std::string_view bytes, const std::optional<struct stat>& old,
                           const Steps& steps) {
    TempResult result;
    if (old && (old->st_uid != ::geteuid() || old->st_gid != ::getegid())) {
        result.owner_kept = ::fchown(fd, old->st_uid, old->st_gid) == 0;
    }
    if (!result.owner_kept) {
        ::close(fd);
        return result;
    }
    int error = write_content(fd, bytes, steps);
    const mode_t mode = old ? (old->st_mode & 07777) : (0666 & ~current_umask());
    if (error == 0 && ::fchmod(fd, mode) != 0) error = last_error();
    result.error = sync_close(fd, error, steps);
    return result;
}

std::string temporary_failed(const fs::path& temp, int error) {
    return "Die temporäre Datei " + display_name(temp) + " konnte nicht geschrieben werden" +
           german_error_reason(error) + ".";
}

std::string not_replaced(const fs::path& target, int error) {
    return "Die Datei " + display_name(target) + " konnte nicht ersetzt werden" +
           german_error_reason(error) + ".";
}

enum class Route { renamed, in_place_needed };

// Temporary file, sync, rename: the content of `target` is complete at every
// moment. Answers `in_place_needed` when a rename would lose the owner.
Route replace_by_rename(const fs::path& target, std::string_view bytes,
                        const std::optional<struct stat>& old, const Steps& steps,
                        WriteOutcome& outcome) {
    fs::path temp;
    errno = 0;
    const int fd = create_temporary(target, temp);
    if (fd < 0) {
        const int error = last_error();
        outcome = {false, "Im Ordner " + display_name(target.parent_path()) +
                              " kann keine temporäre Datei angelegt werden" +
                              german_error_reason(error) + "."};
        return Route::renamed;
    }
    const TempResult written = write_temporary(fd, bytes, old, steps);
    if (!written.owner_kept) {
        remove_quietly(temp);
        return Route::in_place_needed;
    }
    if (written.error != 0) {
        remove_quietly(temp);
        outcome = {false, temporary_failed(temp, written.error)};
        return Route::renamed;
    }
    int error = step(steps.before_rename) ? 0 : EIO;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = last_error();
    if (error != 0) {
        remove_quietly(temp);
        outcome = {false, not_replaced(target, error)};
        return Route::renamed;
    }
    flush_folder(target.parent_path());
    step(steps.done);
    outcome = {};
    return Route::renamed;
}

int write_into(const fs::path& target, std::string_view bytes, const struct stat& old,
               const Steps& steps) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return last_error();
    struct stat now {};
    if (::fstat(fd, &now) != 0 || now.st_ino != old.st_ino || now.st_dev != old.st_dev) {
        ::close(fd);
        return EAGAIN;  // another file took the name meanwhile
    }
    return write_sync_close(fd, bytes, steps);
}

// For a file with several links or a foreign owner: the content goes into the
// file itself. On failure the old content is put back; the backup holds it as
// well, already on disk.
WriteOutcome replace_in_place(const fs::path& target, std::string_view bytes,
                              std::string_view old_bytes, const struct stat& old) {
    const int error = write_into(target, bytes, old, kInPlaceSteps);
    if (error == 0) {
        step(kInPlaceSteps.done);
        return {};
    }
    const Steps quiet{};
    const bool restored = write_into(target, old_bytes, old, quiet) == 0;
    std::string message = "Die Datei " + display_name(target) + " konnte nicht geschrieben werden" +
                          german_error_reason(error) + ".";
    if (!restored) message += " Ihr voriger Inhalt steht in der Sicherungsdatei.";
    return {false, message};
}

// One file replaced by the right route. `old_bytes` is what `target` holds now.
WriteOutcome replace_file(const fs::path& target, std::string_view bytes,
                          std::string_view old_bytes, const Steps& steps) {
    const std::optional<struct stat> old = status_of(target);
    if (old && !S_ISREG(old->st_mode)) {
        return {false, "Die Datei " + display_name(target) + " ist keine gewöhnliche Datei."};
    }
    WriteOutcome outcome;
    if (!old || old->st_nlink <= 1) {
        if (replace_by_rename(target, bytes, old, steps, outcome) == Route::renamed) {
            return outcome;
        }
    }
    return replace_in_place(target, bytes, old_bytes, *old);
}

std::string read_only_message(const fs::path& target) {
    return "Die Datei " + display_name(target) +
           " ist schreibgeschützt oder darf nicht geändert werden. Sie bleibt unverändert.";
}

// Refuses a target that exists but may not be written.
std::optional<WriteOutcome> refuse_unwritable(const fs::path& target) {
    const std::optional<struct stat> st = status_of(target);
    if (!st) return std::nullopt;
    if (!S_ISREG(st->st_mode)) {
        return WriteOutcome{false,
                            "Die Datei " + display_name(target) + " ist keine gewöhnliche Datei."};
    }
    if (!may_write(target, *st)) return WriteOutcome{false, read_only_message(target)};
    return std::nullopt;
}

}  // namespace

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
    fs::path p = file;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) break;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return p.lexically_normal();
}

fs::path backup_of(const fs::path& file) { return backup_name(resolve_links(file)); }

bool is_temporary_name(const fs::path& file) {
    const std::string name = file.filename().string();
    const std::size_t mark = name.rfind(kTemporaryMark);
    return name.starts_with('.') && mark != std::string::npos &&
           name.size() == mark + kTemporaryMark.size() + 6;
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

WriteOutcome write_file_safely(const fs::path& file, std::string_view bytes) {
    const fs::path target = resolve_links(file);
    if (auto refused = refuse_unwritable(target)) return *refused;
    std::string old_bytes;
    // Should the file have to be written in place, its old content is put back on failure.
    if (status_of(target) && !read_regular_file(target, old_bytes).ok) {
        return {false, unreadable_message(target)};
    }
    WriteOutcome outcome = replace_file(target, bytes, old_bytes, kTargetSteps);
    if (outcome.ok) outcome.written_stamp = stamp_of_written(target, bytes);
    return outcome;
}

WriteOutcome rewrite_with_backup(const fs::path& file, std::string_view old_bytes,
                                 std::string_view new_bytes, const FileStamp* expected) {
    const fs::path target = resolve_links(file);
    if (auto refused = refuse_unwritable(target)) return *refused;
    if (expected != nullptr && current_stamp(target) != *expected) {
        WriteOutcome changed{false, changed_outside_message(file)};
        changed.changed_outside = true;
        return changed;
    }
    const fs::path backup = backup_name(target);
    const std::optional<struct stat> old = status_of(target);
    WriteOutcome kept;
    // The backup is a file of its own: it gets the target's bits, never its links.
    if (replace_by_rename(backup, old_bytes, old, kBackupSteps, kept) == Route::in_place_needed) {
        std::optional<struct stat> own = old;
        own->st_uid = ::geteuid();
        own->st_gid = ::getegid();
        (void)replace_by_rename(backup, old_bytes, own, kBackupSteps, kept);
    }
    if (!kept.ok) {
        return {false, "Die Sicherungsdatei " + display_name(backup) +
                           " konnte nicht geschrieben werden. " + kept.message + " Die Datei " +
                           display_name(target) + " bleibt unverändert."};
    }
    WriteOutcome written = replace_file(target, new_bytes, old_bytes, kTargetSteps);
    if (!written.ok) {
        if (written.message.find("Sicherungsdatei") == std::string::npos) {
            written.message += " Die Datei " + display_name(target) + " bleibt unverändert.";
        }
        return written;
    }
    written.backup = backup;
    written.backup_stamp = stamp_of_written(backup, old_bytes);
    written.written_stamp = stamp_of_written(target, new_bytes);
    return written;
}

void set_rewrite_hook(RewriteHook h) { hook() = std::move(h); }

}  // namespace merkwald
