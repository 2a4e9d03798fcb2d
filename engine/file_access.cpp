#include "file_access.h"

#include <algorithm>
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
// The hash can be taken piece by piece: every piece but the last a whole number of blocks.
class ContentHash {
public:
    static constexpr std::size_t kBlock = 32;

    void add_blocks(std::string_view bytes) {
        for (std::size_t at = 0; at + kBlock <= bytes.size(); at += kBlock) {
            for (std::size_t lane = 0; lane < 4; ++lane)
                lanes_[lane] = mix(lanes_[lane], word_at(bytes, at + 8 * lane));
        }
        size_ += bytes.size() / kBlock * kBlock;
    }

    [[nodiscard]] std::uint64_t finish(std::string_view last) {
        add_blocks(last);
        const std::string_view rest = last.substr(last.size() / kBlock * kBlock);
        std::uint64_t hash = size_ + rest.size();
        for (const std::uint64_t lane : lanes_) hash = mix(hash, lane);
        return fnv1a(rest, hash);
    }

private:
    static std::uint64_t mix(std::uint64_t lane, std::uint64_t word) {
        lane ^= word;
        lane *= 0x9E3779B97F4A7C15ull;
        return lane ^ (lane >> 29);
    }
    static std::uint64_t word_at(std::string_view bytes, std::size_t at) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        return word;
    }

    std::uint64_t lanes_[4] = {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
                               0x082EFA98EC4E6C89ull};
    std::uint64_t size_ = 0;
};

std::uint64_t content_hash(std::string_view bytes) { return ContentHash().finish(bytes); }

// Opens `path` for reading as read_regular_file does; closed, with the message
// set, when it is no regular file of an allowed size.
platform::Descriptor open_regular(const fs::path& path, platform::Info& info, FileRead& outcome) {
    // Non-blocking, so that opening a pipe without writer cannot hang.
    platform::Descriptor fd(platform::open_for_reading(path));
    if (!fd.is_open()) {
        const int error = errno;
        outcome.message =
            refused(path, error == ENOENT ? "sie ist nicht vorhanden" : german_error_text(error));
        return fd;
    }
    std::string why;
    if (!platform::info_of(fd.get(), info)) {
        why = german_error_text(errno);
    } else if (info.kind != platform::Kind::regular) {
        why = kind_reason(info.kind);
    } else if (info.size > kMaxEditedFileBytes) {
        why = "sie ist größer als 256 MiB";
    } else {
        return fd;
    }
    outcome.message = refused(path, why);
    return platform::Descriptor();
}

// Fills `buffer` as far as the file goes: the bytes read, -1 on a failed read.
long read_into(int fd, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const long got = platform::read_some(fd, buffer + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;  // shrunk while reading: the stamp will not match
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long>(done);
}

}  // namespace

FileRead read_regular_file(const fs::path& path, std::string& bytes) {
    FileRead outcome;
    bytes.clear();
    platform::Info info;
    platform::Descriptor fd(open_regular(path, info, outcome));
    if (fd.get() < 0) return outcome;
    bytes.resize(static_cast<std::size_t>(info.size));
    const long done = read_into(fd.get(), bytes.data(), bytes.size());
    if (done < 0) {
        outcome.message = refused(path, german_error_text(errno));
        bytes.clear();
        return outcome;
    }
    bytes.resize(static_cast<std::size_t>(done));
    outcome.ok = true;
    outcome.stamp = {true, bytes.size(), info.modified_ns, content_hash(bytes)};
    return outcome;
}

namespace {

// The stamp read_regular_file would give, read piece by piece: a large file is
// never held whole just to be compared.
FileRead stamp_by_pieces(const fs::path& path) {
    FileRead outcome;
    platform::Info info;
    platform::Descriptor fd(open_regular(path, info, outcome));
    if (fd.get() < 0) return outcome;
    // As many bytes as read_regular_file reads: the size the file had when opened.
    constexpr std::size_t kPiece = std::size_t{1} << 20;  // whole blocks of the hash
    std::string piece(std::min<std::uintmax_t>(kPiece, info.size), '\0');
    ContentHash hash;
    std::uintmax_t left = info.size;
    for (;;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uintmax_t>(kPiece, left));
        const long got = read_into(fd.get(), piece.data(), want);
        if (got < 0) {
            outcome.message = refused(path, german_error_text(errno));
            return outcome;
        }
        left -= static_cast<std::uintmax_t>(got);
        if (static_cast<std::size_t>(got) < want || left == 0) {
            outcome.ok = true;
            outcome.stamp = {true, info.size - left, info.modified_ns,
                             hash.finish(std::string_view(piece).substr(0, std::size_t(got)))};
            return outcome;
        }
        hash.add_blocks(std::string_view(piece).substr(0, want));
    }
}

}  // namespace

FileStamp current_stamp(const fs::path& path) {
    const FileRead read = stamp_by_pieces(path);
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
