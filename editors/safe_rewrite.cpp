#include "editors/safe_rewrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace merkwald {
namespace fs = std::filesystem;

namespace {

RewriteHook& hook() {
    static RewriteHook h;
    return h;
}

// True when the step may go on; a test hook may make it fail.
bool step(std::string_view name) {
    return !hook() || hook()(name);
}

std::string display_name(const fs::path& p) {
    const std::u8string name = p.u8string();
    return {reinterpret_cast<const char*>(name.data()), name.size()};
}

std::FILE* open_for_writing(const fs::path& p) {
#ifdef _WIN32
    return _wfopen(p.c_str(), L"wb");
#else
    return std::fopen(p.c_str(), "wb");
#endif
}

std::string reason(int error) {
    if (error == 0) return {};
    return " (" + std::system_category().message(error) + ")";
}

bool flush_to_disk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return ::fsync(::fileno(f)) == 0;
#endif
}

// The rename itself must reach the disk too, or a crash may bring back the old name.
void flush_folder(const fs::path& folder) {
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#else
    (void)folder;
#endif
}

// The names of the steps of one file's replacement, for the test hook.
struct Steps {
    std::string_view writing, before_rename, done;
};
constexpr Steps kTargetSteps{"writing temporary", "before rename", "renamed"};
constexpr Steps kBackupSteps{"writing backup", "before backup rename", "backup written"};

// Writes the bytes in two halves so that a test can interrupt between them.
int write_temporary(const fs::path& temp, std::string_view bytes, std::string_view step_name) {
    std::FILE* f = open_for_writing(temp);
    if (f == nullptr) return errno == 0 ? EIO : errno;
    const std::size_t half = bytes.size() / 2;
    bool ok = std::fwrite(bytes.data(), 1, half, f) == half;
    std::fflush(f);
    ok = ok && step(step_name) &&
         std::fwrite(bytes.data() + half, 1, bytes.size() - half, f) == bytes.size() - half;
    int error = ok ? 0 : (errno == 0 ? EIO : errno);
    if (ok && !flush_to_disk(f)) error = errno == 0 ? EIO : errno;
    if (std::fclose(f) != 0 && error == 0) error = errno == 0 ? EIO : errno;
    return error;
}

int rename_over(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) return ec.value() == 0 ? EIO : ec.value();
    flush_folder(to.parent_path());
    return 0;
}

void remove_quietly(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
}

// Temporary file, flush, rename: the content of `target` is complete at every moment.
WriteOutcome replace_file(const fs::path& target, std::string_view bytes, const Steps& steps) {
    fs::path temp = target;
    temp += ".tmp";
    errno = 0;
    const int error = write_temporary(temp, bytes, steps.writing);
    if (error != 0) {
        remove_quietly(temp);
        return {false, "Die temporäre Datei " + display_name(temp) +
                           " konnte nicht geschrieben werden" + reason(error) + "."};
    }
    int rename_error = step(steps.before_rename) ? 0 : EIO;
    if (rename_error == 0) rename_error = rename_over(temp, target);
    if (rename_error != 0) {
        remove_quietly(temp);
        return {false, "Die Datei " + display_name(target) + " konnte nicht ersetzt werden" +
                           reason(rename_error) + "."};
    }
    step(steps.done);
    return {};
}

}  // namespace

fs::path backup_name(const fs::path& file) {
    const std::u8string name = file.filename().u8string();
    // Cut three code points, never a byte in the middle of one.
    std::size_t cut = name.size();
    for (int dropped = 0; dropped < 3 && cut > 0; ++dropped) {
        do {
            --cut;
        } while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80);
    }
    std::u8string backup = name.substr(0, cut) + u8"bak";
    if (backup == name) backup = name + u8".bak";
    return file.parent_path() / fs::path(backup);
}

WriteOutcome write_file_safely(const fs::path& target, std::string_view bytes) {
    return replace_file(target, bytes, kTargetSteps);
}

WriteOutcome rewrite_with_backup(const fs::path& target, std::string_view old_bytes,
                                 std::string_view new_bytes) {
    const fs::path backup = backup_name(target);
    const WriteOutcome kept = replace_file(backup, old_bytes, kBackupSteps);
    if (!kept.ok) {
        return {false, "Die Sicherungsdatei " + display_name(backup) +
                           " konnte nicht geschrieben werden. " + kept.message + " Die Datei " +
                           display_name(target) + " bleibt unverändert."};
    }
    WriteOutcome written = replace_file(target, new_bytes, kTargetSteps);
    if (!written.ok) {
        written.message += " Die Datei " + display_name(target) + " bleibt unverändert.";
    }
    return written;
}

bool read_file_bytes(const fs::path& path, std::string& bytes) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void set_rewrite_hook(RewriteHook h) {
    hook() = std::move(h);
}

}  // namespace merkwald
