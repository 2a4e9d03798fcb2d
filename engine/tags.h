#pragma once
// The one vocabulary of the reminder files: the tag names the reader acts on and
// the values of `active`. The reader, the file check and every editing tool ask
// here, so a tag known to one of them is known to all.

#include <string_view>

namespace merkwald {

enum class Tag {
    none,  // not a tag: the line is record text
    record,
    add_file,
    background,
    color,
    priority,
    date,
    active_before,
    active_after,
    active,
    periodic_repeat,
    active_day,
    active_week,
    group,
    end_record,
};

// The tag a split line's name stands for; names match without regard to case
// and to blanks around them.
[[nodiscard]] Tag find_tag(std::string_view name);

// The name as the tools write it ("active_before", "/record"); empty for none.
[[nodiscard]] std::string_view tag_name(Tag tag);

enum class ActiveValue { none, always, once, periodic, monthly };

// Values are matched exactly and only in lower case: "Once" is none, and the
// line stays record text.
[[nodiscard]] ActiveValue find_active_value(std::string_view value);
[[nodiscard]] std::string_view active_value_name(ActiveValue value);

// 1 for "sunday" to 7 for "saturday" (an `active_day` value), 0 for anything else.
[[nodiscard]] int weekday_number(std::string_view value);
// "sunday" for 1 ... "saturday" for 7; empty outside.
[[nodiscard]] std::string_view weekday_word(int weekday);

}  // namespace merkwald
