#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <set>
#include <string>

#include "editors/record_list_files.h"
#include "editors_test_support.h"
#include "engine/file_access.h"
#include "engine/safe_rewrite.h"

extern char** environ;

namespace merkwald {
namespace {

namespace fs = std::filesystem;

constexpr char kStepVariable[] = "MERKWALD_CRASH_STEP";
constexpr char kTargetVariable[] = "MERKWALD_CRASH_TARGET";

std::string numbered_records(const std::string& word, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "<record>\r\n<date=01.01.2000>\r\n" + word + " " + std::to_string(i) +
                "\r\n</record>\r\n";
    }
    return text;
}

const std::string kOld = numbered_records("alt", 400);
const std::string kNew = numbered_records("neu", 500);
const std::string kEarlierBackup = "frühere Sicherung\r\n";

// Started as the crash child (the test binary itself with the two variables
// set): rewrite the file and be killed at the named step, before main runs.
int run_crash_child() {
    const char* step = std::getenv(kStepVariable);
    const char* target = std::getenv(kTargetVariable);
    if (step == nullptr || target == nullptr) return 0;
    set_rewrite_hook([at = std::string(step)](std::string_view now) {
        if (now == at) std::raise(SIGKILL);
        return true;
    });
    (void)rewrite_with_backup(target, kOld, kNew);
    std::_Exit(3);  // the step never came
}
[[maybe_unused]] const int crash_child = run_crash_child();

// The child inherits the two variables; this process never reads them again.
int spawn_and_wait(const std::string& step, const std::filesystem::path& target) {
    ::setenv(kStepVariable, step.c_str(), 1);
    ::setenv(kTargetVariable, target.c_str(), 1);
    std::string self = "/proc/self/exe";
    char* argv[] = {self.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, environ);
    ::unsetenv(kStepVariable);
    ::unsetenv(kTargetVariable);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

// A second hard link sends the rewrite into the file itself once its backup is
// on disk: while it is being written there, the backup holds it complete.
TEST(SafeRewrite, KilledAtEveryStepLeavesFileOldOrNewAndBackupComplete) {
    struct Case {
        const char* step;
        bool linked;
        const std::string* file_after;  // nullptr: being written in place
        const std::string& backup_after;
    };
    const Case cases[] = {{"writing backup", false, &kOld, kEarlierBackup},
                          {"before backup rename", false, &kOld, kEarlierBackup},
                          {"backup written", false, &kOld, kOld},
                          {"writing temporary", false, &kOld, kOld},
                          {"before rename", false, &kOld, kOld},
                          {"renamed", false, &kNew, kOld},
                          {"writing backup", true, &kOld, kEarlierBackup},
                          {"writing in place", true, nullptr, kOld},
                          {"syncing in place", true, &kNew, kOld},
                          {"written in place", true, &kNew, kOld}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.step) + (c.linked ? " (in place)" : ""));
        TempFolder folder;
        const auto target = folder / "termine.rmd";
        write_bytes(target, kOld);
        if (c.linked) fs::create_hard_link(target, folder / "zweiter_name.rmd");
        write_bytes(folder / "termine.bak", kEarlierBackup);
        EXPECT_EQ(SIGKILL, spawn_and_wait(c.step, target));
        if (c.file_after != nullptr) {
            EXPECT_EQ(*c.file_after, read_bytes(target));
        }
        if (c.linked) {
            EXPECT_EQ(read_bytes(target), read_bytes(folder / "zweiter_name.rmd"));
        }
        EXPECT_EQ(c.backup_after, read_bytes(folder / "termine.bak"));
    }
}

TEST(SafeRewrite, BackupNameReplacesTheLastThreeCharacters) {
    EXPECT_EQ(fs::path("/d/beispiel.bak"), backup_name("/d/beispiel.rmd"));
    // Umlauts are characters, not bytes.
    EXPECT_EQ(fs::path(u8"/d/bak"), backup_name(fs::path(u8"/d/äöü")));
    // A backup never stands in for the file it saves.
    EXPECT_EQ(fs::path("/d/alt.bak.bak"), backup_name("/d/alt.bak"));
}

struct stat stat_of(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st;
}

mode_t mode_of(const fs::path& p) { return stat_of(p).st_mode & 07777; }

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
    write_bytes(target, kOld);
    ::chmod(target.c_str(), 0600);
    ASSERT_TRUE(rewrite_with_backup(target, kOld, kNew).ok);
    EXPECT_EQ(0600u, mode_of(target));
    EXPECT_EQ(0600u, mode_of(folder / "termine.bak"));
    ASSERT_TRUE(write_file_safely(target, kOld).ok);
    EXPECT_EQ(0600u, mode_of(target));
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
}

TEST_F(FileSafety, AFileWithSeveralLinksIsWrittenInPlace) {
    write_bytes(target, kOld);
    const fs::path other = folder / "anderer_name.rmd";
    fs::create_hard_link(target, other);
    const ino_t inode = stat_of(target).st_ino;
    ASSERT_TRUE(rewrite_with_backup(target, kOld, kNew).ok);
    EXPECT_EQ(inode, stat_of(target).st_ino);
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
    EXPECT_EQ(kNew, read_bytes(target));
}

TEST_F(FileSafety, AReadOnlyFileIsNotReplaced) {
    write_bytes(target, kOld);
    ::chmod(target.c_str(), 0444);
    for (const WriteOutcome& outcome :
         {rewrite_with_backup(target, kOld, kNew), write_file_safely(target, kNew)}) {
        EXPECT_FALSE(outcome.ok) << outcome.message;
        EXPECT_NE(std::string::npos, outcome.message.find("termine.rmd")) << outcome.message;
        EXPECT_NE(std::string::npos, outcome.message.find("schreibgeschützt")) << outcome.message;
    }
    EXPECT_EQ(kOld, read_bytes(target));
    EXPECT_FALSE(fs::exists(folder / "termine.bak"));
}

// A link planted at a name the old code used leads nowhere: the temporary file
// gets a fresh name each time.
TEST_F(FileSafety, TheTemporaryFileIsFreshAndOwnerOnlyAndPlantedLinksStay) {
    const fs::path victim = folder / "opfer.txt";
    write_bytes(victim, "geheim\r\n");
    write_bytes(target, kOld);
    ::chmod(target.c_str(), 0644);
    std::set<std::string> names{"termine.rmd.tmp", "termine.bak.tmp", "temp.tmp"};
    for (const std::string& name : names) fs::create_symlink(victim, folder / name);
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
    ASSERT_TRUE(rewrite_with_backup(target, kOld, kNew).ok);
    ASSERT_TRUE(write_file_safely(target, kOld).ok);
    EXPECT_EQ(2u, seen.size());  // two writes, two different names
    EXPECT_EQ("geheim\r\n", read_bytes(victim));
    names.insert({"opfer.txt", "termine.rmd", "termine.bak"});
    EXPECT_EQ(names, names_in(folder.path()));
    EXPECT_TRUE(fs::is_symlink(folder / "termine.rmd.tmp"));
}

// Every step of both routes fails once: the target stays byte for byte, the
// backup is complete, no temporary file is left.
TEST_F(FileSafety, AFailureAtAnyStepLeavesEverythingComplete) {
    const char* const steps[] = {"writing backup",       "syncing backup",    "closing backup",
                                 "before backup rename", "writing temporary", "syncing temporary",
                                 "closing temporary",    "before rename",     "writing in place",
                                 "syncing in place",     "closing in place"};
    for (const bool linked : {false, true}) {
        for (const char* failing : steps) {
            SCOPED_TRACE(std::string(failing) + (linked ? " (in place)" : ""));
            TempFolder f;
            const fs::path file = f / "a.rmd";
            write_bytes(file, kOld);
            write_bytes(f / "a.bak", kEarlierBackup);
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
            EXPECT_EQ(kOld, read_bytes(file));
            const std::string backup = read_bytes(f / "a.bak");
            EXPECT_TRUE(backup == kOld || backup == kEarlierBackup);
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
    for (const char* name : {"link.rmd", "hart.rmd", "./termine.rmd", ".termine.rmd~mw.Ab12Cd"}) {
        EXPECT_TRUE(same_file(target, folder / name)) << name;
    }
    EXPECT_FALSE(same_file(target, folder / "neu.rmd"));
    EXPECT_FALSE(copy_file_safely(target, folder / "link.rmd").ok);
    EXPECT_EQ(kOld, read_bytes(target));
    EXPECT_TRUE(copy_file_safely(target, folder / "neu.rmd").ok);
    EXPECT_EQ(kOld, read_bytes(folder / "neu.rmd"));
}

TEST_F(FileSafety, OnlyRegularFilesOfBoundedSizeAreRead) {
    const fs::path fifo = folder / "pipe.csv";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    fs::create_directory(folder / "ordner.rmd");
    const std::pair<fs::path, const char*> cases[] = {
        {fifo, "Pipe"}, {"/dev/zero", "Gerät"}, {folder / "ordner.rmd", "Ordner"}};
    for (const auto& [path, reason] : cases) {
        std::string bytes;
        const FileRead read = read_regular_file(path, bytes);
        EXPECT_FALSE(read.ok) << path;
        EXPECT_NE(std::string::npos, read.message.find(path.filename().string())) << read.message;
        EXPECT_NE(std::string::npos, read.message.find(reason)) << read.message;
    }
    EXPECT_FALSE(write_file_safely(fifo, kNew).ok);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace merkwald
