#pragma once
// Where an installation keeps what the programs read besides the user's files.
// An installed tree may be moved as a whole (a different --prefix, a package
// unpacked elsewhere), so each folder is looked for relative to the executable
// first; the folder of the build configuration is the fallback.

#include <QString>
#include <QStringList>

namespace merkwald {

// `executable_folder` + `from_executable` when that folder exists, else `configured`.
[[nodiscard]] QString relocated_folder(const QString& executable_folder,
                                       const QString& from_executable, const QString& configured);

// Where the sound module is looked for, in this order: beside the executable
// (a build tree), lib/merkwald of this installation, the configured folder.
[[nodiscard]] QStringList sound_module_folders(const QString& executable_folder);

}  // namespace merkwald
