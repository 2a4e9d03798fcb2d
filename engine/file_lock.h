#pragma once
// Writers of one file take turns: whoever rewrites a reminder file holds its
// lock from reading it until its replacement is in place, in every program of
// this system (the windows, the light program, the command line). The lock is
// the system's advisory lock on the file itself (on Windows a mutex named after
// the file, see platform_file.h), so it leaves no file behind that a sync tool
// would carry, and the system drops it when its holder ends, killed or not.
// Locking the same file again in the same thread nests.

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>

namespace merkwald {

// How long a writer waits for another holder before it gives up.
inline constexpr std::chrono::milliseconds kLockWait{5000};

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept { swap(other); }
    FileLock& operator=(FileLock&& other) noexcept {
        FileLock gone(std::move(other));
        swap(gone);
        return *this;
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    [[nodiscard]] bool held() const { return held_; }
    // German, names the file: why the lock was not had. Empty when held.
    [[nodiscard]] const std::string& message() const { return message_; }

private:
    friend FileLock lock_file(const std::filesystem::path& file, std::chrono::milliseconds wait);
    void swap(FileLock& other) noexcept {
        std::swap(held_, other.held_);
        std::swap(slot_, other.slot_);
        std::swap(message_, other.message_);
    }

    bool held_ = false;
    int slot_ = -1;  // the holding in this process, -1 when nothing needed locking
    std::string message_;
};

// The lock of the file `file` names (links followed), waiting at most `wait`
// for another holder. Where nothing stands yet the file's folder is locked
// instead, so that two writers do not both create it. Where nothing can be
// opened to lock (a missing folder, an unreadable file), the lock is held
// without an object: the write itself will then fail and say why.
[[nodiscard]] FileLock lock_file(const std::filesystem::path& file, std::chrono::milliseconds wait);
// ... waiting kLockWait, or what set_lock_wait set.
[[nodiscard]] FileLock lock_file(const std::filesystem::path& file);

// For tests: how long lock_file(file) waits.
void set_lock_wait(std::chrono::milliseconds wait);

// For the rewrites: the new file `fd`, about to be renamed over `target`,
// joins this thread's holding of `target`'s lock (if any) until it ends, so
// that no other writer takes the renamed file while the holder is still at work.
void lock_replacement(const std::filesystem::path& target, int fd);

// "Die Datei ... wird gerade von einem anderen Programm geschrieben. ..."
[[nodiscard]] std::string file_busy_message(const std::filesystem::path& file);

}  // namespace merkwald
