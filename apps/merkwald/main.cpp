// merkwald: the full program, the shared window with the menus and the editors.

#include <memory>

#include "apps/merkwald/main_window_host.h"
#include "apps/merkwald/menus.h"
#include "editors/entry_commands.h"
#include "shell/program_main.h"

int main(int argc, char** argv) {
    using namespace merkwald;
    std::unique_ptr<MainWindowHost> host;
    ProgramSetup setup;
    setup.kind = ProgramKind::full;
    setup.version = {MERKWALD_VERSION_MAJOR, MERKWALD_VERSION_MINOR, MERKWALD_VERSION_PATCH};
    setup.install_data_folder = QStringLiteral(MERKWALD_INSTALL_DATA_DIR);
    setup.compose = [&host, &setup](MainWindow& window) {
        host = std::make_unique<MainWindowHost>(window);
        auto* entries = new EntryCommands(*host, &window);
        MainMenus* menus = install_menus(window, *host, setup.version, *entries);
        window.set_initialise_handler([entries, menus] {
            entries->load_templates();
            follow_templates(*menus, *entries);
        });
    };
    return run_program(argc, argv, setup);
}
