#include "tags.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

namespace merkwald {

namespace {

constexpr std::array<std::pair<std::string_view, Tag>, 14> kTags{{
    {"record", Tag::record},
    {"add_file", Tag::add_file},
    {"background", Tag::background},
    {"color", Tag::color},
    {"priority", Tag::priority},
    {"date", Tag::date},
    {"active_before", Tag::active_before},
    {"active_after", Tag::active_after},
    {"active", Tag::active},
    {"periodic_repeat", Tag::periodic_repeat},
    {"active_day", Tag::active_day},
    {"active_week", Tag::active_week},
    {"group", Tag::group},
    {"/record", Tag::end_record},
}};

constexpr std::size_t kLongestTag = 15;
constexpr std::size_t kSameLength = 2;  // at most this many names share a length

// The names of each length, as indexes into kTags (kTags.size() for none).
constexpr auto kByLength = [] {
    std::array<std::array<std::size_t, kSameLength>, kLongestTag + 1> out{};
    for (auto& slot : out) slot.fill(kTags.size());
    for (std::size_t i = 0; i < kTags.size(); ++i) {
        auto& slot = out.at(kTags[i].first.size());
        std::size_t k = 0;
        while (slot.at(k) != kTags.size()) ++k;  // a third name of one length fails the build
        slot.at(k) = i;
    }
    return out;
}();

// The reader asks for every line of every file, so a name is compared a word at
// a time: its first and its last `part_of` bytes (overlapping unless the length
// is twice the part).
constexpr std::size_t part_of(std::size_t length) {
    return length >= 8 ? 8 : length >= 4 ? 4 : length;
}

constexpr std::uint64_t word_at(std::string_view s, std::size_t at, std::size_t n) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < n; ++i)
        word |= std::uint64_t(static_cast<unsigned char>(s[at + i])) << (8 * i);
    return word;
}

// word_at for the words of a name at run time: one load where the byte order allows.
template <std::size_t N>
std::uint64_t load_word(std::string_view s, std::size_t at) {
    if constexpr (std::endian::native == std::endian::little) {
        std::conditional_t<N == 8, std::uint64_t, std::uint32_t> word = 0;
        std::memcpy(&word, s.data() + at, N);
        return word;
    } else {
        return word_at(s, at, N);
    }
}

// Bit 0x20 of each letter. A byte ORed with it equals the lower-case letter
// exactly when it is that letter in either case; other bytes must be equal.
constexpr std::uint64_t case_bits(std::string_view s, std::size_t at, std::size_t n) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (s[at + i] >= 'a' && s[at + i] <= 'z') bits |= std::uint64_t(0x20) << (8 * i);
    return bits;
}

struct TagWords {
    std::uint64_t head, tail, head_case, tail_case;
};

constexpr auto kTagWords = [] {
    std::array<TagWords, kTags.size()> out{};
    for (std::size_t i = 0; i < kTags.size(); ++i) {
        const std::string_view name = kTags[i].first;
        const std::size_t part = part_of(name.size());
        const std::size_t last = name.size() - part;
        out[i] = {word_at(name, 0, part), word_at(name, last, part), case_bits(name, 0, part),
                  case_bits(name, last, part)};
    }
    return out;
}();

constexpr std::array<std::pair<std::string_view, ActiveValue>, 4> kActiveValues{{
    {"always", ActiveValue::always},
    {"once", ActiveValue::once},
    {"periodic", ActiveValue::periodic},
    {"monthly", ActiveValue::monthly},
}};

constexpr std::array<std::string_view, 7> kWeekdays{"sunday",   "monday", "tuesday", "wednesday",
                                                    "thursday", "friday", "saturday"};

bool is_blank(char c) { return c == ' '; }

}  // namespace

Tag find_tag(std::string_view name) {
    while (!name.empty() && is_blank(name.front())) name.remove_prefix(1);
    while (!name.empty() && is_blank(name.back())) name.remove_suffix(1);
    // The length leaves one or two names to compare.
    const std::size_t n = name.size();
    if (n > kLongestTag || kByLength[n][0] == kTags.size()) return Tag::none;
    std::uint64_t head = 0, tail = 0;
    if (n >= 8) {
        head = load_word<8>(name, 0);
        tail = load_word<8>(name, n - 8);
    } else if (n >= 4) {
        head = load_word<4>(name, 0);
        tail = load_word<4>(name, n - 4);
    } else {
        head = tail = word_at(name, 0, n);
    }
    for (const std::size_t i : kByLength[n]) {
        if (i == kTags.size()) break;
        const TagWords& w = kTagWords[i];
        if ((head | w.head_case) == w.head && (tail | w.tail_case) == w.tail)
            return kTags[i].second;
    }
    return Tag::none;
}

std::string_view tag_name(Tag tag) {
    for (const auto& [name, t] : kTags)
        if (t == tag) return name;
    return {};
}

ActiveValue find_active_value(std::string_view value) {
    for (const auto& [name, v] : kActiveValues)
        if (name == value) return v;
    return ActiveValue::none;
}

std::string_view active_value_name(ActiveValue value) {
    for (const auto& [name, v] : kActiveValues)
        if (v == value) return name;
    return {};
}

int weekday_number(std::string_view value) {
    for (std::size_t i = 0; i < kWeekdays.size(); ++i)
        if (kWeekdays[i] == value) return int(i) + 1;
    return 0;
}

std::string_view weekday_word(int weekday) {
    return weekday >= 1 && weekday <= 7 ? kWeekdays[std::size_t(weekday - 1)] : std::string_view();
}

}  // namespace merkwald
