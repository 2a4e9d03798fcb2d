#pragma once
// The command-line tool started as a real process, so that tests can run
// several writers at the same moment.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace merkwald::test {

// Runs `binary` with `args`, its program folder and settings in `home`, its
// error output into `err_file`, its standard output into `out_file` (else
// discarded) and no input. `env` entries ("NAME=value") replace the inherited ones.
class CliProcess {
public:
    CliProcess(const std::string& binary, const std::vector<std::string>& args,
               const std::filesystem::path& home, const std::filesystem::path& err_file,
               std::vector<std::string> env = {},
               const std::filesystem::path& out_file = "/dev/null") {
        env.push_back("MERKWALD_HOME=" + home.string());
        env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry(*e);
            const std::string name = entry.substr(0, entry.find('=') + 1);
            if (std::none_of(env.begin(), env.end(), [&](auto& g) { return g.starts_with(name); }))
                env.push_back(entry);
        }
        std::vector<std::string> argv_text{binary};
        argv_text.insert(argv_text.end(), args.begin(), args.end());
        std::vector<char*> argv, envp;
        for (std::string& a : argv_text) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~CliProcess() { (void)wait(); }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // The exit status; -1 when it did not start or did not exit normally.
    int wait() {
        if (pid_ == 0) return status_;
        int status = 0;
        if (waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) status_ = WEXITSTATUS(status);
        pid_ = 0;
        return status_;
    }

    // Waits until the process has `path` open (it is then at work on it), or
    // has ended, or `limit` has passed; true when it had the path open.
    [[nodiscard]] bool wait_until_open(const std::filesystem::path& path,
                                       std::chrono::milliseconds limit) const {
        const auto until = std::chrono::steady_clock::now() + limit;
        const std::filesystem::path fds = "/proc/" + std::to_string(pid_) + "/fd";
        while (pid_ != 0 && std::chrono::steady_clock::now() < until) {
            std::error_code ec;
            for (const auto& fd : std::filesystem::directory_iterator(fds, ec)) {
                std::error_code link_ec;
                if (std::filesystem::read_symlink(fd.path(), link_ec) == path) return true;
            }
            if (ec) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

private:
    pid_t pid_ = 0;
    int status_ = -1;
};

inline std::string file_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace merkwald::test
