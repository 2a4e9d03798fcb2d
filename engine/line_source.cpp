#include "line_source.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "platform_file.h"

namespace merkwald {

namespace {
constexpr std::size_t kBlock = 1 << 16;

// Length of the complete UTF-8 sequences at the start of `s`: an incomplete
// sequence at the end is held back for the next block.
std::size_t complete_prefix(std::string_view s) {
    std::size_t n = s.size();
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
        const auto c = static_cast<unsigned char>(s[n - back]);
        if ((c & 0xC0) == 0x80) continue;  // continuation byte: keep looking for the lead
        if (c >= 0xC0) {
            const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            if (need > back) return n - back;
        }
        break;
    }
    return n;
}
}  // namespace

LineSource::LineSource(const std::filesystem::path& path) {
    // Devices and pipes are no reminder files: /dev/zero would never end, a pipe
    // could block the program forever.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return;
    file_ = platform::open_stream(path);
    if (!file_) return;
    buffer_.resize(kBlock * 2);
    if (!detect_encoding()) {
        failed_ = true;
        return;
    }
    std::rewind(file_);
}

LineSource::~LineSource() {
    if (file_) std::fclose(file_);
}

bool LineSource::detect_encoding() {
    std::string carry;
    std::string block(kBlock, '\0');
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, kBlock, file_);
        if (got == 0) break;
        carry.append(block.data(), got);
        const std::size_t ok = complete_prefix(carry);
        if (!is_valid_utf8(std::string_view(carry).substr(0, ok))) {
            encoding_ = TextEncoding::windows1252;
            return !std::ferror(file_);
        }
        carry.erase(0, ok);
    }
    if (std::ferror(file_)) return false;
    // Bytes left over are a sequence cut off by the end of the file.
    encoding_ = carry.empty() ? TextEncoding::utf8 : TextEncoding::windows1252;
    return true;
}

bool LineSource::fill() {
    // Move the unread rest to the front, then read behind it.
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    next_lf_ = next_cr_ = kUnknown;
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a very long line
    const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    if (got == 0) {
        if (std::ferror(file_)) failed_ = true;
        eof_ = true;
        return false;
    }
    end_ += got;
    return true;
}

std::size_t LineSource::find(std::size_t& cache, char c) {
    // Each kind of line end is searched once per stretch of the buffer, so a file
    // that never uses one of them is not rescanned for every line.
    if (cache == kUnknown || cache < pos_) {
        const void* hit = std::memchr(buffer_.data() + pos_, c, end_ - pos_);
        cache = hit ? std::size_t(static_cast<const char*>(hit) - buffer_.data()) : end_;
    }
    return cache;
}

bool LineSource::next(std::string_view& line) {
    if (!file_ || failed_) return false;
    for (;;) {
        const char* begin = buffer_.data() + pos_;
        const std::size_t avail = end_ - pos_;
        // A line ends at the first CR or LF; a CR at the very end of the block may
        // still be followed by its LF, so it waits for more data unless at the end.
        const std::size_t lf = find(next_lf_, '\n');
        const std::size_t cr = find(next_cr_, '\r');
        const std::size_t stop = std::min(lf, cr);
        const char* hit = stop < end_ ? buffer_.data() + stop : nullptr;
        if (hit && *hit == '\r' && stop + 1 == end_ && !eof_) hit = nullptr;
        if (hit || (eof_ && avail > 0)) {
            const std::size_t len = hit ? std::size_t(hit - begin) : avail;
            line = std::string_view(begin, len);
            std::size_t skip = len;
            if (hit) {
                ++skip;
                if (begin[len] == '\r' && len + 1 < avail && begin[len + 1] == '\n') ++skip;
            }
            pos_ += skip;
            if (first_line_) {
                first_line_ = false;
                // The mark goes whatever follows it: before Windows-1252 text it
                // would otherwise hide the first tag.
                if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
            }
            if (encoding_ == TextEncoding::windows1252) {
                converted_ = windows1252_to_utf8(line);
                line = converted_;
            }
            return true;
        }
        if (eof_) return false;
        if (!fill() && avail == 0) return false;
    }
}

}  // namespace merkwald
