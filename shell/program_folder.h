#pragma once
// The program folder: where the reminder files and the other data files live,
// relative file names resolve and rewrites put their temporary file.

#include <QString>

namespace merkwald {

inline constexpr char kProgramFolderVariable[] = "MERKWALD_HOME";
inline constexpr char kExampleFileName[] = "beispiel.rmd";

struct ProgramFolderSources {
    QString home;               // MERKWALD_HOME; empty when unset
    QString executable_folder;  // empty when unknown
    QString user_folder;        // the per-user data folder
    QString install_folder;     // the installed default data files
};

// The environment, the running executable and the user's data location.
// `install_folder` is where the installation put its data files.
[[nodiscard]] ProgramFolderSources program_folder_sources(const QString& install_folder);

// MERKWALD_HOME when set. Otherwise the executable's folder when it holds the
// example file and is writable (a build tree or an unpacked folder). Otherwise
// the per-user data folder, created when missing and given a copy of every
// installed data file it lacks (the user's own files are never overwritten).
// The result is absolute and uses "/".
[[nodiscard]] QString resolve_program_folder(const ProgramFolderSources& sources);

[[nodiscard]] inline QString program_folder(const QString& install_folder) {
    return resolve_program_folder(program_folder_sources(install_folder));
}

}  // namespace merkwald
