// Writers take turns on a file, across processes, and nothing a writer was not
// told about is overwritten.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

#include <QPlainTextEdit>

#include "editors/record_edit.h"
#include "editors/record_file.h"
#include "editors_test_support.h"
#include "engine/file_access.h"
#include "engine/file_lock.h"
#include "engine/safe_rewrite.h"
#include "tests/support/cli_process.h"

extern char** environ;

namespace merkwald {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char kHoldVariable[] = "MERKWALD_LOCK_HOLD";
constexpr char kReadyVariable[] = "MERKWALD_LOCK_READY";

const std::string kOld = record("<date=01.01.1990>|Anna") + record("<date=02.02.1990>|Bernd");
const std::string kNew = kOld + record("<date=03.03.1990>|Clara");

// Started as the holder (the test binary itself with the two variables set):
// takes the lock, says so by creating the ready file, and waits to be killed.
int run_lock_holder() {
    const char* file = std::getenv(kHoldVariable);
    const char* ready = std::getenv(kReadyVariable);
    if (file == nullptr || ready == nullptr) return 0;
    const FileLock lock = lock_file(file, 0ms);
    if (!lock.held()) std::_Exit(4);
    write_bytes(ready, "");
    std::this_thread::sleep_for(60s);  // never reached in a passing test
    std::_Exit(5);
}
[[maybe_unused]] const int lock_holder = run_lock_holder();

// Another process holding the lock of `file` until it is killed.
class Holder {
public:
    Holder(const fs::path& file, const fs::path& ready) {
        ::setenv(kHoldVariable, file.c_str(), 1);
        ::setenv(kReadyVariable, ready.c_str(), 1);
        std::string self = "/proc/self/exe";
        char* argv[] = {self.data(), nullptr};
        if (posix_spawn(&pid_, self.c_str(), nullptr, nullptr, argv, environ) != 0) pid_ = 0;
        ::unsetenv(kHoldVariable);
        ::unsetenv(kReadyVariable);
        // Waiting for the holder to start is no measure of speed: it only must come.
        for (int i = 0; pid_ != 0 && i < 3000 && !fs::exists(ready); ++i)
            std::this_thread::sleep_for(10ms);
    }
    ~Holder() { kill(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    [[nodiscard]] bool holding(const fs::path& ready) const {
        return pid_ != 0 && fs::exists(ready);
    }
    // kill -9; true when it died of it.
    bool kill() {
        if (pid_ == 0) return false;
        ::kill(pid_, SIGKILL);
        int status = 0;
        const bool killed =
            waitpid(pid_, &status, 0) == pid_ && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        pid_ = 0;
        return killed;
    }

private:
    pid_t pid_ = 0;
};

std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class FileLocking : public ::testing::Test {
protected:
    void TearDown() override { set_lock_wait(kLockWait); }

    TempFolder folder;
    fs::path ready = folder / "bereit";
};

// Whoever holds the lock, from before reading until after the replacement,
// keeps every other writer out: they wait, then give up with a message and
// write nothing. Where no file stands yet, its creation is held the same way.
TEST_F(FileLocking, AnotherProcessHoldingTheLockMakesEveryWriterGiveUpWithAMessage) {
    set_lock_wait(100ms);
    for (const bool exists : {true, false}) {
        SCOPED_TRACE(exists ? "existing file" : "file still missing");
        TempFolder f;
        const fs::path file = f / "termine.rmd";
        const fs::path holder_ready = f / "bereit";
        if (exists) write_bytes(file, kOld);
        Holder holder(file, holder_ready);
        ASSERT_TRUE(holder.holding(holder_ready));

        const FileLock lock = lock_file(file);
        EXPECT_FALSE(lock.held());
        EXPECT_EQ(file_busy_message(file), lock.message());
        EXPECT_NE(std::string::npos, lock.message().find("termine.rmd"));
        EXPECT_NE(std::string::npos, lock.message().find("anderen Programm"));

        const WriteOutcome outcomes[] = {
            exists ? rewrite_with_backup(file, {.before = kOld, .after = kNew})
                   : write_file_safely(file, kNew),
            append_lines(file, {"", "<record>", "Dora", "</record>"}),
        };
        for (const WriteOutcome& outcome : outcomes) {
            EXPECT_FALSE(outcome.ok());
            EXPECT_EQ(file_busy_message(file), german_text(outcome));
        }
        const std::set<std::string> left = exists ? std::set<std::string>{"termine.rmd", "bereit"}
                                                  : std::set<std::string>{"bereit"};
        EXPECT_EQ(left, names_in(f.path()));
        if (exists) {
            EXPECT_EQ(kOld, read_bytes(file));
        }
    }
}

// A writer that cannot have the lock in time says so and keeps what the user
// typed; the command line exits with a failure; another name of the same file
// (a link) meets the same lock. Once the holder is gone the save goes through.
TEST_F(FileLocking, ABusyFileRefusesTheEditorAndTheCommandLineWithAMessage) {
    test::EditorWorld world(test::day(2026, 12, 7));
    const fs::path main = world.folder / "main.rmd";
    write_bytes(main, kOld);
    fs::create_symlink(main, world.folder / "verweis.rmd");
    fs::copy_file(fs::path(MERKWALD_SOURCE_DIR) / "data" / "geb_text.dat",
                  world.folder / "geb_text.dat");
    Holder holder(main, ready);
    ASSERT_TRUE(holder.holding(ready));
    EXPECT_FALSE(lock_file(world.folder / "verweis.rmd", 0ms).held());

    test::CliProcess add(MERKWALD_CLI_BINARY,
                         {"add", "birthday", "Zacharias", "01.02.1980", "--file", main.string()},
                         world.folder.path(), world.folder / "fehler");
    EXPECT_EQ(1, add.wait());
    EXPECT_EQ(file_busy_message(main) + "\n", read_bytes(world.folder / "fehler"));

    set_lock_wait(100ms);
    EditingState state;
    state.current_file = main;
    state.current_record = 1;
    RecordEdit editor(nullptr, world.context, state);
    editor.text_box()->setPlainText("Anna im Fenster");
    editor.save();
    EXPECT_EQ(to_qstring(file_busy_message(main)), world.dialogs.messages.back().text);
    EXPECT_EQ("Anna im Fenster", editor.text_box()->toPlainText());
    EXPECT_NE(QDialog::Accepted, editor.result());
    EXPECT_EQ(kOld, read_bytes(main));

    ASSERT_TRUE(holder.kill());
    editor.save();
    EXPECT_EQ(QDialog::Accepted, editor.result());
    EXPECT_EQ(1, test::count_of(read_bytes(main), "Anna im Fenster\r\n"));
}

// The system drops the lock of a killed holder: the next writer has it on its
// first try, and nothing of the lock stays in the folder.
TEST_F(FileLocking, AKilledHolderLeavesNothingAndTheNextWriterProceedsAtOnce) {
    const fs::path file = folder / "termine.rmd";
    write_bytes(file, kOld);
    Holder holder(file, ready);
    ASSERT_TRUE(holder.holding(ready));
    EXPECT_FALSE(lock_file(file, 0ms).held());
    ASSERT_TRUE(holder.kill());

    EXPECT_TRUE(lock_file(file, 0ms).held());
    set_lock_wait(0ms);
    const WriteOutcome written = rewrite_with_backup(file, {.before = kOld, .after = kNew});
    EXPECT_TRUE(written.ok()) << german_text(written);
    EXPECT_EQ(kNew, read_bytes(file));
    EXPECT_EQ((std::set<std::string>{"termine.rmd", "termine.bak", "bereit"}),
              names_in(folder.path()));
}

// One writer's sequence locks the file again inside (the replacement itself
// does): the same thread never waits for itself, and the lock stays until the
// outermost holding ends.
TEST_F(FileLocking, TheSameThreadNestsAndTheOuterHoldingKeepsOthersOut) {
    const fs::path file = folder / "termine.rmd";
    write_bytes(file, kOld);
    std::optional<FileLock> outer = lock_file(file, 0ms);
    ASSERT_TRUE(outer->held());
    {
        const FileLock inner = lock_file(file, 0ms);
        EXPECT_TRUE(inner.held());
        EXPECT_TRUE(rewrite_with_backup(file, {.before = kOld, .after = kNew}).ok());
    }
    // Another thread counts as another writer.
    bool other_got_it = true;
    std::thread([&] { other_got_it = lock_file(file, 0ms).held(); }).join();
    EXPECT_FALSE(other_got_it);
    outer.reset();
    std::thread([&] { other_got_it = lock_file(file, 0ms).held(); }).join();
    EXPECT_TRUE(other_got_it);
}

// An outside edit that keeps size and modification time, as `cp -p` and sync
// tools make: only the content tells, and the rewrite must not overwrite it.
TEST_F(FileLocking, AnOutsideEditKeepingSizeAndTimeIsNotOverwritten) {
    const fs::path file = folder / "termine.rmd";
    write_bytes(file, kOld);
    std::string bytes;
    const FileRead read = read_regular_file(file, bytes);
    ASSERT_TRUE(read.ok);
    struct stat before {};
    ASSERT_EQ(0, ::stat(file.c_str(), &before));

    std::string edited = kOld;
    edited.replace(edited.find("Anna"), 4, "Ania");
    write_bytes(folder / "kopie.rmd", edited);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, (folder / "kopie.rmd").c_str(), times, 0));
    fs::rename(folder / "kopie.rmd", file);
    ASSERT_EQ(read.stamp.size, current_stamp(file).size);
    ASSERT_EQ(read.stamp.modified_ns, current_stamp(file).modified_ns);

    const WriteOutcome outcome =
        rewrite_with_backup(file, {.before = bytes, .after = kNew}, &read.stamp);
    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(outcome.is(WriteFailure::changed_outside));
    EXPECT_EQ(edited, read_bytes(file));
}

// A program that writes without the lock between the backup and the
// replacement: the stamp is checked again right before the replacement.
TEST_F(FileLocking, AnOutsideEditAfterTheBackupIsNotOverwritten) {
    const fs::path file = folder / "termine.rmd";
    write_bytes(file, kOld);
    std::string bytes;
    const FileRead read = read_regular_file(file, bytes);
    ASSERT_TRUE(read.ok);
    const std::string outside = kOld + record("<date=04.04.1990>|Von außen");
    set_rewrite_hook([&](std::string_view step) {
        if (step == "backup written") write_bytes(file, outside);
        return true;
    });
    const WriteOutcome outcome =
        rewrite_with_backup(file, {.before = bytes, .after = kNew}, &read.stamp);
    set_rewrite_hook({});
    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(outcome.is(WriteFailure::changed_outside));
    EXPECT_EQ(outside, read_bytes(file));
    EXPECT_EQ(kOld, read_bytes(folder / "termine.bak"));
}

// The record editor saves while `merkwald-cli add` is started on the same
// file: the command waits for the window's write and then adds its record to
// it, so both land.
TEST_F(FileLocking, AWindowSaveRacingAnAddLosesNeither) {
    test::EditorWorld world(test::day(2026, 12, 7));
    const fs::path main = world.folder / "main.rmd";
    write_bytes(main, kOld);
    fs::copy_file(fs::path(MERKWALD_SOURCE_DIR) / "data" / "geb_text.dat",
                  world.folder / "geb_text.dat");
    EditingState state;
    state.current_file = main;
    state.current_record = 1;
    RecordEdit editor(nullptr, world.context, state);
    editor.text_box()->setPlainText("Anna im Fenster");

    std::unique_ptr<test::CliProcess> add;
    bool add_was_at_work = false;
    set_rewrite_hook([&](std::string_view step) {
        if (step == "writing temporary" && !add) {
            add = std::make_unique<test::CliProcess>(
                MERKWALD_CLI_BINARY,
                std::vector<std::string>{"add", "birthday", "Zacharias", "01.02.1980", "--file",
                                         main.string()},
                world.folder.path(), world.folder / "fehler");
            // Until it has the file open, the command has done nothing to race with.
            add_was_at_work = add->wait_until_open(main, 5s);
        }
        return true;
    });
    editor.save();
    set_rewrite_hook({});
    ASSERT_TRUE(add);
    EXPECT_TRUE(add_was_at_work);
    const int status = add->wait();
    EXPECT_EQ(QDialog::Accepted, editor.result());

    const std::string after = read_bytes(main);
    EXPECT_EQ(1, test::count_of(after, "Anna im Fenster\r\n")) << after;
    EXPECT_EQ(1, test::count_of(after, "Bernd\r\n"));
    if (status == 0) {
        EXPECT_EQ(1, test::count_of(after, " Zacharias ")) << after;
    } else {
        EXPECT_EQ(0, test::count_of(after, " Zacharias "));
        EXPECT_NE(std::string::npos, read_bytes(world.folder / "fehler").find("main.rmd"));
    }
    EXPECT_EQ(0, status) << read_bytes(world.folder / "fehler");
}

}  // namespace
}  // namespace merkwald
