// The birthday import's reader of comma-separated files: the fields and the
// line each one stands on.

#include <cstdint>
#include <string_view>

#include "editing/birthday_import.h"

namespace {

using namespace merkwald;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)csv_fields(text);

    long long lines = 1;
    for (const char c : text) lines += c == '\n' || c == '\r';
    int previous_line = 1;
    for (const CsvField& field : csv_entry_fields(text)) {
        // Fields come in the order of their lines, each on a line of the text.
        check(field.line >= previous_line && field.line <= lines);
        previous_line = field.line;
    }
    return 0;
}
