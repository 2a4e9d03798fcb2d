#include "tags.h"

#include <array>
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
    // The reader asks for every line of every file: no allocation.
    if (name.empty() || name.size() > kLongestTag) return Tag::none;
    char lower[kLongestTag];
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        lower[i] = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    }
    const std::string_view key(lower, name.size());
    for (const auto& [tag_name, tag] : kTags)
        if (tag_name == key) return tag;
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
