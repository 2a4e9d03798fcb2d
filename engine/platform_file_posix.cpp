#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <string_view>

#include "platform_file.h"

namespace merkwald::platform {

namespace fs = std::filesystem;

namespace {

int last_error() { return errno == 0 ? EIO : errno; }

Kind kind_of(mode_t mode) {
    if (S_ISREG(mode)) return Kind::regular;
    if (S_ISDIR(mode)) return Kind::folder;
    if (S_ISLNK(mode)) return Kind::link;
    if (S_ISFIFO(mode)) return Kind::pipe;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return Kind::device;
    if (S_ISSOCK(mode)) return Kind::socket;
    return Kind::other;
}

Info info_from(const struct stat& st) {
    Info info;
    info.kind = kind_of(st.st_mode);
    info.size = static_cast<std::uintmax_t>(st.st_size);
    info.modified_ns = std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    info.links = st.st_nlink;
    info.device = st.st_dev;
    info.index = st.st_ino;
    info.owner = st.st_uid;
    info.group = st.st_gid;
    info.mode = st.st_mode & 07777;
    return info;
}

// A value of unknown length read by a call of the getxattr kind; nothing when
// the call fails (errno tells why).
template <typename Read>
std::optional<std::string> read_sized(Read read) {
    for (int tries = 0; tries < 8; ++tries) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) return std::nullopt;
        std::string value(static_cast<std::size_t>(size), '\0');
        const ssize_t got = size == 0 ? 0 : read(value.data(), value.size());
        if (got < 0 && errno == ERANGE) continue;  // grew in between
        if (got < 0) return std::nullopt;
        value.resize(static_cast<std::size_t>(got));
        return value;
    }
    errno = ERANGE;
    return std::nullopt;
}

// The names of a file's extended attributes; false when they cannot be listed.
// A file system without them has none.
template <typename List>
bool attribute_names(List list, std::vector<std::string>& names) {
    names.clear();
    const std::optional<std::string> all = read_sized(list);
    if (!all) return errno == ENOTSUP || errno == ENOSYS;
    for (std::size_t at = 0; at < all->size();) {
        const std::size_t end = std::min(all->find('\0', at), all->size());
        if (end > at) names.emplace_back(*all, at, end - at);
        at = end + 1;
    }
    return true;
}

}  // namespace

int open_for_reading(const fs::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

int open_for_writing(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
}

int open_for_locking(const fs::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
}

int open_folder(const fs::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

std::FILE* open_stream(const fs::path& path) { return std::fopen(path.c_str(), "rb"); }

bool close(int fd) { return ::close(fd) == 0; }

long read_some(int fd, char* data, std::size_t size) { return ::read(fd, data, size); }

long write_some(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

bool set_size(int fd, std::uintmax_t size) {
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

bool sync(int fd) { return ::fsync(fd) == 0; }

int duplicate(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 0); }

bool info_of(int fd, Info& info) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    info = info_from(st);
    return true;
}

bool info_at(const fs::path& path, Info& info, bool follow) {
    struct stat st {};
    if ((follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) return false;
    info = info_from(st);
    return true;
}

// mkostemp never follows a link and never reuses an existing name.
int create_temporary(fs::path& pattern) {
    const std::string text = pattern.native();
    std::vector<char> name(text.begin(), text.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) pattern = fs::path(name.data());
    return fd;
}

bool rename_over(const fs::path& from, const fs::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool remove(const fs::path& path) { return ::unlink(path.c_str()) == 0; }

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

std::size_t longest_name(const fs::path& folder) {
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return static_cast<std::size_t>(longest < 32 ? NAME_MAX : longest);
}

// The standard library reads the links here.
std::optional<fs::path> link_end(const fs::path&) { return std::nullopt; }

// A folder this process may not open for reading, or a file system that
// cannot sync folders, leaves the rename to the file system's own journal.
int flush_folder(const fs::path& folder) {
    const int fd = open_folder(folder);
    if (fd < 0) return errno == EACCES ? 0 : last_error();
    int error = ::fsync(fd) == 0 ? 0 : last_error();
    if (error == EINVAL || error == EROFS) error = 0;
    ::close(fd);
    return error;
}

std::uint32_t own_owner() { return ::geteuid(); }

std::uint32_t own_group() { return ::getegid(); }

unsigned new_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool may_write(const fs::path& path, const Info& info) {
    if ((info.mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(path.c_str(), W_OK) == 0;
}

bool set_owner(int fd, std::uint32_t owner, std::uint32_t group) {
    return ::fchown(fd, owner, group) == 0;
}

bool set_mode(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)) == 0; }

bool keep_attributes(int fd, const fs::path& from_path, const std::function<bool()>& may_set) {
    const char* from = from_path.c_str();
    std::vector<std::string> wanted;
    if (!attribute_names([&](char* b, std::size_t n) { return ::llistxattr(from, b, n); }, wanted))
        return false;
    bool kept = true;
    for (const std::string& name : wanted) {
        const std::optional<std::string> value = read_sized(
            [&](char* b, std::size_t n) { return ::lgetxattr(from, name.c_str(), b, n); });
        if (!value) {
            if (errno != ENODATA) kept = false;  // ENODATA: removed meanwhile
            continue;
        }
        const std::optional<std::string> present =
            read_sized([&](char* b, std::size_t n) { return ::fgetxattr(fd, name.c_str(), b, n); });
        if (present == value) continue;
        if (!may_set() || ::fsetxattr(fd, name.c_str(), value->data(), value->size(), 0) != 0) {
            kept = false;
        }
    }
    // A default list of the folder gives every new file one the original may not have.
    std::vector<std::string> got;
    if (!attribute_names([&](char* b, std::size_t n) { return ::flistxattr(fd, b, n); }, got))
        return false;
    for (const std::string& name : got) {
        if (std::find(wanted.begin(), wanted.end(), name) != wanted.end()) continue;
        if (::fremovexattr(fd, name.c_str()) != 0 && errno != ENODATA) kept = false;
    }
    return kept;
}

Lock try_lock(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return Lock::taken;
    const int error = errno;
    return error == EWOULDBLOCK || error == EINTR ? Lock::busy : Lock::unsupported;
}

void unlock(int fd) { ::flock(fd, LOCK_UN); }

}  // namespace merkwald::platform
