#pragma once
// The full program's menu bar and toolbar: the shell's menus with the commands
// of the editing tools.

#include <memory>

#include "apps/merkwald/main_window_host.h"
#include "editors/entry/entry_commands.h"
#include "editors/records/record_commands.h"
#include "shell/main/main_menus.h"
#include "shell/main/main_window.h"

namespace merkwald {

// Builds the menu bar and `Toolbar1` on `window` with the record commands (made
// here) and the quick-entry, import, converter and new-file commands of
// `entries`. The returned object is owned by the window.
MainMenus* install_menus(MainWindow& window, EditorHost& host, const ProgramVersion& version,
                         EntryCommands& entries);

// Enables the entries that need a template file exactly when it was loaded.
void follow_templates(MainMenus& menus, const EntryCommands& entries);

// Everything the full program adds to the shared window: menus, toolbar and the
// editing tools, whose templates load in the initialisation step. The host
// must live as long as the window.
[[nodiscard]] std::unique_ptr<MainWindowHost> compose_full_program(MainWindow& window,
                                                                   const ProgramVersion& version);

}  // namespace merkwald
