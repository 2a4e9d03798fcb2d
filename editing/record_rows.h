#pragma once
// The record list's rows: what each record of a file shows in the grid, and
// the orders the grid can be sorted in.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editing/reminder_document.h"
#include "engine/engine_state.h"
#include "engine/messages.h"

namespace merkwald {

inline constexpr int kRowHeightTwips = 240;  // per text line

struct ListRow {
    int record = 0;          // the row map: record number in the file, from 1
    std::string text;        // the record text, lines joined by "\r\n" (gone once previewed)
    std::string preview;     // column 1: the text with placeholders expanded
    std::string date;        // the date value as written
    std::string date_shown;  // column 2: a valid date as "dd.mm.yyyy", else as written
    std::int64_t color = 0;  // column 3
    std::string lead_time;   // column 4
    std::string frequency;   // column 5
    std::string group;       // column 6: the group table's spelling, or empty
    int text_lines = 1;      // the row is this many times 240 twips high
    friend bool operator==(const ListRow&, const ListRow&) = default;
};

// Record `number` (from 1) of the document, without the preview.
[[nodiscard]] ListRow read_row(const ReminderDocument& doc, const RecordBounds& bounds, int number,
                               const std::vector<std::string>& groups, std::uint32_t record_color);

// The same from the record's lines as record_content gives them.
[[nodiscard]] ListRow row_of_content(const std::string& content, int number,
                                     const std::vector<std::string>& groups,
                                     std::uint32_t record_color);

// The row's column 1: its text expanded against the state's today, which
// then lets the text go; `line` is the line of the record's `</record>` for
// the messages.
void expand_preview(ListRow& row, EngineState& state, const std::string& file_name, long long line,
                    MessageSink& sink);

struct FilledRows {
    std::vector<ListRow> rows;          // file order
    std::vector<RecordBounds> records;  // where they stand
    std::vector<std::string> contents;  // their lines (record_content)
    FileStamp stamp;                    // the file they were read from
    bool ok = false;                    // false: the reason was shown
};

// Every record of the file with its preview, expanded against the state's
// today (syntax errors are reported through `sink`).
[[nodiscard]] FilledRows fill_rows(const std::filesystem::path& file, EngineState& state,
                                   MessageSink& sink);

// The group table's names 1 ... group count.
[[nodiscard]] std::vector<std::string> group_names(const EngineState& state);

// An invalid or missing date counts as 30.12.1899.
[[nodiscard]] DaySerial row_date(const ListRow& row);

enum class DateOrder { day, month, year };  // "Tag", "Monat", "Jahr"

// Sorts by a grid column (1 ... 7; 0 keeps the order), the date column in the
// given order. Rows with equal keys keep their order.
void sort_rows(std::vector<ListRow>& rows, int column, DateOrder order, bool descending);
// The same order as positions into `rows`, which stay where they are.
[[nodiscard]] std::vector<std::size_t> sorted_order(const std::vector<const ListRow*>& rows,
                                                    int column, DateOrder order, bool descending);

// The "Auto Löschen" test: a one-time record whose valid date lies before today.
[[nodiscard]] bool is_expired_once(const ListRow& row, DaySerial today);

}  // namespace merkwald
