#pragma once
// The program folder: where the reminder files and the other data files live,
// relative file names resolve and rewrites put their temporary file.

#include <QString>
#include <QStringList>

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
// installed user file it lacks (the user's own files are never overwritten).
// The result is absolute and uses "/".
[[nodiscard]] QString resolve_program_folder(const ProgramFolderSources& sources);

// The programs' start: resolves the program folder and sets where the program's
// own files are read.
[[nodiscard]] QString program_folder(const QString& install_folder);

// The files a user edits (reminder files, text templates, text modules): the
// per-user folder gets a copy of them. Everything else in the data folder (help,
// what-is-new text, places, default sound) belongs to the installation and is
// read from there, so that an upgrade takes effect.
[[nodiscard]] bool is_user_file(const QString& name);

// The folders the program's own files are read from, first match first: the
// installation before a per-user folder (which may hold stale copies made by an
// older version), the program folder itself before the installation otherwise.
[[nodiscard]] QStringList program_file_folders(const ProgramFolderSources& sources,
                                               const QString& program_folder);
// Set once at start; until then every program file is looked for in the program folder.
void use_program_file_folders(QStringList folders);
// The folder to read the program file `name` from: the first of the folders set
// above that holds it, else `program_folder`.
[[nodiscard]] QString program_file_folder(const QString& program_folder, const QString& name);
[[nodiscard]] inline QString program_file(const QString& program_folder, const QString& name) {
    return program_file_folder(program_folder, name) + u'/' + name;
}

}  // namespace merkwald
