#include "file_lock.h"

#include <cerrno>
#include <mutex>
#include <thread>
#include <vector>

#include "file_access.h"
#include "platform_file.h"
#include "safe_rewrite.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds kPoll{10};

// One object this process holds the lock of. flock belongs to the open file,
// not to the process: a second open of the same file in this process would wait
// for the first, so every holding is kept here and nested instead.
// A rewrite renames a new file over the name: the new file joins the holding
// before the rename, so that the lock follows the name.
struct Holding {
    struct Object {
        platform::Info file;
        int fd = -1;
    };
    std::vector<Object> objects;
    int count = 0;  // 0: the slot is free
    std::thread::id thread;

    [[nodiscard]] bool has(const platform::Info& info) const {
        for (const Object& o : objects)
            if (o.file.same_file(info)) return true;
        return false;
    }
};

std::mutex& registry_mutex() {
    static std::mutex m;
    return m;
}

std::vector<Holding>& registry() {
    static std::vector<Holding> r;
    return r;
}

std::chrono::milliseconds& default_wait() {
    static std::chrono::milliseconds wait = kLockWait;
    return wait;
}

// The file the name stands for, or its folder when nothing stands there yet.
int open_lock_object(const fs::path& target, bool& is_folder) {
    is_folder = false;
    const int fd = platform::open_for_locking(target);
    if (fd >= 0 || errno != ENOENT) return fd;
    is_folder = true;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    return platform::open_folder(folder);
}

// Every rewrite renames a new file over the name: the locked file must still
// be the one at the name (or the name still free, for a locked folder).
bool still_current(const fs::path& target, bool is_folder, const platform::Info& locked) {
    platform::Info now;
    if (!platform::info_at(target, now, false)) return is_folder && errno == ENOENT;
    return !is_folder && now.same_file(locked);
}

enum class Take { taken, busy, unsupported };

// Takes or nests the lock of the open object `fd`. When taken, `fd` is closed
// or has become the holding's own; when busy it stays open for the next try.
Take take(int fd, const platform::Info& st, int& slot) {
    const std::lock_guard guard(registry_mutex());
    std::vector<Holding>& held = registry();
    for (std::size_t i = 0; i < held.size(); ++i) {
        Holding& h = held[i];
        if (h.count == 0 || !h.has(st)) continue;
        if (h.thread != std::this_thread::get_id()) return Take::busy;
        (void)platform::close(fd);
        ++h.count;
        slot = static_cast<int>(i);
        return Take::taken;
    }
    const platform::Lock lock = platform::try_lock(fd);
    if (lock == platform::Lock::busy) return Take::busy;
    if (lock == platform::Lock::unsupported) {
        (void)platform::close(fd);
        return Take::unsupported;
    }
    std::size_t free = 0;
    while (free < held.size() && held[free].count != 0) ++free;
    if (free == held.size()) held.emplace_back();
    held[free] = {{{st, fd}}, 1, std::this_thread::get_id()};
    slot = static_cast<int>(free);
    return Take::taken;
}

void release(int slot) {
    const std::lock_guard guard(registry_mutex());
    Holding& h = registry()[std::size_t(slot)];
    if (--h.count > 0) return;
    for (const Holding::Object& o : h.objects) {
        platform::unlock(o.fd);
        (void)platform::close(o.fd);
    }
    h = {};
}

}  // namespace

FileLock::~FileLock() {
    if (slot_ >= 0) release(slot_);
}

std::string file_busy_message(const fs::path& file) {
    return "Die Datei " + display_name(file) +
           " wird gerade von einem anderen Programm geschrieben. Es wurde nichts gespeichert; "
           "bitte in einigen Sekunden noch einmal versuchen.";
}

FileLock lock_file(const fs::path& file, std::chrono::milliseconds wait) {
    const fs::path target = resolve_links(file);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    FileLock lock;
    for (;;) {
        bool is_folder = false;
        const int fd = open_lock_object(target, is_folder);
        platform::Info st;
        const bool opened = fd >= 0 && platform::info_of(fd, st);
        if (!opened) {
            if (fd >= 0) (void)platform::close(fd);
            // Nothing to lock: the write that follows fails and says why.
            lock.held_ = true;
            return lock;
        }
        // The object stays open while waiting for it: the holder's work is visible.
        for (;;) {
            int slot = -1;
            const Take taken = take(fd, st, slot);
            if (taken == Take::unsupported) {
                lock.held_ = true;
                return lock;
            }
            if (taken == Take::taken) {
                if (still_current(target, is_folder, st)) {
                    lock.held_ = true;
                    lock.slot_ = slot;
                    return lock;
                }
                release(slot);
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                (void)platform::close(fd);
                lock.message_ = file_busy_message(file);
                return lock;
            }
            std::this_thread::sleep_for(kPoll);
            if (!still_current(target, is_folder, st)) {
                (void)platform::close(fd);
                break;
            }
        }
    }
}

FileLock lock_file(const fs::path& file) { return lock_file(file, default_wait()); }

void lock_replacement(const fs::path& target, int fd) {
    platform::Info at;
    if (!platform::info_at(target, at, false)) {
        const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        if (!platform::info_at(folder, at, true)) return;
    }
    platform::Info replacement;
    if (!platform::info_of(fd, replacement)) return;
    const std::lock_guard guard(registry_mutex());
    for (Holding& h : registry()) {
        if (h.count == 0 || h.thread != std::this_thread::get_id() || !h.has(at)) continue;
        const int own = platform::duplicate(fd);
        if (own < 0) return;
        // A new file nobody else knows yet: the lock is free.
        if (platform::try_lock(own) != platform::Lock::taken) {
            (void)platform::close(own);
            return;
        }
        h.objects.push_back({replacement, own});
        return;
    }
}

void set_lock_wait(std::chrono::milliseconds wait) { default_wait() = wait; }

}  // namespace merkwald
