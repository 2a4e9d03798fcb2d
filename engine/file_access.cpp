#include "file_access.h"

#include <cerrno>
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

FileRead read_regular_file(const fs::path& path, std::string& bytes) {
    FileRead outcome;
    bytes.clear();
    // Non-blocking, so that opening a pipe without writer cannot hang.
    platform::Descriptor fd(platform::open_for_reading(path));
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
    outcome.stamp = {true, done, info.modified_ns, fnv1a(bytes)};
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
    return {true, bytes.size(), info.modified_ns, fnv1a(bytes)};
}

}  // namespace merkwald
