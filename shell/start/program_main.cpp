#include "shell/start/program_main.h"

#include <QApplication>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>

#include "settings/install_paths.h"
#include "settings/program_folder.h"
#include "shell/main/window_followers.h"
#include "shell/platform/qt_translations.h"
#include "shell/start/program_options.h"
#include "shell/start/single_instance.h"
#include "shell/tray/digest_notification.h"
#include "shell/tray/sound_player.h"

namespace merkwald {
namespace {

QStringList arguments_of(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QString program_name(ProgramKind kind) {
    return kind == ProgramKind::light ? QStringLiteral("merklight") : QStringLiteral("merkwald");
}

// The install check reads the list the window shows.
void print_list_when_asked(const MainWindow& window) {
    if (!qEnvironmentVariableIsSet("MERKWALD_PRINT_LIST")) return;
    std::fputs(window.event_list().toPlainText().append(u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

}  // namespace

DesktopIdentity desktop_identity(ProgramKind kind) {
    if (kind == ProgramKind::light)
        return {QStringLiteral("Merklight"), QStringLiteral("org.merkwald.Merklight")};
    return {QStringLiteral("Merkwald"), QStringLiteral("org.merkwald.Merkwald")};
}

void name_application(ProgramKind kind, const ProgramVersion& version) {
    // The X11 window class is the application name and the Wayland app id the
    // desktop file's name: both tie the windows to the program's own menu entry
    // (its StartupWMClass), so the panel shows the right icon and name.
    const DesktopIdentity identity = desktop_identity(kind);
    QApplication::setOrganizationName(QStringLiteral("Merkwald"));
    QApplication::setApplicationName(identity.window_class);
    QGuiApplication::setDesktopFileName(identity.desktop_file);
    QApplication::setApplicationVersion(version.text());
    // Standby hides the last window; only the program's own end paths quit.
    QApplication::setQuitOnLastWindowClosed(false);
}

int run_program(int argc, char** argv, const ProgramSetup& setup) {
    // Answered before the application starts: no window and no display needed.
    if (const auto text =
            information_request(arguments_of(argc, argv), setup.kind, setup.version)) {
        std::fputs(text->toUtf8().constData(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    name_application(setup.kind, setup.version);
    const QString executable_folder = QCoreApplication::applicationDirPath();
    install_qt_translations(app, qt_translation_folders(executable_folder));

    SingleInstance instance(SingleInstance::server_name(program_name(setup.kind)));
    if (instance.hand_over(QApplication::arguments())) return 0;

    WindowOptions options;
    options.kind = setup.kind;
    options.program_folder = program_folder(setup.install_data_folder);
    options.command_line = CommandLine::from_arguments(QApplication::arguments());
    options.version = setup.version;

    SettingsStore store = SettingsStore::user_store();
    SystemClock clock;
    QtDialogs dialogs;
    QtSoundPlayer sound(sound_module_folders(executable_folder));
    MainWindow window(store, Services{clock, dialogs, sound}, options);
    if (setup.compose) setup.compose(window);
    // Ends before the window it follows: it unhooks itself from a whole window.
    WindowFollowers followers(window, DigestNotifier::session_bus());
    // Listening from before the start keeps a second start from becoming a second
    // copy while the start windows are open; what it asks waits for the start.
    instance.listen([&window](const QStringList& arguments) {
        apply_second_start(window, CommandLine::from_arguments(arguments));
    });
    if (!window.start()) return 0;
    followers.started();
    instance.open();
    print_list_when_asked(window);
    // The start-up benchmark measures up to the first shown list.
    if (qEnvironmentVariableIsSet("MERKWALD_QUIT_WHEN_SHOWN")) {
        QTimer::singleShot(0, &app, &QApplication::quit);
    }
    return QApplication::exec();
}

}  // namespace merkwald
