#pragma once
// The one table of the values under "Software\Merkwald": name, kind, where the
// value lands in `Settings`, its default and who writes it.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "settings/settings.h"

namespace merkwald::schema {

enum class Kind {
    text,         // a text as it stands
    number,       // a 32-bit number
    text_flag,    // "true" / "false"
    number_flag,  // 1 / 0
    number_text,  // a text holding a number
};

// Where a missing value's default comes from.
enum class Fallback {
    none,          // no default: the setting keeps what it held
    stated,        // `default_text`, taken as if it had been stored
    program_file,  // the file `default_text` in the program folder
    record_color,  // the record colour (read before)
};

enum class Writer { options_dialog, window, start, tools };

using Columns = std::array<std::optional<std::int32_t>, kListColumns>;
using Member = std::variant<std::string Settings::*, std::int32_t Settings::*, bool Settings::*,
                            double Settings::*, std::optional<std::int32_t> Settings::*,
                            std::optional<double> Settings::*, Columns Settings::*>;

struct Entry {
    std::string_view name;
    Kind kind;
    Member member;
    Fallback fallback;
    std::string_view default_text;
    Writer writer;
    bool place = false;  // part of the default place, which replaces it as a whole
    int column = 0;      // the index into `columns`
};

// In the order `read_registry` reads them.
[[nodiscard]] std::span<const Entry> entries();
[[nodiscard]] const Entry* find_entry(std::string_view name);
// The light program keeps its own window values, named with "Light" in front.
[[nodiscard]] std::string stored_name(const Entry& entry, bool light);

}  // namespace merkwald::schema
