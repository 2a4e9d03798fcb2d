#pragma once
// Streams the lines of a text file through a fixed buffer, so that a reminder
// file of any size is read without holding it in memory. A first pass decides the
// encoding (valid UTF-8, else Windows-1252); the second hands out UTF-8 lines.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "text_file.h"

namespace merkwald {

class LineSource {
public:
    explicit LineSource(const std::filesystem::path& path);
    ~LineSource();
    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    [[nodiscard]] bool is_open() const { return file_ != nullptr; }
    [[nodiscard]] TextEncoding encoding() const { return encoding_; }
    // The next line without its line end; false at the end of the file or on a
    // read error (then failed() tells). The view lives until the next call.
    bool next(std::string_view& line);
    [[nodiscard]] bool failed() const { return failed_; }

private:
    bool fill();
    // next() for the lines at the buffer's end, the first line and Windows-1252.
    bool next_slow(std::string_view& line);
    bool detect_encoding();

    std::FILE* file_ = nullptr;
    TextEncoding encoding_ = TextEncoding::utf8;
    std::string buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool first_line_ = true;
    std::string converted_;
};

}  // namespace merkwald
