#include <gtest/gtest.h>

#include <QDir>

#include "../support/settings_test_support.h"
#include "settings/program_folder.h"

namespace merkwald {
namespace {

class ProgramFolder : public ::testing::Test {
protected:
    ProgramFolder() {
        for (const char* name : {"exe", "install", "user"}) root.mkpath(root.filePath(name));
        sources.executable_folder = root.filePath("exe");
        sources.install_folder = root.filePath("install");
        sources.user_folder = root.filePath("user/Merkwald");
        test::write_file(root.filePath("install/beispiel.rmd"), "<record>\r\n");
        test::write_file(root.filePath("install/texte.dat"), "Texte\r\n");
    }

    ~ProgramFolder() override { use_program_file_folders({}); }

    QTemporaryDir root_dir;
    QDir root{root_dir.path()};
    ProgramFolderSources sources;
};

// The home variable names the folder; without it the executable's folder holding the data.
TEST_F(ProgramFolder, HomeVariableOrExecutableFolderHoldingTheData) {
    test::write_file(root.filePath("exe/beispiel.rmd"), "");
    for (const QString& home : {QString(), root.filePath("home/../exe")}) {
        sources.home = home;
        EXPECT_EQ(root.filePath("exe"), resolve_program_folder(sources)) << home.toStdString();
        EXPECT_FALSE(QFileInfo::exists(sources.user_folder)) << home.toStdString();
    }
}

TEST_F(ProgramFolder, ReadOnlyExecutableFolderIsPassedOver) {
    test::write_file(root.filePath("exe/beispiel.rmd"), "");
    QFile::setPermissions(sources.executable_folder,
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    // Whoever may still write here (root) may also remove the folder as it is.
    if (QFileInfo(sources.executable_folder).isWritable()) GTEST_SKIP() << "may write everywhere";
    EXPECT_EQ(sources.user_folder, resolve_program_folder(sources));
    QFile::setPermissions(sources.executable_folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Only the user's files are copied into the user's folder, writable; the rest
// is read from the installation, unless the program has a folder of its own,
// whose files come first.
TEST_F(ProgramFolder, ProgramFilesComeFromTheInstallationUnlessTheFolderIsTheProgramsOwn) {
    for (const char* name :
         {"geb_text.dat", "term_text.dat", "orte.dat", "neues.txt", "standard.wav"})
        test::write_file(root.filePath("install/") + name, "neu");
    QFile::setPermissions(root.filePath("install/texte.dat"), QFileDevice::ReadOwner);
    const QString user = resolve_program_folder(sources);
    ASSERT_EQ(sources.user_folder, user);
    EXPECT_EQ(QStringList({"beispiel.rmd", "geb_text.dat", "term_text.dat", "texte.dat"}),
              QDir(user).entryList(QDir::Files, QDir::Name));
    EXPECT_TRUE(QFileInfo(user + "/texte.dat").permissions() & QFileDevice::WriteOwner);
    // What is missing is copied again, never over the user's own files.
    test::write_file(user + "/beispiel.rmd", "mine");
    QFile::remove(user + "/texte.dat");
    EXPECT_EQ(user, resolve_program_folder(sources));
    EXPECT_EQ(QByteArray("mine"), test::file_bytes(user + "/beispiel.rmd"));
    EXPECT_EQ(QByteArray("Texte\r\n"), test::file_bytes(user + "/texte.dat"));
    // An older version copied everything; an upgrade must show the new texts.
    test::write_file(user + "/neues.txt", "alt");
    use_program_file_folders(program_file_folders(sources, user));
    EXPECT_EQ(QByteArray("neu"), test::file_bytes(program_file(user, "neues.txt")));
    // What the installation lacks is still found in the user's folder.
    test::write_file(user + "/meinton.wav", "mein");
    EXPECT_EQ(user + "/meinton.wav", program_file(user, "meinton.wav"));

    test::write_file(root.filePath("exe/beispiel.rmd"), "");
    test::write_file(root.filePath("exe/neues.txt"), "portabel");
    const QString own = resolve_program_folder(sources);
    ASSERT_EQ(root.filePath("exe"), own);
    use_program_file_folders(program_file_folders(sources, own));
    EXPECT_EQ(QByteArray("portabel"), test::file_bytes(program_file(own, "neues.txt")));
    EXPECT_EQ(QByteArray("neu"), test::file_bytes(program_file(own, "standard.wav")));
}

}  // namespace
}  // namespace merkwald
