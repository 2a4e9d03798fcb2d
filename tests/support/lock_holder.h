#pragma once
// Another program holding the lock of a file: this test binary started again
// with a variable naming the file. Before main runs, it takes the lock, says
// so by creating the file's ".held" marker and holds the lock until its ".go"
// marker appears, or until it is killed. One source file of a test program
// includes it.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "engine/file_lock.h"

extern char** environ;

namespace merkwald::test {

inline std::filesystem::path lock_marker(const std::filesystem::path& file, const char* what) {
    return std::filesystem::path(file) += what;
}

// Waiting for another process to come is no measure of speed: it only must come.
inline bool wait_for_file(const std::filesystem::path& name) {
    for (int i = 0; i < 3000 && !std::filesystem::exists(name); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return std::filesystem::exists(name);
}

inline int run_lock_holder() {
    const char* target = std::getenv("MERKWALD_LOCK_HOLDER");
    if (target == nullptr) return 0;
    const std::filesystem::path file = target;
    const FileLock lock = lock_file(file, std::chrono::milliseconds(0));
    if (!lock.held()) std::_Exit(2);
    std::ofstream(lock_marker(file, ".held")).put('x');
    std::_Exit(wait_for_file(lock_marker(file, ".go")) ? 0 : 3);
}
inline const int lock_holder_started = run_lock_holder();

class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& file) : file_(file) {
        ::setenv("MERKWALD_LOCK_HOLDER", file.c_str(), 1);
        std::string self = "/proc/self/exe";
        char* argv[] = {self.data(), nullptr};
        running_ = posix_spawn(&pid_, self.c_str(), nullptr, nullptr, argv, environ) == 0;
        ::unsetenv("MERKWALD_LOCK_HOLDER");
        holding_ = running_ && wait_for_file(lock_marker(file, ".held"));
    }
    ~LockHolder() {
        if (running_) (void)release();
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // Started, and has the lock.
    [[nodiscard]] bool holding() const { return holding_; }

    // Tells it to let go; its exit status, 0 when it held the lock until then.
    int release() {
        std::ofstream(lock_marker(file_, ".go")).put('x');
        running_ = false;
        int status = 0;
        if (waitpid(pid_, &status, 0) != pid_ || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }

    // kill -9; true when it died of it.
    bool kill() {
        if (!running_) return false;
        running_ = false;
        ::kill(pid_, SIGKILL);
        int status = 0;
        return waitpid(pid_, &status, 0) == pid_ && WIFSIGNALED(status) &&
               WTERMSIG(status) == SIGKILL;
    }

private:
    std::filesystem::path file_;
    bool running_ = false;
    bool holding_ = false;
    pid_t pid_ = 0;
};

}  // namespace merkwald::test
