#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "editors/safe_rewrite.h"
#include "editors_test_support.h"

extern char** environ;

namespace merkwald {
namespace {

constexpr char kStepVariable[] = "MERKWALD_CRASH_STEP";
constexpr char kTargetVariable[] = "MERKWALD_CRASH_TARGET";
constexpr char kUserVariable[] = "MERKWALD_CRASH_USER";

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
// With a user id, the child first becomes that user and reports the outcome.
int run_crash_child() {
    const char* step = std::getenv(kStepVariable);
    const char* target = std::getenv(kTargetVariable);
    if (step == nullptr || target == nullptr) return 0;
    if (const char* user = std::getenv(kUserVariable)) {
        const auto id = static_cast<uid_t>(std::atoi(user));
        if (::setgid(id) != 0 || ::setuid(id) != 0) std::_Exit(5);
        std::_Exit(rewrite_with_backup(target, kOld, kNew).ok ? 0 : 4);
    }
    set_rewrite_hook([at = std::string(step)](std::string_view now) {
        if (now == at) std::raise(SIGKILL);
        return true;
    });
    (void)rewrite_with_backup(target, kOld, kNew);
    std::_Exit(3);  // the step never came
}
[[maybe_unused]] const int crash_child = run_crash_child();

int spawn_and_wait(const std::string& step, const std::filesystem::path& target,
                   const std::string& user = {}) {
    std::vector<std::string> variables;
    for (char** e = environ; *e != nullptr; ++e) variables.emplace_back(*e);
    if (!user.empty()) variables.push_back(std::string(kUserVariable) + "=" + user);
    variables.push_back(std::string(kStepVariable) + "=" + step);
    variables.push_back(std::string(kTargetVariable) + "=" + target.string());
    std::vector<char*> env;
    for (std::string& v : variables) env.push_back(v.data());
    env.push_back(nullptr);
    std::string self = "/proc/self/exe";
    char* argv[] = {self.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, env.data()) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -WEXITSTATUS(status) - 100;
}

TEST(SafeRewrite, KilledAtEveryStepLeavesFileOldOrNewAndBackupComplete) {
    struct Case {
        const char* step;
        const std::string& file_after;
        const std::string& backup_after;
    };
    const Case cases[] = {{"writing backup", kOld, kEarlierBackup},
                          {"before backup rename", kOld, kEarlierBackup},
                          {"backup written", kOld, kOld},
                          {"writing temporary", kOld, kOld},
                          {"before rename", kOld, kOld},
                          {"renamed", kNew, kOld}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        TempFolder folder;
        const auto target = folder / "termine.rmd";
        write_bytes(target, kOld);
        write_bytes(folder / "termine.bak", kEarlierBackup);
        EXPECT_EQ(SIGKILL, spawn_and_wait(c.step, target));
        EXPECT_EQ(c.file_after, read_bytes(target));
        EXPECT_EQ(c.backup_after, read_bytes(folder / "termine.bak"));
        if (&c.file_after == &kNew) {
            for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
                EXPECT_FALSE(is_temporary_name(entry.path())) << entry.path();
            }
        }
    }
}

// A file with a second hard link is written in place once its backup is on
// disk: until then it is old, afterwards new, and while it is being written
// its backup holds it complete.
TEST(SafeRewrite, KilledAtEveryStepOfTheInPlaceRouteLeavesACompleteBackup) {
    struct Case {
        const char* step;
        const std::string* file_after;  // nullptr: being written, the backup counts
        const std::string& backup_after;
    };
    const Case cases[] = {
        {"writing backup", &kOld, kEarlierBackup}, {"before backup rename", &kOld, kEarlierBackup},
        {"backup written", &kOld, kOld},           {"writing in place", nullptr, kOld},
        {"syncing in place", &kNew, kOld},         {"closing in place", &kNew, kOld},
        {"written in place", &kNew, kOld}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        TempFolder folder;
        const auto target = folder / "termine.rmd";
        write_bytes(target, kOld);
        std::filesystem::create_hard_link(target, folder / "zweiter_name.rmd");
        write_bytes(folder / "termine.bak", kEarlierBackup);
        EXPECT_EQ(SIGKILL, spawn_and_wait(c.step, target));
        if (c.file_after != nullptr) {
            EXPECT_EQ(*c.file_after, read_bytes(target));
        }
        EXPECT_EQ(read_bytes(target), read_bytes(folder / "zweiter_name.rmd"));
        EXPECT_EQ(c.backup_after, read_bytes(folder / "termine.bak"));
    }
}

// Written by a user who may write the file but cannot give a new file its
// owner: the content goes into the file itself, and owner and bits stay.
TEST(SafeRewrite, AnotherUsersFileIsWrittenInPlace) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    TempFolder folder;
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    const auto target = folder / "termine.rmd";
    write_bytes(target, kOld);
    ::chmod(target.c_str(), 0666);
    constexpr uid_t kNobody = 65534;
    EXPECT_EQ(-100, spawn_and_wait("none", target, std::to_string(kNobody)));
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(0u, st.st_uid);
    EXPECT_EQ(0666u, st.st_mode & 07777);
    EXPECT_EQ(kNew, read_bytes(target));
    EXPECT_EQ(kOld, read_bytes(folder / "termine.bak"));
}

TEST(SafeRewrite, BackupNameReplacesTheLastThreeCharacters) {
    EXPECT_EQ(std::filesystem::path("/d/beispiel.bak"), backup_name("/d/beispiel.rmd"));
    EXPECT_EQ(std::filesystem::path("/d/x.bak"), backup_name("/d/x.txt"));
    EXPECT_EQ(std::filesystem::path("/d/termbak"), backup_name("/d/termine"));
    EXPECT_EQ(std::filesystem::path("d/bak"), backup_name("d/ab"));
    // Umlauts are characters, not bytes.
    EXPECT_EQ(std::filesystem::path(u8"/d/bak"), backup_name(std::filesystem::path(u8"/d/äöü")));
    // A backup never stands in for the file it saves.
    EXPECT_EQ(std::filesystem::path("/d/alt.bak.bak"), backup_name("/d/alt.bak"));
}

}  // namespace
}  // namespace merkwald
