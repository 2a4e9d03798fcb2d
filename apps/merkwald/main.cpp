// merkwald: the full program, the shared window with the menus and the editors.

#include <memory>

#include "apps/merkwald/form_host.h"
#include "apps/merkwald/menus.h"
#include "editors/entry_commands.h"
#include "shell/program_main.h"

int main(int argc, char** argv) {
    using namespace merkwald;
    std::unique_ptr<FormHost> host;
    ProgramSetup setup;
    setup.kind = ProgramKind::full;
    setup.version = {MERKWALD_VERSION_MAJOR, MERKWALD_VERSION_MINOR, MERKWALD_VERSION_PATCH};
    setup.install_data_folder = QStringLiteral(MERKWALD_INSTALL_DATA_DIR);
    setup.compose = [&host, &setup](Form1& form) {
        host = std::make_unique<FormHost>(form);
        auto* entries = new EntryCommands(*host, &form);
        MainMenus* menus = install_menus(form, *host, setup.version, *entries);
        form.set_initialise_handler([entries, menus] {
            entries->load_templates();
            follow_templates(*menus, *entries);
        });
    };
    return run_program(argc, argv, setup);
}
