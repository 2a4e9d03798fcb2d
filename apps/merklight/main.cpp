// merklight: the reminder list only.

#include "shell/start/program_main.h"

int main(int argc, char** argv) {
    merkwald::ProgramSetup setup;
    setup.kind = merkwald::ProgramKind::light;
    setup.version = {MERKWALD_VERSION_MAJOR, MERKWALD_VERSION_MINOR, MERKWALD_VERSION_PATCH};
    setup.install_data_folder = QStringLiteral(MERKWALD_INSTALL_DATA_DIR);
    return merkwald::run_program(argc, argv, setup);
}
