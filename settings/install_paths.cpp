#include "settings/install_paths.h"

#include <QDir>
#include <QFileInfo>

namespace merkwald {

QString relocated_folder(const QString& executable_folder, const QString& from_executable,
                         const QString& configured) {
    if (!executable_folder.isEmpty()) {
        const QString beside = QDir::cleanPath(executable_folder + u'/' + from_executable);
        if (QFileInfo(beside).isDir()) return beside;
    }
    return configured;
}

QStringList sound_module_folders(const QString& executable_folder) {
    QStringList folders{executable_folder};
    const QString installed =
        relocated_folder(executable_folder, QStringLiteral(MERKWALD_SOUND_MODULE_DIR_FROM_BIN),
                         QStringLiteral(MERKWALD_SOUND_MODULE_DIR));
    folders << installed;
    if (installed != QStringLiteral(MERKWALD_SOUND_MODULE_DIR))
        folders << QStringLiteral(MERKWALD_SOUND_MODULE_DIR);
    folders.removeAll(QString());
    return folders;
}

}  // namespace merkwald
