#pragma once
// The engine's only door to the system's file calls, with one implementation
// for POSIX systems and one for Windows; the build picks one. Names arrive as
// paths made from UTF-8 (u8string) and reach Windows as UTF-16, never through
// the ANSI code page. Open files are small integers on both systems, always in
// binary mode. A failed call sets errno to the POSIX reason nearest to the
// system's own, so that every message comes from one table (system_error.h).

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace merkwald::platform {

enum class Kind { regular, folder, link, pipe, device, socket, other };

// What the system says about a file. Owner, group and permission bits are the
// POSIX ones; on Windows the owner and group are this process's and the bits
// say only whether the read-only attribute is set.
struct Info {
    Kind kind = Kind::other;
    std::uintmax_t size = 0;
    std::int64_t modified_ns = 0;  // since 1970; whole seconds on some file systems
    std::uint64_t links = 1;
    // Together they tell one file from another, whatever its names.
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    unsigned mode = 0;  // permission bits, 07777

    [[nodiscard]] bool same_file(const Info& other) const {
        return device == other.device && index == other.index;
    }
};

// For reading; never blocks on a pipe without writer. A folder opens too.
[[nodiscard]] int open_for_reading(const std::filesystem::path& path);
// An existing file for writing into it, never through a link.
[[nodiscard]] int open_for_writing(const std::filesystem::path& path);
// An existing file to hold a lock on, never through a link. On Windows the
// number stands for the lock and holds no handle of the file, which would keep
// it from being replaced.
[[nodiscard]] int open_for_locking(const std::filesystem::path& path);
// A folder, to hold a lock on it (on POSIX systems also to sync it).
[[nodiscard]] int open_folder(const std::filesystem::path& path);
// A whole file for reading as a C stream, in binary mode; null on failure.
[[nodiscard]] std::FILE* open_stream(const std::filesystem::path& path);

[[nodiscard]] bool close(int fd);
// As read(2) and write(2): the bytes moved, or -1.
[[nodiscard]] long read_some(int fd, char* data, std::size_t size);
[[nodiscard]] long write_some(int fd, const char* data, std::size_t size);
[[nodiscard]] bool set_size(int fd, std::uintmax_t size);
// The file's content and size on the disk.
[[nodiscard]] bool sync(int fd);
// A second number for the same open file, kept across the first's close.
[[nodiscard]] int duplicate(int fd);

[[nodiscard]] bool info_of(int fd, Info& info);
// `follow`: links are followed to their end; else a link is described itself.
[[nodiscard]] bool info_at(const std::filesystem::path& path, Info& info, bool follow);

// A fresh file beside the others: `pattern` ends in six 'X' that become
// random letters or digits; created exclusively, owner-only, not inherited by
// child processes, never through a link. The name made is left in `pattern`.
[[nodiscard]] int create_temporary(std::filesystem::path& pattern);
// Moves `from` over `to`, replacing `to` in one step. A file that another
// program holds open is waited for briefly.
[[nodiscard]] bool rename_over(const std::filesystem::path& from, const std::filesystem::path& to);
bool remove(const std::filesystem::path& path);
// The names in a folder (UTF-8), without "." and "..".
[[nodiscard]] std::vector<std::string> names_in(const std::filesystem::path& folder);
// The longest name, in bytes, that `folder` takes.
[[nodiscard]] std::size_t longest_name(const std::filesystem::path& folder);

// Where `path` ends when it is a link the standard library cannot follow
// (symbolic links and junctions on Windows); nothing for any other name.
[[nodiscard]] std::optional<std::filesystem::path> link_end(const std::filesystem::path& path);

// After a rename: its way onto the disk. 0 when done or not possible there
// (nothing better can then be done), else the errno value.
[[nodiscard]] int flush_folder(const std::filesystem::path& folder);

[[nodiscard]] std::uint32_t own_owner();
[[nodiscard]] std::uint32_t own_group();
// The bits a new file gets by default (the umask applied).
[[nodiscard]] unsigned new_file_mode();
// Whether the user may write the file `info` describes, by its rights; even
// where the system would let the administrator write a file marked
// read-only, it counts as not writable.
[[nodiscard]] bool may_write(const std::filesystem::path& path, const Info& info);
[[nodiscard]] bool set_owner(int fd, std::uint32_t owner, std::uint32_t group);
[[nodiscard]] bool set_mode(int fd, unsigned mode);
// Gives the open file exactly the extended attributes (access control lists
// among them, on Windows the file attributes) of `from`; false when one could
// not be set. `may_set` is asked before each change; false makes it fail.
[[nodiscard]] bool keep_attributes(int fd, const std::filesystem::path& from,
                                   const std::function<bool()>& may_set);

enum class Lock { taken, busy, unsupported };
// The lock of what open_for_locking or open_folder opened, without waiting:
// the system's advisory lock of the file on POSIX systems, a mutex named after
// the file on Windows. Either is dropped when its holder ends, killed or not.
[[nodiscard]] Lock try_lock(int fd);
void unlock(int fd);

// An open file closed on every way out. A writer closes it itself with
// close(), which says whether the close worked: a write may fail only there.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) (void)platform::close(fd_);
    }
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    [[nodiscard]] bool is_open() const { return fd_ >= 0; }
    [[nodiscard]] bool close() { return platform::close(std::exchange(fd_, -1)); }

private:
    int fd_;
};

}  // namespace merkwald::platform
