#include "shell/program_main.h"

#include <QApplication>
#include <QTimer>

#include "shell/program_folder.h"
#include "shell/sound_player.h"

namespace merkwald {

int run_program(int argc, char** argv, const ProgramSetup& setup) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Merkwald"));
    QApplication::setApplicationName(QStringLiteral("Merkwald"));
    QApplication::setApplicationVersion(setup.version.text());
    // Standby hides the last window; only the program's own end paths quit.
    QApplication::setQuitOnLastWindowClosed(false);

    WindowOptions options;
    options.kind = setup.kind;
    options.program_folder = program_folder(setup.install_data_folder);
    options.command_line = CommandLine::from_arguments(QApplication::arguments());
    options.version = setup.version;

    SettingsStore store = SettingsStore::user_store();
    SystemClock clock;
    QtDialogs dialogs;
    QtSoundPlayer sound({QCoreApplication::applicationDirPath(),
                         QStringLiteral(MERKWALD_SOUND_MODULE_DIR)});
    MainWindow window(store, Services{clock, dialogs, sound}, options);
    if (setup.compose) setup.compose(window);
    if (!window.start()) return 0;
    // The start-up benchmark measures up to the first shown list.
    if (qEnvironmentVariableIsSet("MERKWALD_QUIT_WHEN_SHOWN")) {
        QTimer::singleShot(0, &app, &QApplication::quit);
    }
    return QApplication::exec();
}

}  // namespace merkwald
