#include "line_source.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "platform_file.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define MERKWALD_LINE_END_SSE2 1
#endif

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

// The first CR or LF in [from, to), or `to`. Lines are short and every line of
// every file passes here: sixteen or eight bytes at a time, no call per line.
const char* find_line_end(const char* from, const char* to) {
#ifdef MERKWALD_LINE_END_SSE2
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (to - from >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const int hits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr)));
        if (hits != 0) return from + std::countr_zero(static_cast<unsigned>(hits));
        from += 16;
    }
#endif
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    if constexpr (std::endian::native == std::endian::little) {
        while (to - from >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, from, 8);
            const std::uint64_t lf = word ^ (kOnes * '\n');
            const std::uint64_t cr = word ^ (kOnes * '\r');
            // The lowest flagged byte is the first zero byte of lf or cr.
            const std::uint64_t zero = ((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr);
            if (zero & kHighs) return from + std::countr_zero(zero & kHighs) / 8;
            from += 8;
        }
    }
    while (from < to && *from != '\n' && *from != '\r') ++from;
    return from;
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
    // Each block is checked where it was read; only a sequence cut by the block's
    // end (at most three bytes) moves to the front for the next.
    constexpr std::size_t kCarry = 3;
    std::string block(kCarry + kBlock, '\0');
    std::size_t carried = 0;
    for (;;) {
        const std::size_t got = std::fread(block.data() + carried, 1, kBlock, file_);
        if (got == 0) break;
        const std::string_view read(block.data(), carried + got);
        const std::size_t ok = complete_prefix(read);
        if (!is_valid_utf8(read.substr(0, ok))) {
            encoding_ = TextEncoding::windows1252;
            return !std::ferror(file_);
        }
        carried = read.size() - ok;
        std::memmove(block.data(), block.data() + ok, carried);
    }
    if (std::ferror(file_)) return false;
    // Bytes left over are a sequence cut off by the end of the file.
    encoding_ = carried == 0 ? TextEncoding::utf8 : TextEncoding::windows1252;
    return true;
}

bool LineSource::fill() {
    // Move the unread rest to the front, then read behind it.
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
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

bool LineSource::next(std::string_view& line) {
    // Nearly every line: UTF-8, past the first line, its end in the buffer with a
    // byte after it (so a CR's LF is known). Kept apart from the rest so that it
    // costs no more than finding the line's end.
    if (!first_line_ && encoding_ == TextEncoding::utf8 && file_ && !failed_) {
        const char* begin = buffer_.data() + pos_;
        const char* end = buffer_.data() + end_;
        const char* stop = find_line_end(begin, end);
        if (end - stop > 1) {
            line = std::string_view(begin, std::size_t(stop - begin));
            pos_ += line.size() + (*stop == '\r' && stop[1] == '\n' ? 2 : 1);
            return true;
        }
    }
    return next_slow(line);
}

bool LineSource::next_slow(std::string_view& line) {
    if (!file_ || failed_) return false;
    for (;;) {
        const char* begin = buffer_.data() + pos_;
        const char* end = buffer_.data() + end_;
        const std::size_t avail = end_ - pos_;
        // A line ends at the first CR or LF; a CR at the very end of the block may
        // still be followed by its LF, so it waits for more data unless at the end.
        const char* stop = find_line_end(begin, end);
        const bool ended = stop < end && (*stop == '\n' || stop + 1 < end || eof_);
        if (ended || (eof_ && avail > 0)) {
            const auto len = std::size_t(stop - begin);  // all that is left when not ended
            line = std::string_view(begin, len);
            std::size_t skip = len;
            if (ended) {
                ++skip;
                if (*stop == '\r' && len + 1 < avail && stop[1] == '\n') ++skip;
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
