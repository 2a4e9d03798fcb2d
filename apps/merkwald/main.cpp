// merkwald: the full program, the shared window with the menus and the editors.

#include <memory>

#include "apps/merkwald/menus.h"
#include "shell/start/program_main.h"

int main(int argc, char** argv) {
    using namespace merkwald;
    std::unique_ptr<MainWindowHost> host;
    ProgramSetup setup;
    setup.kind = ProgramKind::full;
    setup.version = {MERKWALD_VERSION_MAJOR, MERKWALD_VERSION_MINOR, MERKWALD_VERSION_PATCH};
    setup.install_data_folder = QStringLiteral(MERKWALD_INSTALL_DATA_DIR);
    setup.compose = [&host, &setup](MainWindow& window) {
        host = compose_full_program(window, setup.version);
    };
    return run_program(argc, argv, setup);
}
