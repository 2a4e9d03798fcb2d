#include "file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "messages.h"
#include "system_error.h"
#include "text.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

std::int64_t modified_ns(const struct stat& st) {
    return std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
}

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }

private:
    int fd_;
};

std::string refused(const fs::path& path, const std::string& why) {
    const std::string head = "Die Datei " + display_name(path) + " kann nicht gelesen werden";
    return why.empty() ? head + "." : head + ": " + why + ".";
}

std::string kind_reason(mode_t mode) {
    if (S_ISDIR(mode)) return "sie ist ein Ordner";
    if (S_ISFIFO(mode)) return "sie ist eine Pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "sie ist ein Gerät";
    if (S_ISSOCK(mode)) return "sie ist ein Socket";
    return "sie ist keine gewöhnliche Datei";
}

}  // namespace

std::string display_name(const fs::path& path) {
    const std::u8string name = path.u8string();
    return {reinterpret_cast<const char*>(name.data()), name.size()};
}

std::string read_failure_text(const fs::path& path, const std::string& reason) {
    std::error_code ec;
    return fs::exists(path, ec) ? reason : std::string(kFileNotFound);
}

std::string unreadable_message(const fs::path& path) {
    return "Die Datei " + display_name(path) + " konnte nicht gelesen werden.";
}

std::string changed_outside_message(const fs::path& path) {
    return "Die Datei " + display_name(path) +
           " wurde inzwischen von einem anderen Programm geändert. Es wurde nichts "
           "gespeichert; die Datei wird neu geladen.";
}

FileRead read_regular_file(const fs::path& path, std::string& bytes) {
    FileRead outcome;
    bytes.clear();
    // Non-blocking, so that opening a pipe without writer cannot hang.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        outcome.message =
            refused(path, error == ENOENT ? "sie ist nicht vorhanden" : german_error_text(error));
        return outcome;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        outcome.message = refused(path, german_error_text(errno));
        return outcome;
    }
    if (!S_ISREG(st.st_mode)) {
        outcome.message = refused(path, kind_reason(st.st_mode));
        return outcome;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxEditedFileBytes) {
        outcome.message = refused(path, "sie ist größer als 256 MiB");
        return outcome;
    }
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            outcome.message = refused(path, german_error_text(errno));
            return outcome;
        }
        if (got == 0) break;  // shrunk while reading: the stamp below will not match
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    outcome.ok = true;
    outcome.stamp = {true, done, modified_ns(st), fnv1a(bytes)};
    return outcome;
}

FileStamp current_stamp(const fs::path& path) {
    std::string bytes;
    const FileRead read = read_regular_file(path, bytes);
    if (read.ok) return read.stamp;
    std::error_code ec;
    FileStamp stamp;
    // Something stands there that is no readable file: never equal to a stamp of a read.
    stamp.exists = fs::exists(fs::symlink_status(path, ec));
    stamp.size = stamp.exists ? ~std::uintmax_t{0} : 0;
    return stamp;
}

FileStamp stamp_of_written(const fs::path& path, std::string_view bytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uintmax_t>(st.st_size) != bytes.size())
        return current_stamp(path);
    return {true, bytes.size(), modified_ns(st), fnv1a(bytes)};
}

}  // namespace merkwald
