// merkwald-cli: reads the settings store and the reminder files; writes only
// where a command says so (`add`, and `publish` its state file).

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "cli.h"
#include "engine/date_text.h"
#include "settings/name_day_setting.h"
#include "settings/program_folder.h"
#include "settings/qt_bridges.h"
#include "settings/settings.h"

namespace {

using namespace merkwald;

// Like the programs' own rule, except that nothing is created or seeded: a
// per-user folder that does not exist yet is replaced by the installed files.
QString cli_program_folder() {
    ProgramFolderSources sources = program_folder_sources(MERKWALD_INSTALL_DATA_DIR);
    QString folder;
    if (sources.home.isEmpty() &&
        !QFileInfo::exists(sources.executable_folder + u'/' + kExampleFileName) &&
        !QFileInfo(sources.user_folder).isDir()) {
        folder = QFileInfo::exists(sources.install_folder) ? sources.install_folder
                                                           : sources.executable_folder;
    } else {
        folder = resolve_program_folder(sources);
    }
    use_program_file_folders(program_file_folders(sources, folder));
    return folder;
}

void fill_from_settings(cli::Context& ctx, MessageSink& sink) {
    const QString folder = cli_program_folder();
    ctx.program_folder = to_path(folder);
    ctx.places_folder = to_path(program_file_folder(folder, QStringLiteral("orte.dat")));
    SettingsStore store = SettingsStore::user_store();
    Settings settings = default_settings(folder);
    ReadOptions options;
    options.program_folder = folder;
    options.today = format_date(ctx.today, "dd.mm.yy");
    options.write_date = false;
    options.read_only = true;
    (void)read_registry(store, settings, options, sink);
    (void)choose_new_store_name_days(store, settings);
    ctx.name_days = name_day_choice(settings);
    ctx.name_day_file = to_path(program_file(folder, to_qstring(kNameDayFileName)));
    ctx.engine = to_engine_settings(settings);
    ctx.home = ctx.engine.home;
    ctx.data_filename = settings.data_filename;
    ctx.entry_settings = settings;
    ctx.style = list_style(settings);
}

// The words as UTF-8. Windows hands argv over in the ANSI code page, which
// loses every letter outside it; Qt has them from the system as UTF-16.
std::vector<std::string> utf8_arguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    std::vector<std::string> args;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) args.push_back(all[i].toStdString());
    return args;
#else
    return {argv + 1, argv + argc};
#endif
}

// The output's lines end in CRLF where the format wants it: text mode on
// Windows would make that CR CR LF. Its console shows UTF-8 only when told.
void prepare_output() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Merkwald");
    QCoreApplication::setApplicationName("Merkwald");
    const std::vector<std::string> args = utf8_arguments(argc, argv);
    prepare_output();
    // Qt's local time, as the windows read it; the standard library's time
    // zones are not there on every compiler this builds with.
    const QDateTime now = QDateTime::currentDateTime();
    std::ios::sync_with_stdio(false);
    cli::Context ctx(std::cout, std::cerr);
    ctx.working_folder = to_path(QDir::currentPath());
    ctx.today = to_day_serial(now.date());
    ctx.unix_seconds = now.toSecsSinceEpoch();
    ctx.now_seconds = now.time().msecsSinceStartOfDay() / 1000;
    cli::StderrSink sink(std::cerr);
    fill_from_settings(ctx, sink);
    const int status = cli::run(args, ctx);
    std::cout.flush();
    return status;
}
