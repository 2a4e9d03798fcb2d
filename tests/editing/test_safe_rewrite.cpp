#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "editing/record_file.h"
#include "editing/record_list_files.h"
#include "editing_test_support.h"
#include "engine/file_access.h"
#include "engine/safe_rewrite.h"
#include "engine/text_file.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

std::string numbered_records(const std::string& word, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += record(word + " " + std::to_string(i));
    return text;
}

const std::string kOld = numbered_records("alt", 400);
const std::string kNew = numbered_records("neu", 500);
const std::string kEarlierBackup = "frühere Sicherung\r\n";

// "a.rmd" in `folder` holding kOld beside an earlier backup, with the second
// name "b.rmd" when `linked` (which sends a rewrite into the file itself).
fs::path old_file(const TempFolder& folder, bool linked) {
    write_bytes(folder / "a.rmd", kOld);
    write_bytes(folder / "a.bak", kEarlierBackup);
    if (linked) fs::create_hard_link(folder / "a.rmd", folder / "b.rmd");
    return folder / "a.rmd";
}

// Rewrites the file in a child process that is killed at `step`; answers the
// signal that ended the child.
int killed_at(const std::string& step, const fs::path& target) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        set_rewrite_hook([&step](std::string_view now) {
            if (now == step) std::raise(SIGKILL);
            return true;
        });
        (void)rewrite_with_backup(target, {.before = kOld, .after = kNew});
        std::_Exit(3);  // the step never came
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

// A second hard link sends the rewrite into the file itself once its backup is
// on disk: while it is being written there, the backup holds it complete.
TEST(SafeRewrite, KilledAtEveryStepLeavesFileOldOrNewAndBackupComplete) {
    // The step, whether the file has a second name, and what the file (nullptr:
    // being written in place) and its backup hold after.
    const std::tuple<const char*, bool, const std::string*, const std::string*> cases[] = {
        {"writing backup", false, &kOld, &kEarlierBackup},
        {"before backup rename", false, &kOld, &kEarlierBackup},
        {"syncing backup folder", false, &kOld, &kOld},
        {"backup written", false, &kOld, &kOld},
        {"writing temporary", false, &kOld, &kOld},
        {"before rename", false, &kOld, &kOld},
        {"syncing folder", false, &kNew, &kOld},
        {"renamed", false, &kNew, &kOld},
        {"writing in place", true, nullptr, &kOld},
        {"syncing in place", true, &kNew, &kOld},
        {"written in place", true, &kNew, &kOld}};
    for (const auto& [step, linked, file_after, backup_after] : cases) {
        SCOPED_TRACE(std::string(step) + (linked ? " (in place)" : ""));
        TempFolder folder;
        const fs::path target = old_file(folder, linked);
        EXPECT_EQ(SIGKILL, killed_at(step, target));
        if (file_after != nullptr) {
            EXPECT_EQ(*file_after, read_bytes(target));
        }
        if (linked) {
            EXPECT_EQ(read_bytes(target), read_bytes(folder / "b.rmd"));
        }
        EXPECT_EQ(*backup_after, read_bytes(folder / "a.bak"));
    }
}

TEST(SafeRewrite, BackupNameReplacesTheLastThreeCharacters) {
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

class FileSafety : public ::testing::Test {
protected:
    void TearDown() override { set_rewrite_hook({}); }
    TempFolder folder;
    fs::path target = folder / "termine.rmd";
};

std::optional<std::string> attribute(const fs::path& p, const char* name) {
    std::string value(4096, '\0');
    const ssize_t size = ::lgetxattr(p.c_str(), name, value.data(), value.size());
    if (size < 0) return std::nullopt;
    value.resize(static_cast<std::size_t>(size));
    return value;
}

// An access list in the system's stored form (little-endian tag, rights, id):
// owner rw, the user 65534 r, group r, mask r, others nothing.
const std::string kAccessList(
    "\x02\0\0\0"
    "\x01\0\x06\0\xff\xff\xff\xff"
    "\x02\0\x04\0\xfe\xff\0\0"
    "\x04\0\x04\0\xff\xff\xff\xff"
    "\x10\0\x04\0\xff\xff\xff\xff"
    "\x20\0\0\0\xff\xff\xff\xff",
    44);

// Through a new file or, when the new file cannot get an attribute, in place:
// the file keeps its mode, owner, attributes and access list; the backup, a
// file of its own, keeps what it can and lets no one else in.
TEST_F(FileSafety, ModeOwnerAttributesAndAccessListsStay) {
    write_bytes(target, kOld);
    ::chmod(target.c_str(), 0640);
    constexpr uid_t kStranger = 54321;
    const bool owner = ::chown(target.c_str(), kStranger, kStranger) == 0;
    const std::string origin = "Adressbuch";
    const char* const kOrigin = "user.merkwald.herkunft";
    const char* const kAcl = "system.posix_acl_access";
    const bool attributes =
        ::lsetxattr(target.c_str(), kOrigin, origin.data(), origin.size(), 0) == 0;
    const bool acl =
        ::lsetxattr(target.c_str(), kAcl, kAccessList.data(), kAccessList.size(), 0) == 0;
    std::printf("checked here: owner %d, attributes %d, access list %d\n", owner, attributes, acl);
    const auto check = [&](const fs::path& p) {
        SCOPED_TRACE(p.filename().string());
        EXPECT_EQ(0640u, mode_of(p));
        EXPECT_TRUE(!owner || (stat_of(p).st_uid == kStranger && stat_of(p).st_gid == kStranger));
        EXPECT_TRUE(!attributes || attribute(p, kOrigin) == origin);
        EXPECT_TRUE(!acl || attribute(p, kAcl) == kAccessList);
    };
    const ino_t before = stat_of(target).st_ino;
    ASSERT_TRUE(rewrite_with_backup(target, {.before = kOld, .after = kNew}).ok());
    EXPECT_NE(before, stat_of(target).st_ino);  // through a new file, not in place
    check(target);
    check(folder / "termine.bak");
    ASSERT_TRUE(write_file_safely(target, kOld).ok());
    check(target);

    set_rewrite_hook([](std::string_view step) { return step != "keeping attributes"; });
    const ino_t in_place = stat_of(target).st_ino;
    ASSERT_TRUE(rewrite_with_backup(target, {.before = kOld, .after = kNew}).ok());
    EXPECT_TRUE(!attributes || in_place == stat_of(target).st_ino);
    EXPECT_EQ(kNew, read_bytes(target));
    check(target);
    EXPECT_EQ(kOld, read_bytes(folder / "termine.bak"));
    EXPECT_EQ(0u, mode_of(folder / "termine.bak") & 077);
}

// Each write's temporary file has a fresh name, so that nothing planted there
// beforehand is written through, and is owner-only while being written. For
// a name as long as the system allows, the temporary names are shorter, cut
// between characters, and still known as temporary names.
TEST_F(FileSafety, TheTemporaryFilesAreFreshOwnerOnlyAndKnownForAnyName) {
    std::string name = "x";
    for (int i = 0; i < 125; ++i) name += "ü";
    const fs::path file = folder / (name + ".rmd");  // 255 bytes
    write_bytes(file, kOld);
    ::chmod(file.c_str(), 0644);
    std::set<std::string> seen;
    set_rewrite_hook([&](std::string_view step) {
        if (step != "writing temporary" && step != "writing backup") return true;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            const std::string found = entry.path().filename().string();
            if (found.find("~mw.") == std::string::npos) continue;
            seen.insert(found);
            EXPECT_TRUE(is_temporary_name(entry.path()) && is_valid_utf8(found)) << found;
            EXPECT_EQ(0600u, mode_of(entry.path()) & 0777) << "still being written";
        }
        return true;
    });
    const WriteOutcome outcome = rewrite_with_backup(file, {.before = kOld, .after = kNew});
    ASSERT_TRUE(outcome.ok()) << german_text(outcome);
    ASSERT_TRUE(write_file_safely(file, kOld).ok());
    EXPECT_EQ(3u, seen.size());  // the backup's and two of the file's, each its own
    EXPECT_EQ(kOld, read_bytes(backup_name(file)));
}

// Every step of both routes fails once: the target stays byte for byte, the
// backup is complete, no temporary file is left, and the message says so.
TEST_F(FileSafety, AFailureAtAnyStepLeavesEverythingComplete) {
    const char* const steps[] = {"writing backup",        "syncing backup",    "closing backup",
                                 "before backup rename",  "writing temporary", "syncing temporary",
                                 "syncing backup folder", "closing temporary", "before rename",
                                 "writing in place",      "syncing in place",  "closing in place"};
    for (const bool linked : {false, true}) {
        for (const char* failing : steps) {
            SCOPED_TRACE(std::string(failing) + (linked ? " (in place)" : ""));
            TempFolder f;
            const fs::path file = old_file(f, linked);
            bool reached = false;
            set_rewrite_hook([&](std::string_view step) {
                reached = reached || step == failing;
                return step != failing;
            });
            const WriteOutcome outcome = rewrite_with_backup(file, {.before = kOld, .after = kNew});
            if (!reached) continue;  // a step of the other route
            EXPECT_NE(std::string::npos, german_text(outcome).find("bleibt unverändert"))
                << german_text(outcome);
            EXPECT_FALSE(outcome.content_changed());
            EXPECT_EQ(kOld, read_bytes(file));
            const std::string backup = read_bytes(f / "a.bak");
            EXPECT_TRUE(backup == kOld || backup == kEarlierBackup);
            EXPECT_EQ(linked ? 3u : 2u, names_in(f.path()).size());
        }
    }
}

// A copy onto the file itself, under whatever name, would leave it empty.
TEST_F(FileSafety, ACopyOntoTheFileItselfIsRefused) {
    write_bytes(target, kOld);
    fs::create_symlink(target, folder / "link.rmd");
    fs::create_hard_link(target, folder / "hart.rmd");
    for (const char* name : {"link.rmd", "hart.rmd", "./termine.rmd", ".termine.rmd~mw.Ab12Cd"})
        EXPECT_FALSE(copy_file_safely(target, folder / name).ok()) << name;
    EXPECT_EQ(kOld, read_bytes(target));
    EXPECT_TRUE(copy_file_safely(target, folder / "neu.rmd").ok());
    EXPECT_EQ(kOld, read_bytes(folder / "neu.rmd"));
}

// A pipe would hang the reader; a folder, or a link leading in a circle, is no
// file either. Each is named for what it is and left as it is.
TEST_F(FileSafety, OnlyRegularFilesAreReadOrWritten) {
    ASSERT_EQ(0, ::mkfifo((folder / "pipe.csv").c_str(), 0600));
    fs::create_directory(folder / "ordner.rmd");
    fs::create_symlink("b.rmd", folder / "a.rmd");
    fs::create_symlink("a.rmd", folder / "b.rmd");
    const std::pair<const char*, const char*> cases[] = {
        {"pipe.csv", "Pipe"}, {"ordner.rmd", "Ordner"}, {"a.rmd", "kann nicht gelesen werden"}};
    for (const auto& [name, what] : cases) {
        SCOPED_TRACE(name);
        std::string bytes;
        const FileRead read = read_regular_file(folder / name, bytes);
        EXPECT_NE(std::string::npos, read.message.find(what)) << read.message;
        for (const WriteOutcome& outcome :
             {rewrite_with_backup(folder / name, {.before = "", .after = kNew}),
              write_file_safely(folder / name, kNew)}) {
            EXPECT_NE(std::string::npos, german_text(outcome).find("keine gewöhnliche Datei"))
                << german_text(outcome);
        }
    }
    EXPECT_TRUE(fs::is_fifo(folder / "pipe.csv"));
    EXPECT_EQ(4u, names_in(folder.path()).size());
}

// The file a link leads to, as the system finds it: ".." leaves the folder the
// link really lies in, which for a link inside a linked folder is not the text
// before it. A decoy waits at the place the text would lead to.
TEST_F(FileSafety, LinksWithTwoDotsLeadWhereTheSystemLeads) {
    // The name the file is written under; what "verweis/termine.rmd" holds, if anything.
    const std::pair<const char*, const char*> cases[] = {
        {"verweis/termine.rmd", "../daten/echt.rmd"},
        {"verweis/../daten/echt.rmd", nullptr},
        {"kette.rmd", "../daten/echt.rmd"}};
    for (const auto& [written_as, link] : cases) {
        SCOPED_TRACE(written_as);
        TempFolder f;
        for (const char* d : {"tief/innen", "tief/daten", "daten"}) fs::create_directories(f / d);
        fs::create_directory_symlink("tief/innen", f / "verweis");
        const fs::path real = f / "tief/daten/echt.rmd";
        const fs::path decoy = f / "daten/echt.rmd";
        write_bytes(real, kOld);
        write_bytes(decoy, "fremd\r\n");
        if (link != nullptr) fs::create_symlink(link, f / "verweis/termine.rmd");
        // A link to a link: the second counts from the folder the first leads to.
        fs::create_symlink("verweis/termine.rmd", f / "kette.rmd");
        const fs::path name = f / written_as;
        std::string bytes;
        const FileRead read = read_regular_file(name, bytes);
        ASSERT_EQ(kOld, bytes) << read.message;
        const WriteOutcome outcome =
            rewrite_with_backup(name, {.before = bytes, .after = kNew}, &read.stamp);
        ASSERT_TRUE(outcome.ok()) << german_text(outcome);
        EXPECT_EQ(kOld, read_bytes(f / "tief/daten/echt.bak"));
        EXPECT_TRUE(fs::equivalent(f / "tief/daten/echt.bak", backup_of(name)));
        // The terminal's and the entry dialogs' append goes the same way.
        const WriteOutcome appended = append_lines(name, {"<record>", "Anhang", "</record>"});
        ASSERT_TRUE(appended.ok()) << german_text(appended);
        EXPECT_EQ(kNew + "<record>\r\nAnhang\r\n</record>\r\n", read_bytes(real));
        EXPECT_EQ("fremd\r\n", read_bytes(decoy));
    }
}

// Sets a file's modification time `seconds` into the past, without following a link.
void make_older(const fs::path& p, int seconds) {
    timespec times[2]{};
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= seconds;
    times[1] = times[0];
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW)) << p;
}

// What killed writes left is cleared by the next write of that file; only
// that: not another file's, a fresh one, a link, a folder, a stranger's.
TEST_F(FileSafety, AWriteRemovesItsOwnStaleTemporariesAndNothingElse) {
    write_bytes(target, kOld);
    const fs::path victim = folder / "opfer.txt";
    write_bytes(victim, "geheim\r\n");
    const char* const stale[] = {".termine.rmd~mw.Alt123", ".termine.bak~mw.Alt456"};
    for (const char* name : stale) write_bytes(folder / name, kNew);
    for (const char* name : {".andere.rmd~mw.Alt123", "termine.rmd~mw.Alt123",
                             ".termine.rmd~mw.Alt-12", ".termine.rmd~mw.Alt1234"})
        write_bytes(folder / name, kNew);
    fs::create_directory(folder / ".termine.rmd~mw.Ordner");
    fs::create_symlink(victim, folder / ".termine.rmd~mw.Link12");
    fs::create_hard_link(victim, folder / ".termine.rmd~mw.Hart12");
    const fs::path foreign = folder / ".termine.rmd~mw.Fremd1";
    write_bytes(foreign, kNew);
    if (::chown(foreign.c_str(), 54321, 54321) != 0) {
        std::printf("not checked: a stale file of another owner (cannot give files away here)\n");
        fs::remove(foreign);
    }
    for (const std::string& name : names_in(folder.path())) make_older(folder / name, 120);
    write_bytes(folder / ".termine.rmd~mw.Neu123", kNew);  // a write going on just now
    std::set<std::string> kept = names_in(folder.path());
    for (const char* name : stale) kept.erase(name);
    kept.insert("termine.bak");

    ASSERT_TRUE(rewrite_with_backup(target, {.before = kOld, .after = kNew}).ok());
    EXPECT_EQ(kept, names_in(folder.path()));
    EXPECT_EQ("geheim\r\n", read_bytes(victim));
}

// The write got as far as changing the file but failed after: the rename
// happened but may not survive a crash, or a write in place failed and putting
// the old content back failed too. The message says what the file holds and
// where its old content is (without a backup, none is named); the file's stamp
// is what is there now.
TEST_F(FileSafety, AWriteThatChangedTheFileAndFailedSaysWhatTheFileHolds) {
    // The steps that fail, and what the file holds in the message's words.
    const std::pair<std::set<std::string_view>, const char*> cases[] = {
        {{"syncing folder"}, "nicht dauerhaft gespeichert"},
        {{"writing in place", "writing back"}, "weder den vorigen noch den neuen Inhalt"},
        {{"closing in place", "closing back"}, "wieder den vorigen Inhalt"}};
    for (const auto& [failing, holds] : cases) {
        SCOPED_TRACE(holds);
        TempFolder f;
        const fs::path file = old_file(f, !failing.contains("syncing folder"));
        set_rewrite_hook([&](std::string_view step) { return !failing.contains(step); });
        const WriteOutcome outcome = rewrite_with_backup(file, {.before = kOld, .after = kNew});
        EXPECT_EQ(outcome.written_stamp, current_stamp(file));
        const WriteOutcome plain = write_file_safely(file, kNew);
        EXPECT_TRUE(outcome.content_changed() && plain.content_changed());
        for (const char* part : {holds, "Sicherungsdatei", "a.bak"})
            EXPECT_NE(std::string::npos, german_text(outcome).find(part)) << german_text(outcome);
        EXPECT_EQ(std::string::npos, german_text(outcome).find("unverändert"))
            << german_text(outcome);
        EXPECT_EQ(kOld, read_bytes(f / "a.bak"));
        EXPECT_NE(std::string::npos, german_text(plain).find("möglicherweise"))
            << german_text(plain);
        EXPECT_EQ(std::string::npos, german_text(plain).find("Sicherung")) << german_text(plain);
    }
}

}  // namespace
}  // namespace merkwald
