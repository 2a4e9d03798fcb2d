#pragma once
// Shared by the fuzz targets: the first bytes of an input choose today, dates and
// settings, so the fuzzer steers those as well as the text that follows them.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calendar/date_serial.h"

namespace merkwald::fuzz {

// Hands out the input's leading bytes; past the end every byte reads as 0.
class Header {
public:
    Header(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t word() {
        const std::uint16_t high = byte();
        return std::uint16_t(high << 8 | byte());
    }
    bool bit() { return (byte() & 1) != 0; }
    // The rest of the input, after the bytes handed out so far.
    [[nodiscard]] std::string_view rest() const {
        const std::size_t from = pos_ < size_ ? pos_ : size_;
        return {reinterpret_cast<const char*>(data_) + from, size_ - from};
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A date anywhere in the calendar range, biased towards its two ends and the
// years around 2000 where the real files live. Serials outside the range never
// reach the engine (every date it sees was parsed or computed in range).
inline DaySerial pick_date(Header& h) {
    const int selector = h.byte() % 4;
    const int offset = h.word();
    const DaySerial first = *make_date(kMinYear, 1, 1);
    const DaySerial last = *make_date(kMaxYear, 12, 31);
    switch (selector) {
        case 0:
            return first + offset % 800;
        case 1:
            return last - offset % 800;
        case 2: {
            const long long span = last - first + 1;
            return DaySerial(first + (static_cast<long long>(offset) * 977) % span);
        }
        default:
            return *make_date(1999, 3, 5) + (offset - 32768);
    }
}

}  // namespace merkwald::fuzz
