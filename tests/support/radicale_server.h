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
#include <string>
#include <thread>

extern char** environ;

namespace merkwald::test {

// Whether the radicale program is on the PATH.
inline bool radicale_installed() { return std::system("command -v radicale > /dev/null") == 0; }

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
        std::ofstream config(folder_ / "config");
        config << "[server]\nhosts = 127.0.0.1:" << port_ << "\n";
        if (tls_)
            config << "ssl = True\ncertificate = " << certificate.string()
                   << "\nkey = " << key.string() << "\n";
        config << "[auth]\ntype = htpasswd\nhtpasswd_filename = " << (folder_ / "users").string()
               << "\nhtpasswd_encryption = plain\n"
               << "[storage]\nfilesystem_folder = " << (folder_ / "storage").string() << "\n"
               << "[rights]\ntype = owner_only\n[logging]\nlevel = warning\n";
        config.close();
        start();
    }
    ~RadicaleServer() { stop(); }
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    // True when it answers.
    bool start() {
        std::string program = "radicale", option = "--config", config = (folder_ / "config");
        char* argv[] = {program.data(), option.data(), config.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, (folder_ / "log").c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawnp(&pid_, "radicale", &actions, nullptr, argv, environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (pid_ != 0 && std::chrono::steady_clock::now() < until) {
            if (on_loopback(port_) != 0) return true;
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    void stop(int signal_number = SIGTERM) {
        if (pid_ == 0) return;
        kill(pid_, signal_number);
        waitpid(pid_, nullptr, 0);
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

    std::filesystem::path folder_;
    bool tls_ = false;
    int port_ = 0;
    pid_t pid_ = 0;
};

}  // namespace merkwald::test
