#pragma once
// One refresh of the list: read every file of the file list, then put the due
// lines into their groups, sorted by date.

#include <array>
#include <string>
#include <vector>

#include "engine_state.h"
#include "messages.h"

namespace merkwald {

// Clears the per-refresh tables and reads `main_file` and every file it links.
void refresh(EngineState& state, RefreshTables& tables, const std::string& main_file,
             MessageSink& sink);

struct SortedLine {
    const LineEntry* line;
    int group;  // slot in the group table
};

// The lines distributed over the groups (slot order), each group in ascending
// sort date, equal dates in the order the reader produced them.
struct SortedList {
    std::vector<SortedLine> rows;
    // Per group slot: [first, last) into rows; empty when first == last.
    std::array<std::pair<int, int>, kGroupSlots> range{};
};

[[nodiscard]] SortedList sort_by_group(const EngineState& state, const RefreshTables& tables);

}  // namespace merkwald
