#pragma once
// What the editing windows are given by the command that opens them. The store
// is not among it: the commands store what the windows hand back.

#include <QString>
#include <filesystem>

#include "engine/engine_state.h"
#include "settings/qt_bridges.h"
#include "settings/settings.h"
#include "shell/platform/platform.h"

namespace merkwald {

struct EditorContext {
    Settings& settings;
    EngineState& engine;  // today, the group table and the placeholder expansion
    std::filesystem::path program_folder;
    Services& services;

    // Relative names are taken relative to the program folder.
    [[nodiscard]] std::filesystem::path resolve(const std::string& name) const {
        return resolve_file_name(program_folder, name);
    }
};

}  // namespace merkwald
