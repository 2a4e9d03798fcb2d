#include "settings/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "settings/install_paths.h"

namespace merkwald {
namespace {

QString absolute(const QString& folder) {
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QStringList& program_file_search() {
    static QStringList folders;
    return folders;
}

// Copies are made writable: the program rewrites its data files in place, and
// installed files may be read-only.
void seed_user_folder(const QString& user_folder, const QString& install_folder) {
    if (install_folder.isEmpty()) return;
    const QFileInfoList files = QDir(install_folder).entryInfoList(QDir::Files | QDir::Readable);
    for (const QFileInfo& source : files) {
        if (!is_user_file(source.fileName())) continue;
        const QString target = user_folder + u'/' + source.fileName();
        if (QFileInfo::exists(target) || !QFile::copy(source.absoluteFilePath(), target)) continue;
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
}

}  // namespace

ProgramFolderSources program_folder_sources(const QString& install_folder) {
    ProgramFolderSources sources;
    sources.home = qEnvironmentVariable(kProgramFolderVariable);
    if (QCoreApplication::instance() != nullptr) {
        sources.executable_folder = QCoreApplication::applicationDirPath();
    }
    sources.user_folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Merkwald";
    sources.install_folder = relocated_folder(
        sources.executable_folder, QStringLiteral(MERKWALD_DATA_DIR_FROM_BIN), install_folder);
    return sources;
}

QString resolve_program_folder(const ProgramFolderSources& sources) {
    if (!sources.home.isEmpty()) return absolute(sources.home);
    if (!sources.executable_folder.isEmpty()) {
        const QFileInfo folder(sources.executable_folder);
        if (QFileInfo::exists(sources.executable_folder + u'/' + kExampleFileName) &&
            folder.isDir() && folder.isWritable()) {
            return absolute(sources.executable_folder);
        }
    }
    const QString user_folder = absolute(sources.user_folder);
    if (QDir().mkpath(user_folder)) seed_user_folder(user_folder, sources.install_folder);
    return user_folder;
}

QString program_folder(const QString& install_folder) {
    const ProgramFolderSources sources = program_folder_sources(install_folder);
    const QString folder = resolve_program_folder(sources);
    use_program_file_folders(program_file_folders(sources, folder));
    return folder;
}

bool is_user_file(const QString& name) {
    return name.endsWith(QStringLiteral(".rmd"), Qt::CaseInsensitive) ||
           name == QStringLiteral("geb_text.dat") || name == QStringLiteral("term_text.dat") ||
           name == QStringLiteral("texte.dat");
}

QStringList program_file_folders(const ProgramFolderSources& sources,
                                 const QString& program_folder) {
    QStringList folders{program_folder};
    if (!sources.install_folder.isEmpty()) {
        const QString installed = absolute(sources.install_folder);
        if (program_folder == absolute(sources.user_folder)) {
            folders.prepend(installed);
        } else {
            folders.append(installed);
        }
    }
    folders.removeDuplicates();
    return folders;
}

void use_program_file_folders(QStringList folders) { program_file_search() = std::move(folders); }

QString program_file_folder(const QString& program_folder, const QString& name) {
    for (const QString& folder : program_file_search()) {
        if (QFileInfo::exists(folder + u'/' + name)) return folder;
    }
    return program_folder;
}

}  // namespace merkwald
