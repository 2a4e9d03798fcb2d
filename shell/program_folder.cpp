#include "shell/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace merkwald {
namespace {

QString absolute(const QString& folder) {
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

// Copies are made writable: the program rewrites its data files in place, and
// installed files may be read-only.
void seed_user_folder(const QString& user_folder, const QString& install_folder) {
    if (install_folder.isEmpty()) return;
    const QFileInfoList files = QDir(install_folder).entryInfoList(QDir::Files | QDir::Readable);
    for (const QFileInfo& source : files) {
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
    sources.install_folder = install_folder;
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

}  // namespace merkwald
