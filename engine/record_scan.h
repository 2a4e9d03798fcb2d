#pragma once
// Where the records of a reminder file stand, for the editing tools.

#include <filesystem>
#include <vector>

#include "messages.h"

namespace merkwald {

struct RecordBounds {
    long long start = 0;  // line of `<record>`, counted from 1; 0 when none was seen
    long long end = 0;    // line of `</record>`
    friend bool operator==(const RecordBounds&, const RecordBounds&) = default;
};

struct RecordScan {
    std::vector<RecordBounds> records;  // one per `</record>` (the count)
    bool ok = false;                    // false when the file could not be read
};

// A `<record>` line sets the start of the current record (a second one replaces
// it), a `</record>` line its end and moves on to the next record. A file that
// cannot be read shows "Datei nicht gefunden".
[[nodiscard]] RecordScan scan_records(const std::filesystem::path& path, MessageSink& sink);

// true when a directory listing for the path finds an entry.
[[nodiscard]] bool path_exists(const std::filesystem::path& path);

}  // namespace merkwald
