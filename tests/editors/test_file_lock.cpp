// Writers take turns on a file, across processes, and nothing a writer was not
// told about is overwritten.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <QPlainTextEdit>

#include "editing/record_file.h"
#include "editors/records/record_edit.h"
#include "editors_test_support.h"
#include "engine/file_access.h"
#include "engine/file_lock.h"
#include "engine/safe_rewrite.h"
#include "tests/support/cli_process.h"
#include "tests/support/lock_holder.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kOld = record("<date=01.01.1990>|Anna") + record("<date=02.02.1990>|Bernd");
const std::string kNew = kOld + record("<date=03.03.1990>|Clara");

class FileLocking : public ::testing::Test {
protected:
    void TearDown() override { set_lock_wait(kLockWait); }

    TempFolder folder;
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
        if (exists) write_bytes(file, kOld);
        test::LockHolder holder(file);
        ASSERT_TRUE(holder.holding());
        const WriteOutcome outcomes[] = {
            exists ? rewrite_with_backup(file, {.before = kOld, .after = kNew})
                   : write_file_safely(file, kNew),
            append_lines(file, {"", "<record>", "Dora", "</record>"}),
        };
        for (const WriteOutcome& outcome : outcomes)
            EXPECT_EQ(file_busy_message(file), german_text(outcome));
        std::set<std::string> left{"termine.rmd.held"};
        if (exists) left.insert("termine.rmd");
        EXPECT_EQ(left, names_in(f.path()));
        EXPECT_EQ(exists ? kOld : "", read_bytes(file));
    }
}

// The record editor on Anna's record and `merkwald-cli add` on the same file.
class WindowAndCommand : public FileLocking {
protected:
    WindowAndCommand() {
        write_bytes(main, kOld);
        fs::copy_file(fs::path(MERKWALD_SOURCE_DIR) / "data" / "geb_text.dat",
                      world.folder / "geb_text.dat");
        state.current_file = main;
        state.current_record = 1;
    }
    std::unique_ptr<test::CliProcess> start_add() const {
        return std::make_unique<test::CliProcess>(
            MERKWALD_CLI_BINARY,
            std::vector<std::string>{"add", "birthday", "Zacharias", "01.02.1980", "--file",
                                     main.string()},
            world.folder.path(), world.folder / "fehler");
    }

    test::EditorWorld world{test::day(2026, 12, 7)};
    fs::path main = world.folder / "main.rmd";
    EditingState state;
};

// A writer that cannot have the lock in time says so and keeps what the user
// typed; the command line exits with a failure; another name of the same file
// (a link) meets the same lock. The system drops the lock of a killed holder:
// the next save has it on its first try.
TEST_F(WindowAndCommand, ABusyFileRefusesTheEditorAndTheCommandLineWithAMessage) {
    fs::create_symlink(main, world.folder / "verweis.rmd");
    test::LockHolder holder(main);
    ASSERT_TRUE(holder.holding());
    EXPECT_FALSE(lock_file(world.folder / "verweis.rmd", 0ms).held());
    EXPECT_EQ(1, start_add()->wait());
    EXPECT_EQ(file_busy_message(main) + "\n", read_bytes(world.folder / "fehler"));

    set_lock_wait(100ms);
    RecordEdit editor(nullptr, world.context, state);
    editor.text_box()->setPlainText("Anna im Fenster");
    editor.save();
    EXPECT_EQ(to_qstring(file_busy_message(main)), world.dialogs.messages.back().text);
    EXPECT_EQ(kOld, read_bytes(main));

    ASSERT_TRUE(holder.kill());
    set_lock_wait(0ms);
    editor.save();
    EXPECT_EQ(QDialog::Accepted, editor.result());
    EXPECT_EQ(1, test::count_of(read_bytes(main), "Anna im Fenster\r\n"));
}

// One writer's sequence locks the file again inside (the rewrite itself does):
// the same thread never waits for itself, and the lock stays until the
// outermost holding ends.
TEST_F(FileLocking, TheSameThreadNestsAndTheOuterHoldingKeepsOthersOut) {
    const fs::path file = folder / "termine.rmd";
    write_bytes(file, kOld);
    std::optional<FileLock> outer = lock_file(file, 0ms);
    ASSERT_TRUE(outer->held());
    EXPECT_TRUE(rewrite_with_backup(file, {.before = kOld, .after = kNew}).ok());
    // Another thread counts as another writer.
    bool other_got_it = true;
    std::thread([&] { other_got_it = lock_file(file, 0ms).held(); }).join();
    EXPECT_FALSE(other_got_it);
    outer.reset();
    std::thread([&] { other_got_it = lock_file(file, 0ms).held(); }).join();
    EXPECT_TRUE(other_got_it);
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
    EXPECT_TRUE(outcome.is(WriteFailure::changed_outside));
    EXPECT_EQ(outside, read_bytes(file));
    EXPECT_EQ(kOld, read_bytes(folder / "termine.bak"));
}

// The record editor saves while `merkwald-cli add` is started on the same
// file: the command waits for the window's write and then adds its record to
// it, so both land.
TEST_F(WindowAndCommand, AWindowSaveRacingAnAddLosesNeither) {
    RecordEdit editor(nullptr, world.context, state);
    editor.text_box()->setPlainText("Anna im Fenster");
    std::unique_ptr<test::CliProcess> add;
    bool add_was_at_work = false;
    set_rewrite_hook([&](std::string_view step) {
        if (step == "writing temporary" && !add) {
            add = start_add();
            // Until it has the file open, the command has done nothing to race with.
            add_was_at_work = add->wait_until_open(main, 5s);
        }
        return true;
    });
    editor.save();
    set_rewrite_hook({});
    ASSERT_TRUE(add);
    EXPECT_TRUE(add_was_at_work);
    EXPECT_EQ(0, add->wait()) << read_bytes(world.folder / "fehler");
    const std::string after = read_bytes(main);
    for (const char* line : {"Anna im Fenster\r\n", "Bernd\r\n", " Zacharias "})
        EXPECT_EQ(1, test::count_of(after, line)) << line << after;
}

}  // namespace
}  // namespace merkwald
