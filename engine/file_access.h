#pragma once
// Reading the files the editing tools work on: only regular files of a bounded
// size (a pipe would block the program, a device never end), and with a stamp
// that tells later whether another program changed the file in between.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace merkwald {

inline constexpr std::uintmax_t kMaxEditedFileBytes = std::uintmax_t{256} << 20;

// What a file was when it was read: size, modification time and a hash of its
// bytes. Two stamps differ as soon as one of the three differs.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified_ns = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct FileRead {
    bool ok = false;
    std::string message;  // German, names the file and the reason
    FileStamp stamp;
};

// The whole file as bytes with its stamp. A missing file, a folder, a pipe, a
// device or a file larger than kMaxEditedFileBytes is refused with a message.
[[nodiscard]] FileRead read_regular_file(const std::filesystem::path& path, std::string& bytes);

// The stamp of the file as it is now; a missing file gives `exists == false`.
[[nodiscard]] FileStamp current_stamp(const std::filesystem::path& path);

// The stamp of a file this program has just written with `bytes`: taken from
// the bytes in hand instead of reading the file back.
[[nodiscard]] FileStamp stamp_of_written(const std::filesystem::path& path, std::string_view bytes);

// What the reading windows show when a file cannot be read: "Datei nicht
// gefunden" when it is missing, else `reason`.
[[nodiscard]] std::string read_failure_text(const std::filesystem::path& path,
                                            const std::string& reason);

// The file name as UTF-8 for messages.
[[nodiscard]] std::string display_name(const std::filesystem::path& path);

// What every rewrite says when the file cannot be read.
[[nodiscard]] std::string unreadable_message(const std::filesystem::path& path);

// "Die Datei ... wurde inzwischen von einem anderen Programm geändert. ..."
[[nodiscard]] std::string changed_outside_message(const std::filesystem::path& path);

}  // namespace merkwald
