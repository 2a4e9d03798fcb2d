#pragma once
// The reminder file reader: one file, line by line, record by record.

#include <string>

#include "engine_state.h"
#include "messages.h"

namespace merkwald {

// Reads one reminder file completely into the refresh tables. `file_name` is the
// file list's entry as written (relative names resolve in the program folder);
// `main_file` tells whether it is entry 1, the only file whose `add_file` lines
// count (in the light program every file's do). Failures are reported and clear
// the read-ok mark; what was read before stays.
void read_records(EngineState& state, RefreshTables& tables, const std::string& file_name,
                  bool main_file, MessageSink& sink);

// The reader's handling of a `<record>` line: the working record starts afresh,
// keeping its run-long fields.
void start_record(EngineState& state, RefreshTables& tables);

// The reader's handling of a `</record>` line: evaluation, missed check, emit.
void end_record(EngineState& state, RefreshTables& tables, MessageSink& sink);

// true when the reader takes `name` (any case, trimmed) as one of its tags.
[[nodiscard]] bool is_reader_tag(std::string_view name);

// true when the reader knows `value` as a value of `active`.
[[nodiscard]] bool is_active_value(std::string_view value);

// false when `value` is out of the range the reader keeps for the number tag
// `name` (a read failure that ends the file); true for any other tag.
[[nodiscard]] bool number_value_fits(std::string_view name, std::string_view value);

// true when the file can be opened for reading.
[[nodiscard]] bool file_exists(const std::filesystem::path& path);

}  // namespace merkwald
