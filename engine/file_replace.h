#pragma once
// Replacing a whole file so that a crash leaves either the old or the new content.

#include <filesystem>
#include <string_view>

namespace merkwald {

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk, gives
// it the permissions of the file it replaces and renames it over `path` (through a
// symbolic link to its target). false, and `path` untouched, on any failure.
[[nodiscard]] bool replace_file_contents(const std::filesystem::path& path, std::string_view bytes);

}  // namespace merkwald
