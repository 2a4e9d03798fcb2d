#pragma once
// A real CalDAV server for one test: Radicale on 127.0.0.1 at a free port, its
// storage and its user file in a folder of the test's own. Started by the
// constructor, stopped by the destructor (also when the test fails); it can be
// killed and started again on the same port and storage.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace merkwald::test {

// The radicale program on the PATH; empty when it is not installed.
inline std::filesystem::path find_radicale() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / "radicale";
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

class RadicaleServer {
public:
    static constexpr const char* kUser = "anna";
    static constexpr const char* kPassword = "geheim";

    // `folder` holds the configuration, the user file, the storage and the log.
    // With a certificate and its key the server speaks https only.
    explicit RadicaleServer(std::filesystem::path folder,
                            const std::filesystem::path& certificate = {},
                            const std::filesystem::path& key = {})
        : folder_(std::move(folder)), tls_(!certificate.empty()) {
        port_ = on_loopback(0);
        std::ofstream(folder_ / "users") << kUser << ':' << kPassword << '\n';
        {
            std::ofstream config(folder_ / "config");
            config << "[server]\nhosts = 127.0.0.1:" << port_ << "\n";
            if (tls_)
                config << "ssl = True\ncertificate = " << certificate.string()
                       << "\nkey = " << key.string() << "\n";
            config << "[auth]\ntype = htpasswd\nhtpasswd_filename = "
                   << (folder_ / "users").string() << "\nhtpasswd_encryption = plain\n"
                   << "[storage]\nfilesystem_folder = " << (folder_ / "storage").string() << "\n"
                   << "[rights]\ntype = owner_only\n[logging]\nlevel = warning\n";
        }
        start();
    }
    ~RadicaleServer() { stop(); }
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    // True when it answers.
    bool start() {
        const std::string program = find_radicale().string();
        std::vector<std::string> argv_text{program, "--config", (folder_ / "config").string()};
        std::vector<char*> argv;
        for (std::string& a : argv_text) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string log = (folder_ / "log").string();
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (pid_ != 0 && std::chrono::steady_clock::now() < until) {
            if (answers()) return true;
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = 0;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // As a crash would: no chance to answer what is under way.
    void kill_now() { stop(SIGKILL); }

    void stop(int signal_number = SIGTERM) {
        if (pid_ == 0) return;
        kill(pid_, signal_number);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }

    [[nodiscard]] bool running() const { return pid_ != 0; }
    [[nodiscard]] std::string base_url() const {
        return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) + "/";
    }
    // The folder where Radicale keeps the items of a collection of the user.
    [[nodiscard]] std::filesystem::path collection_folder(const std::string& name) const {
        return folder_ / "storage" / "collection-root" / kUser / name;
    }
    [[nodiscard]] std::string log() const {
        std::ifstream in(folder_ / "log");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    // Port 0 binds a free port; any other connects to it. The port, 0 on failure.
    static int on_loopback(int port) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(std::uint16_t(port));
        socklen_t length = sizeof address;
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        const bool ok = port == 0 ? bind(fd, raw, length) == 0 && getsockname(fd, raw, &length) == 0
                                  : connect(fd, raw, length) == 0;
        close(fd);
        return ok ? ntohs(address.sin_port) : 0;
    }
    [[nodiscard]] bool answers() const { return on_loopback(port_) != 0; }

    std::filesystem::path folder_;
    bool tls_ = false;
    int port_ = 0;
    pid_t pid_ = 0;
};

}  // namespace merkwald::test
