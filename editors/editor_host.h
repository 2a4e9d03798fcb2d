#pragma once
// The main window as the editing tools see it: they run their windows through
// it and hand it what the user chose; it keeps the settings, the store and the
// engine state. The commands build each window's EditorContext from it.

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "editors/editor_context.h"
#include "engine/engine_state.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "shell/platform/platform.h"

class QWidget;

namespace merkwald {

class EditorHost {
public:
    virtual ~EditorHost() = default;
    // The parent of the dialogs.
    [[nodiscard]] virtual QWidget* dialog_parent() = 0;
    // Runs a modal window with the periodic refresh paused, then refreshes the
    // list when asked to.
    virtual void run_modal_command(std::function<void()> command, bool refresh_after = true) = 0;
    // One refresh with every record's lead time replaced by `days`.
    virtual void show_data_with_lead_days(int days) = 0;
    [[nodiscard]] virtual Settings& settings() = 0;
    [[nodiscard]] virtual SettingsStore& settings_store() = 0;
    [[nodiscard]] virtual EngineState& engine_state() = 0;
    [[nodiscard]] virtual QString program_folder() const = 0;
    [[nodiscard]] virtual Services& services() = 0;
    // Makes `file` the main reminder file for the rest of the run (the stored
    // setting stays); the caller refreshes.
    virtual void set_main_file(const std::string& file) = 0;
    // Entry 1 the main reminder file, then the linked files (of the last refresh).
    [[nodiscard]] virtual std::vector<std::string> file_list() const = 0;
};

// What each editing window is given, built afresh for each command.
[[nodiscard]] inline EditorContext editor_context_of(EditorHost& host) {
    return {host.settings(), host.engine_state(), to_path(host.program_folder()), host.services()};
}

// The file list's entry 1; before the first refresh the stored main file.
[[nodiscard]] inline std::string main_file_of(EditorHost& host) {
    const std::vector<std::string> files = host.file_list();
    return files.empty() ? host.settings().data_filename : files.front();
}

}  // namespace merkwald
