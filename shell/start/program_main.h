#pragma once
// What the two programs' main() share: the application, the program folder,
// the settings store, the platform services and the main window's start.

#include <QString>
#include <functional>

#include "shell/main/main_window.h"

namespace merkwald {

struct ProgramSetup {
    ProgramKind kind = ProgramKind::full;
    ProgramVersion version;
    QString install_data_folder;  // where the installation keeps the default data files
    // Adds what the program has beyond the shared window (the full program's menus,
    // toolbar and editors); runs before the start.
    std::function<void(MainWindow&)> compose;
};

// What ties a program's windows to its desktop entry: the X11 window class and
// the desktop file's name without ".desktop" (the Wayland app id).
struct DesktopIdentity {
    QString window_class;
    QString desktop_file;
};
[[nodiscard]] DesktopIdentity desktop_identity(ProgramKind kind);

// The application's names, the desktop identity included.
void name_application(ProgramKind kind, const ProgramVersion& version);

// Runs the program to its end and returns the exit status.
int run_program(int argc, char** argv, const ProgramSetup& setup);

}  // namespace merkwald
