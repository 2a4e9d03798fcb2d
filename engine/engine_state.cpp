#include "engine_state.h"

namespace merkwald {

void RefreshTables::clear() {
    files.clear();
    lines.clear();
    missed.clear();
    captured.clear();
    read_ok = false;
    failed_files = 0;
    pending_sort_date = 0;
    current_file.clear();
    current_line = 0;
}

EngineState::EngineState(EngineSettings s, DaySerial today_, std::filesystem::path folder)
    : settings(std::move(s)), today(today_), program_folder(std::move(folder)) {
    record.date = record.event_date = today;
    record.color = settings.record_color;
}

std::filesystem::path EngineState::resolve(const std::string& file_name) const {
    const std::filesystem::path p(file_name);
    if (p.is_absolute() || program_folder.empty()) return p;
    return program_folder / p;
}

}  // namespace merkwald
