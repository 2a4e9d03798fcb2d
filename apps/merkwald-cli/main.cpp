// merkwald-cli: reads the settings store and the reminder files, never writes.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <ctime>
#include <iostream>

#include "cli.h"
#include "engine/date_text.h"
#include "shell/program_folder.h"
#include "shell/settings.h"

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
    ctx.program_folder = folder.toStdString();
    ctx.places_folder = program_file_folder(folder, QStringLiteral("orte.dat")).toStdString();
    SettingsStore store = SettingsStore::user_store();
    Settings settings = default_settings(folder);
    ReadOptions options;
    options.program_folder = folder;
    options.today = format_date(ctx.today, "dd.mm.yy");
    options.write_date = false;
    options.read_only = true;
    (void)read_registry(store, settings, options, sink);
    ctx.engine = to_engine_settings(settings);
    ctx.home = ctx.engine.home;
    ctx.data_filename = settings.data_filename;
    ctx.entry_settings = settings;
    ctx.style = list_style(settings);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Merkwald");
    QCoreApplication::setApplicationName("Merkwald");
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ios::sync_with_stdio(false);
    cli::Context ctx(std::cout, std::cerr);
    ctx.today = make_date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(0);
    ctx.unix_seconds = now;
    ctx.now_seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    cli::StderrSink sink(std::cerr);
    fill_from_settings(ctx, sink);
    const int status = cli::run(args, ctx);
    std::cout.flush();
    return status;
}
