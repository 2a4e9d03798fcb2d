#include "file_access.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "messages.h"
#include "platform_file.h"
#include "system_error.h"
#include "text.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) (void)platform::close(fd_);
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

std::string kind_reason(platform::Kind kind) {
    switch (kind) {
        case platform::Kind::folder:
            return "sie ist ein Ordner";
        case platform::Kind::pipe:
            return "sie ist eine Pipe";
        case platform::Kind::device:
            return "sie ist ein Gerät";
        case platform::Kind::socket:
            return "sie ist ein Socket";
        default:
            return "sie ist keine gewöhnliche Datei";
    }
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

namespace {

// The stamp's hash only tells one content from another within one run: eight
// bytes a step in four independent lanes, so that a large file is hashed at
// memory speed rather than a byte at a time.
std::uint64_t content_hash(std::string_view bytes) {
    constexpr std::uint64_t kPrime = 0x9E3779B97F4A7C15ull;
    std::uint64_t lanes[4] = {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
                              0x082EFA98EC4E6C89ull};
    const auto mix = [](std::uint64_t lane, std::uint64_t word) {
        lane ^= word;
        lane *= kPrime;
        return lane ^ (lane >> 29);
    };
    const auto word_at = [&bytes](std::size_t at) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        return word;
    };
    std::size_t at = 0;
    for (; at + 32 <= bytes.size(); at += 32) {
        for (std::size_t lane = 0; lane < 4; ++lane)
            lanes[lane] = mix(lanes[lane], word_at(at + 8 * lane));
    }
    std::uint64_t hash = bytes.size();
    for (const std::uint64_t lane : lanes) hash = mix(hash, lane);
    return fnv1a(bytes.substr(at), hash);
}

}  // namespace

FileRead read_regular_file(const fs::path& path, std::string& bytes) {
    FileRead outcome;
    bytes.clear();
    // Non-blocking, so that opening a pipe without writer cannot hang.
    Descriptor fd(platform::open_for_reading(path));
    if (fd.get() < 0) {
        const int error = errno;
        outcome.message =
            refused(path, error == ENOENT ? "sie ist nicht vorhanden" : german_error_text(error));
        return outcome;
    }
    platform::Info info;
    if (!platform::info_of(fd.get(), info)) {
        outcome.message = refused(path, german_error_text(errno));
        return outcome;
    }
    if (info.kind != platform::Kind::regular) {
        outcome.message = refused(path, kind_reason(info.kind));
        return outcome;
    }
    if (info.size > kMaxEditedFileBytes) {
        outcome.message = refused(path, "sie ist größer als 256 MiB");
        return outcome;
    }
    bytes.resize(static_cast<std::size_t>(info.size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long got = platform::read_some(fd.get(), bytes.data() + done, bytes.size() - done);
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
    outcome.stamp = {true, done, info.modified_ns, content_hash(bytes)};
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
    platform::Info info;
    if (!platform::info_at(path, info, true) || info.kind != platform::Kind::regular ||
        info.size != bytes.size())
        return current_stamp(path);
    return {true, bytes.size(), info.modified_ns, content_hash(bytes)};
}

}  // namespace merkwald
