#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The C library's numbers for the handles.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <random>

#include "platform_file.h"

namespace merkwald::platform {

namespace fs = std::filesystem;

namespace {

// Others may read, write, rename and delete while this program has a file
// open: holding a file must never keep another program from its work.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// How often and how long a replacement is tried again while another program
// (an editor, a virus scanner, a backup tool) holds the file: about two seconds.
constexpr int kReplaceTries = 40;
constexpr DWORD kReplacePauseMs = 50;

int errno_of(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_CANNOT_MAKE:
            return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_DELETE_PENDING:
            return EBUSY;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
        case ERROR_INVALID_PARAMETER:
            return EINVAL;
        default:
            return EIO;
    }
}

void set_error() { errno = errno_of(GetLastError()); }

HANDLE handle_of(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// The handle as a number of the C library, which closes it with _close.
int adopt(HANDLE h, int flags) {
    if (h == INVALID_HANDLE_VALUE) {
        set_error();
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(h), flags | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        errno = EMFILE;
    }
    return fd;
}

// Not inherited by child processes: no security attributes.
HANDLE open_handle(const fs::path& path, DWORD access, DWORD flags) {
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
}

std::int64_t unix_ns(const FILETIME& time) {
    // 100-nanosecond steps since 1601.
    constexpr std::int64_t kFrom1601 = 116444736000000000;
    const std::int64_t ticks =
        static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
    return (ticks - kFrom1601) * 100;
}

// Symbolic links and junctions are links; other reparse points (files kept in
// a cloud, deduplicated files) are what they contain.
bool is_link(HANDLE h) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag)) return false;
    return tag.ReparseTag == IO_REPARSE_TAG_SYMLINK || tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT;
}

bool info_of_handle(HANDLE h, Info& info) {
    info = {};
    switch (GetFileType(h)) {
        case FILE_TYPE_DISK:
            break;
        case FILE_TYPE_CHAR:
            info.kind = Kind::device;
            return true;
        case FILE_TYPE_PIPE:
            info.kind = Kind::pipe;
            return true;
        default:
            if (GetLastError() != NO_ERROR) {
                set_error();
                return false;
            }
            info.kind = Kind::other;
            return true;
    }
    BY_HANDLE_FILE_INFORMATION data{};
    if (!GetFileInformationByHandle(h, &data)) {
        set_error();
        return false;
    }
    const DWORD attributes = data.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && is_link(h)) {
        info.kind = Kind::link;
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        info.kind = Kind::folder;
    } else {
        info.kind = Kind::regular;
    }
    info.size = (std::uintmax_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    info.modified_ns = unix_ns(data.ftLastWriteTime);
    info.links = data.nNumberOfLinks;
    info.device = data.dwVolumeSerialNumber;
    info.index = (std::uint64_t{data.nFileIndexHigh} << 32) | data.nFileIndexLow;
    const bool read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    info.mode = read_only ? 0444 : 0666;
    if (info.kind == Kind::folder) info.mode |= 0111;
    return true;
}

// Whether some program holds the file open: it cannot then be opened for
// reading without sharing.
bool held_open(const fs::path& path) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// What a file's attributes say of how it is kept; the read-only attribute is
// the user's and stays with the rights.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The final name of the open file as the system knows it ("\\?\C:\..."), empty
// when it cannot tell.
std::wstring final_name(HANDLE h) {
    std::wstring name(MAX_PATH, L'\0');
    DWORD size = 0;
    for (int tries = 0; tries < 2; ++tries) {
        size = GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (size < name.size()) break;
        name.resize(size + 1);
    }
    if (size == 0 || size >= name.size()) return {};
    name.resize(size);
    return name;
}

// Windows renames nothing over a file that is open anywhere, so a lock held
// through a handle of the file would keep its own replacement from happening.
// The lock is instead a mutex of the session named after the file's final
// name: nothing stands on the disk, and the system hands the mutex of a holder
// that died to the next one. A number far above the C library's stands for it
// and describes the file as it was when the number was made.
struct LockObject {
    Info info;
    std::wstring mutex_name;
    HANDLE mutex = nullptr;
};

constexpr int kFirstLockNumber = 1 << 30;

struct LockObjects {
    std::mutex guard;
    std::map<int, LockObject> objects;
    int next = kFirstLockNumber;
};

LockObjects& lock_objects() {
    static LockObjects all;
    return all;
}

std::wstring mutex_name_for(std::wstring name) {
    CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    std::uint64_t hash = 14695981039346656037u;
    for (const wchar_t c : name) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211u;
    }
    std::wstring text = L"Local\\merkwald-lock-";
    for (int shift = 60; shift >= 0; shift -= 4) text += L"0123456789abcdef"[(hash >> shift) & 0xF];
    return text;
}

int make_lock_object(const fs::path& path, DWORD flags) {
    // Attributes only: this short look keeps no other program from its work.
    const HANDLE h = open_handle(path, FILE_READ_ATTRIBUTES, flags);
    if (h == INVALID_HANDLE_VALUE) {
        set_error();
        return -1;
    }
    LockObject object;
    const bool described = info_of_handle(h, object.info);
    std::wstring name = final_name(h);
    CloseHandle(h);
    if (!described) return -1;
    if (name.empty()) {
        std::error_code ec;
        name = fs::absolute(path, ec).native();
    }
    object.mutex_name = mutex_name_for(std::move(name));
    LockObjects& all = lock_objects();
    const std::lock_guard hold(all.guard);
    const int number = all.next;
    all.next = number == INT_MAX ? kFirstLockNumber : number + 1;
    all.objects.emplace(number, std::move(object));
    return number;
}

}  // namespace

int open_for_reading(const fs::path& path) {
    return adopt(open_handle(path, GENERIC_READ, FILE_FLAG_BACKUP_SEMANTICS), _O_RDONLY);
}

int open_for_writing(const fs::path& path) {
    return adopt(open_handle(path, GENERIC_WRITE, FILE_FLAG_OPEN_REPARSE_POINT), _O_WRONLY);
}

int open_for_locking(const fs::path& path) {
    return make_lock_object(path, FILE_FLAG_OPEN_REPARSE_POINT);
}

// Only the lock asks for folders here (they cannot be flushed).
int open_folder(const fs::path& path) { return make_lock_object(path, FILE_FLAG_BACKUP_SEMANTICS); }

// Opened with every sharing, so that a file being read can still be replaced.
std::FILE* open_stream(const fs::path& path) {
    const int fd = adopt(open_handle(path, GENERIC_READ, 0), _O_RDONLY);
    if (fd < 0) return nullptr;
    std::FILE* stream = _fdopen(fd, "rb");
    if (stream == nullptr) _close(fd);
    return stream;
}

bool close(int fd) {
    if (fd >= kFirstLockNumber) {
        LockObjects& all = lock_objects();
        const std::lock_guard hold(all.guard);
        const auto found = all.objects.find(fd);
        if (found == all.objects.end()) {
            errno = EBADF;
            return false;
        }
        if (found->second.mutex != nullptr) CloseHandle(found->second.mutex);
        all.objects.erase(found);
        return true;
    }
    return _close(fd) == 0;
}

long read_some(int fd, char* data, std::size_t size) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30));
    if (ReadFile(handle_of(fd), data, want, &got, nullptr)) return static_cast<long>(got);
    if (GetLastError() == ERROR_BROKEN_PIPE || GetLastError() == ERROR_HANDLE_EOF) return 0;
    set_error();
    return -1;
}

long write_some(int fd, const char* data, std::size_t size) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30));
    if (WriteFile(handle_of(fd), data, want, &put, nullptr)) return static_cast<long>(put);
    set_error();
    return -1;
}

bool set_size(int fd, std::uintmax_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (SetFileInformationByHandle(handle_of(fd), FileEndOfFileInfo, &end, sizeof end)) return true;
    set_error();
    return false;
}

bool sync(int fd) {
    if (FlushFileBuffers(handle_of(fd))) return true;
    set_error();
    return false;
}

int duplicate(int fd) {
    HANDLE copy = INVALID_HANDLE_VALUE;
    const HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, handle_of(fd), self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        set_error();
        return -1;
    }
    return adopt(copy, _O_RDONLY);
}

bool info_of(int fd, Info& info) {
    if (fd >= kFirstLockNumber) {
        LockObjects& all = lock_objects();
        const std::lock_guard hold(all.guard);
        const auto found = all.objects.find(fd);
        if (found == all.objects.end()) {
            errno = EBADF;
            return false;
        }
        info = found->second.info;
        return true;
    }
    const HANDLE h = handle_of(fd);
    if (h == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return false;
    }
    return info_of_handle(h, info);
}

bool info_at(const fs::path& path, Info& info, bool follow) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    // Asking for the attributes only: a file another program holds without
    // sharing can still be described.
    const HANDLE h = open_handle(path, FILE_READ_ATTRIBUTES, flags);
    if (h == INVALID_HANDLE_VALUE) {
        set_error();
        return false;
    }
    const bool ok = info_of_handle(h, info);
    CloseHandle(h);
    return ok;
}

// CREATE_NEW fails on any existing name, a link's included.
int create_temporary(fs::path& pattern) {
    static constexpr wchar_t kLetters[] =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring name = pattern.native();
    if (name.size() < 6) {
        errno = EINVAL;
        return -1;
    }
    std::random_device random;
    for (int tries = 0; tries < 100; ++tries) {
        for (std::size_t i = name.size() - 6; i < name.size(); ++i) {
            name[i] = kLetters[random() % (std::size(kLetters) - 1)];
        }
        const HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll,
                                     nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
        const int fd = adopt(h, _O_RDWR);
        if (fd >= 0) pattern = fs::path(name);
        return fd;
    }
    errno = EEXIST;
    return -1;
}

// The rename waits for the disk (write-through): a folder cannot be flushed
// there. A target another program holds open cannot be replaced; it is tried
// again for a while, then the reason is that it is in use.
bool rename_over(const fs::path& from, const fs::path& to) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        const bool maybe_in_use = error == ERROR_SHARING_VIOLATION ||
                                  error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!maybe_in_use || attempt + 1 >= kReplaceTries) {
            errno = maybe_in_use && held_open(to) ? EBUSY : errno_of(error);
            return false;
        }
        Sleep(kReplacePauseMs);
    }
}

bool remove(const fs::path& path) {
    if (DeleteFileW(path.c_str())) return true;
    set_error();
    return false;
}

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((folder / L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        try {
            const std::u8string utf8 = fs::path(name).u8string();
            names.emplace_back(utf8.begin(), utf8.end());
        } catch (const std::exception&) {
            // Not valid UTF-16: no name this program makes.
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

// 255 UTF-16 units; a UTF-8 name of 255 bytes never has more.
std::size_t longest_name(const fs::path&) { return 255; }

// The system's own answer: the final name of the file the link leads to. A
// link leading nowhere is left as it is (and refused as no regular file).
std::optional<fs::path> link_end(const fs::path& path) {
    Info info;
    if (!info_at(path, info, false) || info.kind != Kind::link) return std::nullopt;
    const HANDLE h = open_handle(path, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::wstring name = final_name(h);
    CloseHandle(h);
    if (name.empty()) return std::nullopt;
    // "\\?\C:\..." and "\\?\UNC\server\..." as the user would write them.
    if (name.starts_with(L"\\\\?\\UNC\\")) {
        name.replace(0, 8, L"\\\\");
    } else if (name.starts_with(L"\\\\?\\")) {
        name.erase(0, 4);
    }
    return fs::path(name);
}

int flush_folder(const fs::path&) { return 0; }

std::uint32_t own_owner() { return 0; }

std::uint32_t own_group() { return 0; }

unsigned new_file_mode() { return 0666; }

// The read-only attribute is the user's "may not write"; what the access
// lists forbid shows when the file is replaced.
bool may_write(const fs::path&, const Info& info) { return (info.mode & 0222) != 0; }

bool set_owner(int, std::uint32_t, std::uint32_t) { return true; }

// A new file gets the folder's inherited rights; the read-only attribute
// never needs setting, as a read-only file is never replaced.
bool set_mode(int, unsigned) { return true; }

bool keep_attributes(int fd, const fs::path& from, const std::function<bool()>& may_set) {
    const DWORD wanted = GetFileAttributesW(from.c_str());
    if (wanted == INVALID_FILE_ATTRIBUTES) {
        set_error();
        return false;
    }
    FILE_BASIC_INFO basic{};
    const HANDLE h = handle_of(fd);
    if (!GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)) {
        set_error();
        return false;
    }
    const DWORD now = basic.FileAttributes;
    DWORD next = (now & ~kKeptAttributes) | (wanted & kKeptAttributes);
    if (next == now) return true;
    if (next == 0) next = FILE_ATTRIBUTE_NORMAL;
    if (!may_set()) return false;
    FILE_BASIC_INFO change{};  // times 0: left as they are
    change.FileAttributes = next;
    if (SetFileInformationByHandle(h, FileBasicInfo, &change, sizeof change)) return true;
    set_error();
    return false;
}

// Only the numbers made for locking can be locked; another open file (a
// rewrite's new file joining the holding) is not needed for it.
Lock try_lock(int fd) {
    LockObjects& all = lock_objects();
    const std::lock_guard hold(all.guard);
    const auto found = all.objects.find(fd);
    if (found == all.objects.end()) return Lock::unsupported;
    LockObject& object = found->second;
    if (object.mutex == nullptr) {
        object.mutex = CreateMutexW(nullptr, FALSE, object.mutex_name.c_str());
        if (object.mutex == nullptr) {
            set_error();
            return Lock::unsupported;
        }
    }
    switch (WaitForSingleObject(object.mutex, 0)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:
            return Lock::taken;
        case WAIT_TIMEOUT:
            return Lock::busy;
        default:
            set_error();
            return Lock::unsupported;
    }
}

void unlock(int fd) {
    LockObjects& all = lock_objects();
    const std::lock_guard hold(all.guard);
    const auto found = all.objects.find(fd);
    if (found != all.objects.end() && found->second.mutex != nullptr) {
        ReleaseMutex(found->second.mutex);
    }
}

}  // namespace merkwald::platform
