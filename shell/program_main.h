#pragma once
// What the two programs' main() share: the application, the program folder,
// the settings store, the platform services and the main window's start.

#include <QString>
#include <functional>

#include "shell/main_window.h"

namespace merkwald {

struct ProgramSetup {
    ProgramKind kind = ProgramKind::full;
    ProgramVersion version;
    QString install_data_folder;  // where the installation keeps the default data files
    // Adds what the program has beyond the shared window (the full program's menus,
    // toolbar and editors); runs before the start.
    std::function<void(MainWindow&)> compose;
};

// Runs the program to its end and returns the exit status.
int run_program(int argc, char** argv, const ProgramSetup& setup);

}  // namespace merkwald
