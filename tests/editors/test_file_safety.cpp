#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "editors/file_access.h"
#include "editors/record_list_files.h"
#include "editors/safe_rewrite.h"
#include "editors_test_support.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

const std::string kOld = record("<date=01.01.2000>|alt");
const std::string kNew = record("<date=02.02.2002>|neu") + record("zweiter");
const std::string kEarlier = "frühere Sicherung\r\n";

mode_t mode_of(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
}

struct stat stat_of(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st;
}

std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class FileSafety : public ::testing::Test {
protected:
    void TearDown() override { set_rewrite_hook({}); }
    TempFolder folder;
    fs::path target = folder / "termine.rmd";
};

TEST_F(FileSafety, PermissionBitsStayAndTheBackupGetsThem) {
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0664}}) {
        SCOPED_TRACE(mode);
        write_bytes(target, kOld);
        ::chmod(target.c_str(), mode);
        ASSERT_TRUE(rewrite_with_backup(target, kOld, kNew).ok);
        EXPECT_EQ(mode, mode_of(target));
        EXPECT_EQ(mode, mode_of(folder / "termine.bak"));
        ASSERT_TRUE(write_file_safely(target, kOld).ok);
        EXPECT_EQ(mode, mode_of(target));
    }
}

TEST_F(FileSafety, ALinkStaysALinkAndItsTargetGetsTheContent) {
    fs::create_directory(folder / "daten");
    const fs::path real = folder / "daten" / "echt.rmd";
    write_bytes(real, kOld);
    fs::create_symlink("daten/echt.rmd", target);
    ASSERT_TRUE(rewrite_with_backup(target, kOld, kNew).ok);
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_EQ(kNew, read_bytes(real));
    EXPECT_EQ(kOld, read_bytes(folder / "daten" / "echt.bak"));
    EXPECT_EQ(folder / "daten" / "echt.bak", backup_of(target));
    ASSERT_TRUE(write_file_safely(target, kOld).ok);
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_EQ(kOld, read_bytes(real));
}

TEST_F(FileSafety, AFileWithSeveralLinksIsWrittenInPlace) {
    write_bytes(target, kOld);
    const fs::path other = folder / "anderer_name.rmd";
    fs::create_hard_link(target, other);
    const ino_t inode = stat_of(target).st_ino;
    ASSERT_TRUE(rewrite_with_backup(target, kOld, kNew).ok);
    EXPECT_EQ(inode, stat_of(target).st_ino);
    EXPECT_EQ(2u, stat_of(target).st_nlink);
    EXPECT_EQ(kNew, read_bytes(other));
    EXPECT_EQ(kOld, read_bytes(folder / "termine.bak"));
    EXPECT_EQ(1u, stat_of(folder / "termine.bak").st_nlink);
    // Shorter content leaves no tail of the longer one.
    ASSERT_TRUE(write_file_safely(target, "kurz\r\n").ok);
    EXPECT_EQ("kurz\r\n", read_bytes(other));
}

TEST_F(FileSafety, AForeignOwnerAndGroupStay) {
    write_bytes(target, kOld);
    constexpr uid_t kStranger = 54321;
    if (::chown(target.c_str(), kStranger, kStranger) != 0) {
        GTEST_SKIP() << "cannot give a file to another user here (not running as root)";
    }
    ::chmod(target.c_str(), 0666);
    ASSERT_TRUE(rewrite_with_backup(target, kOld, kNew).ok);
    EXPECT_EQ(kStranger, stat_of(target).st_uid);
    EXPECT_EQ(kStranger, stat_of(target).st_gid);
    EXPECT_EQ(0666u, mode_of(target));
    EXPECT_EQ(kNew, read_bytes(target));
    EXPECT_EQ(kOld, read_bytes(folder / "termine.bak"));
}

TEST_F(FileSafety, AReadOnlyFileIsNotReplaced) {
    write_bytes(target, kOld);
    ::chmod(target.c_str(), 0444);
    for (const WriteOutcome& outcome :
         {rewrite_with_backup(target, kOld, kNew), write_file_safely(target, kNew)}) {
        EXPECT_FALSE(outcome.ok);
        EXPECT_NE(std::string::npos, outcome.message.find("termine.rmd")) << outcome.message;
        EXPECT_NE(std::string::npos, outcome.message.find("schreibgeschützt")) << outcome.message;
    }
    EXPECT_EQ(kOld, read_bytes(target));
    EXPECT_FALSE(fs::exists(folder / "termine.bak"));
    EXPECT_EQ(0444u, mode_of(target));
}

TEST_F(FileSafety, PlantedLinksAtTheOldTemporaryNamesAreNeverFollowed) {
    const fs::path victim = folder / "opfer.txt";
    write_bytes(victim, "geheim\r\n");
    write_bytes(target, kOld);
    for (const char* name : {"termine.rmd.tmp", "termine.bak.tmp", "temp.tmp"}) {
        fs::create_symlink(victim, folder / name);
    }
    ASSERT_TRUE(rewrite_with_backup(target, kOld, kNew).ok);
    ASSERT_TRUE(write_file_safely(target, kNew).ok);
    EXPECT_EQ("geheim\r\n", read_bytes(victim));
    for (const char* name : {"termine.rmd.tmp", "termine.bak.tmp", "temp.tmp"}) {
        EXPECT_TRUE(fs::is_symlink(folder / name)) << name;
    }
    EXPECT_EQ((std::set<std::string>{"opfer.txt", "termine.rmd", "termine.bak", "termine.rmd.tmp",
                                     "termine.bak.tmp", "temp.tmp"}),
              names_in(folder.path()));
}

TEST_F(FileSafety, TheTemporaryFileIsFreshAndOwnerOnly) {
    write_bytes(target, kOld);
    ::chmod(target.c_str(), 0644);
    std::set<std::string> seen;
    set_rewrite_hook([&](std::string_view step) {
        if (step != "writing temporary") return true;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            if (!is_temporary_name(entry.path())) continue;
            seen.insert(entry.path().filename().string());
            EXPECT_EQ(0600u, mode_of(entry.path()) & 0777) << "still being written";
        }
        return true;
    });
    ASSERT_TRUE(write_file_safely(target, kNew).ok);
    ASSERT_TRUE(write_file_safely(target, kOld).ok);
    EXPECT_EQ(2u, seen.size());  // two writes, two different names
    EXPECT_EQ(0644u, mode_of(target));
}

// Every step of both routes fails once: the target stays byte for byte, the
// backup is complete, no temporary file is left.
TEST_F(FileSafety, AFailureAtAnyStepLeavesEverythingComplete) {
    // The step that fails and what the message names (nullptr: only the outcome).
    const struct {
        const char* step;
        const char* names;
    } rows[] = {{"writing backup", "Sicherungsdatei"},
                {"syncing backup", nullptr},
                {"closing backup", nullptr},
                {"before backup rename", "Sicherungsdatei"},
                {"writing temporary", "temporäre Datei"},
                {"syncing temporary", nullptr},
                {"closing temporary", nullptr},
                {"before rename", "konnte nicht ersetzt werden"},
                {"writing in place", nullptr},
                {"syncing in place", nullptr},
                {"closing in place", nullptr}};
    for (const bool linked : {false, true}) {
        for (const auto& row : rows) {
            const char* failing = row.step;
            SCOPED_TRACE(std::string(failing) + (linked ? " (in place)" : ""));
            TempFolder f;
            const fs::path file = f / "a.rmd";
            write_bytes(file, kOld);
            write_bytes(f / "a.bak", kEarlier);
            if (linked) fs::create_hard_link(file, f / "b.rmd");
            bool reached = false;
            set_rewrite_hook([&](std::string_view step) {
                reached = reached || step == failing;
                return step != failing;
            });
            const WriteOutcome outcome = rewrite_with_backup(file, kOld, kNew);
            set_rewrite_hook({});
            if (!reached) continue;  // a step of the other route
            EXPECT_FALSE(outcome.ok);
            EXPECT_NE(std::string::npos, outcome.message.find("bleibt unverändert"))
                << outcome.message;
            if (row.names) {
                EXPECT_NE(std::string::npos, outcome.message.find(row.names)) << outcome.message;
            }
            EXPECT_EQ(kOld, read_bytes(file));
            const std::string backup = read_bytes(f / "a.bak");
            EXPECT_TRUE(backup == kOld || backup == kEarlier);
            std::set<std::string> expected{"a.rmd", "a.bak"};
            if (linked) expected.insert("b.rmd");
            EXPECT_EQ(expected, names_in(f.path()));
        }
    }
}

TEST_F(FileSafety, OneFileUnderAnyNameIsTheSameFile) {
    write_bytes(target, kOld);
    fs::create_symlink(target, folder / "link.rmd");
    fs::create_hard_link(target, folder / "hart.rmd");
    EXPECT_TRUE(same_file(target, folder / "link.rmd"));
    EXPECT_TRUE(same_file(target, folder / "hart.rmd"));
    EXPECT_TRUE(same_file(target, folder.path() / "." / "termine.rmd"));
    EXPECT_TRUE(same_file(target, folder / ".termine.rmd~mw.Ab12Cd"));
    EXPECT_FALSE(same_file(target, folder / "neu.rmd"));
    const WriteOutcome copied = copy_file_safely(target, folder / "link.rmd");
    EXPECT_FALSE(copied.ok);
    EXPECT_EQ(kOld, read_bytes(target));
    EXPECT_TRUE(copy_file_safely(target, folder / "neu.rmd").ok);
    EXPECT_EQ(kOld, read_bytes(folder / "neu.rmd"));
}

TEST_F(FileSafety, OnlyRegularFilesOfBoundedSizeAreRead) {
    const fs::path fifo = folder / "pipe.csv";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    fs::create_directory(folder / "ordner.rmd");
    struct Case {
        fs::path path;
        const char* reason;
    };
    const Case cases[] = {{fifo, "Pipe"},
                          {"/dev/zero", "Gerät"},
                          {folder / "ordner.rmd", "Ordner"},
                          {folder / "fehlt.rmd", "nicht vorhanden"}};
    for (const Case& c : cases) {
        std::string bytes;
        const FileRead read = read_regular_file(c.path, bytes);
        EXPECT_FALSE(read.ok) << c.path;
        EXPECT_NE(std::string::npos, read.message.find(c.path.filename().string())) << read.message;
        EXPECT_NE(std::string::npos, read.message.find(c.reason)) << read.message;
    }
    EXPECT_FALSE(write_file_safely(fifo, kNew).ok);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace merkwald
