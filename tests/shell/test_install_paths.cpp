// A moved installation, and which data files belong to the user and which to it.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "settings_test_support.h"
#include "shell/install_paths.h"
#include "shell/program_folder.h"

namespace merkwald {
namespace {

TEST(InstallPaths, FolderBesideTheExecutableWinsOverTheConfiguredOne) {
    QTemporaryDir root;
    QDir dir(root.path());
    dir.mkpath("prefix/bin");
    dir.mkpath("prefix/share/merkwald");
    const QString bin = dir.filePath("prefix/bin");
    EXPECT_EQ(dir.filePath("prefix/share/merkwald"),
              relocated_folder(bin, "../share/merkwald", "/usr/share/merkwald"));
    // Not there (a build tree, a lone binary): the configured folder.
    EXPECT_EQ("/usr/lib/merkwald", relocated_folder(bin, "../lib/merkwald", "/usr/lib/merkwald"));
    EXPECT_EQ("/usr/lib/merkwald", relocated_folder(QString(), "../lib/merkwald", "/usr/lib/merkwald"));
    const QStringList modules = sound_module_folders(bin);
    ASSERT_FALSE(modules.isEmpty());
    EXPECT_EQ(bin, modules.front());
}

class ProgramFiles : public ::testing::Test {
protected:
    ProgramFiles() {
        for (const char* name : {"exe", "install", "user"}) root.mkpath(root.filePath(name));
        sources.executable_folder = root.filePath("exe");
        sources.install_folder = root.filePath("install");
        sources.user_folder = root.filePath("user/Merkwald");
        for (const char* name : {"beispiel.rmd", "geb_text.dat", "term_text.dat", "texte.dat",
                                 "orte.dat", "neues.txt", "merkwald.html", "standard.wav"})
            test::write_file(root.filePath("install/") + name, "neu");
    }
    ~ProgramFiles() override { use_program_file_folders({}); }

    QTemporaryDir root_dir;
    QDir root{root_dir.path()};
    ProgramFolderSources sources;
};

TEST_F(ProgramFiles, OnlyTheUsersFilesAreCopiedAndTheInstallationIsReadForTheRest) {
    const QString user = resolve_program_folder(sources);
    ASSERT_EQ(sources.user_folder, user);
    const QStringList copied = QDir(user).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(QStringList({"beispiel.rmd", "geb_text.dat", "term_text.dat", "texte.dat"}), copied);

    // An older version copied everything; an upgrade must show the new texts.
    test::write_file(user + "/neues.txt", "alt");
    test::write_file(user + "/merkwald.html", "alt");
    use_program_file_folders(program_file_folders(sources, user));
    for (const char* name : {"neues.txt", "merkwald.html", "orte.dat", "standard.wav"})
        EXPECT_EQ(QByteArray("neu"), test::file_bytes(program_file(user, name))) << name;
    // What the installation lacks is still found in the user's folder.
    test::write_file(user + "/meinton.wav", "mein");
    EXPECT_EQ(user + "/meinton.wav", program_file(user, "meinton.wav"));
}

TEST_F(ProgramFiles, AProgramFolderOfItsOwnComesBeforeTheInstallation) {
    test::write_file(root.filePath("exe/beispiel.rmd"), "");
    test::write_file(root.filePath("exe/neues.txt"), "portabel");
    const QString folder = resolve_program_folder(sources);
    ASSERT_EQ(root.filePath("exe"), folder);
    use_program_file_folders(program_file_folders(sources, folder));
    EXPECT_EQ(QByteArray("portabel"), test::file_bytes(program_file(folder, "neues.txt")));
    EXPECT_EQ(QByteArray("neu"), test::file_bytes(program_file(folder, "orte.dat")));
    // Without any folder set (the windows' tests), the program folder itself.
    use_program_file_folders({});
    EXPECT_EQ(folder + "/orte.dat", program_file(folder, "orte.dat"));
}

}  // namespace
}  // namespace merkwald
