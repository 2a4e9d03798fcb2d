#include "refresh.h"

#include <algorithm>

#include "evaluate.h"
#include "reader.h"
#include "text.h"

namespace merkwald {

void refresh(EngineState& state, RefreshTables& tables, const std::string& main_file,
             MessageSink& sink) {
    tables.clear();
    tables.files.push_back(main_file);
    read_last_start(state);
    // The list may grow while the main file is read.
    for (std::size_t i = 0; i < tables.files.size(); ++i) {
        const std::string name = tables.files[i];
        read_records(state, tables, name, i == 0, sink);
    }
}

SortedList sort_by_group(const EngineState& state, const RefreshTables& tables) {
    SortedList list;
    list.rows.reserve(tables.lines.size());
    for (int g = 0; g <= state.group_count && g < kGroupSlots; ++g) {
        const std::string group = to_lower(state.groups[std::size_t(g)]);
        const int first = int(list.rows.size());
        for (const LineEntry& line : tables.lines)
            if (to_lower(line.group) == group) list.rows.push_back({&line, g});
        const auto begin = list.rows.begin() + first;
        std::stable_sort(begin, list.rows.end(), [](const SortedLine& a, const SortedLine& b) {
            return a.line->sort_date < b.line->sort_date;
        });
        list.range[std::size_t(g)] = {first, int(list.rows.size())};
    }
    return list;
}

}  // namespace merkwald
