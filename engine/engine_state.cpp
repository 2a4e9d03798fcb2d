#include "engine_state.h"

namespace merkwald {

void RefreshTables::clear() {
    files.clear();
    lines.clear();
    missed.clear();
    captured.clear();
    people.clear();
    read_ok = false;
    failed_files = 0;
    failed_names.clear();
    pending_sort_date = DaySerial{};
    current_file.clear();
    current_line = 0;
}

EngineState::EngineState(EngineSettings s, DaySerial today_, std::filesystem::path folder)
    : settings(std::move(s)), today(today_), program_folder(std::move(folder)) {
    record.date = today;
    record.color = settings.record_color;
}

std::filesystem::path EngineState::resolve(const std::string& file_name) const {
    return resolve_file_name(program_folder, file_name);
}

std::filesystem::path resolve_file_name(const std::filesystem::path& folder,
                                        const std::string& name) {
    const std::filesystem::path path(std::u8string(name.begin(), name.end()));
    // On Windows a name like "\daten\a.rmd" keeps the folder's drive.
    return path.is_absolute() ? path : folder / path;
}

}  // namespace merkwald
