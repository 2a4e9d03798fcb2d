// Rewrites as they happen on every system the engine runs on (Linux and
// Windows alike): the same file saved again and again, names beyond ASCII,
// a hard link, the read-only mark, attributes and a file another
// program holds open.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "engine/file_access.h"
#include "engine/line_source.h"
#include "engine/safe_rewrite.h"
#include "engine_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace merkwald {
namespace {

namespace fs = std::filesystem;

fs::path u8(const std::u8string& name) { return fs::path(name); }

// Line ends and a Ctrl-Z in the middle: a text-mode file would change both.
const std::string kFirst = "<record>\r\n<date=01.01.2000>\r\neins\x1a zwei\r\n</record>\r\n";
const std::string kSecond = "<record>\r\n<date=02.01.2000>\r\nvier\r\n</record>\r\n";
const std::string kThird = "<record>\r\n<date=03.01.2000>\r\nfünf\r\n</record>\r\n\r\n";

std::string content(const fs::path& file) {
    std::string bytes;
    const FileRead read = read_regular_file(file, bytes);
    EXPECT_TRUE(read.ok) << read.message;
    return bytes;
}

// Every name in the folder as UTF-8.
std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(display_name(entry.path().filename()));
    }
    return names;
}

using FileRewrite = test::TempFolderTest;

// The name reaches the disk as written, and every way of reading finds it.
TEST_F(FileRewrite, SameFileWithUmlautsRewrittenTwiceKeepsBytesBackupAndNoTemporary) {
    const fs::path file = folder_ / u8(u8"Müller ärgert Öhrlein.rmd");
    ASSERT_TRUE(write_file_safely(file, kFirst).ok());
    const WriteOutcome first = rewrite_with_backup(file, {.before = kFirst, .after = kSecond});
    ASSERT_TRUE(first.ok()) << german_text(first);
    const WriteOutcome second = rewrite_with_backup(file, {.before = kSecond, .after = kThird});
    ASSERT_TRUE(second.ok()) << german_text(second);

    EXPECT_EQ(content(file), kThird);
    EXPECT_EQ(content(folder_ / u8(u8"Müller ärgert Öhrlein.bak")), kSecond);
    EXPECT_EQ(names_in(folder_),
              (std::set<std::string>{"Müller ärgert Öhrlein.rmd", "Müller ärgert Öhrlein.bak"}));
    EXPECT_TRUE(LineSource(file).is_open());
    EXPECT_NE(changed_outside_message(file).find("Müller ärgert Öhrlein.rmd"), std::string::npos);
}

// Writing one name of a file with two must change what both show.
TEST_F(FileRewrite, HardLinkedFileIsWrittenInPlace) {
    const fs::path file = write("a.rmd", kFirst);
    const fs::path other = folder_ / "b.rmd";
    std::error_code ec;
    fs::create_hard_link(file, other, ec);
    if (ec) GTEST_SKIP() << "this file system has no hard links: " << ec.message();

    const WriteOutcome outcome = rewrite_with_backup(file, {.before = kFirst, .after = kSecond});
    ASSERT_TRUE(outcome.ok()) << german_text(outcome);
    EXPECT_EQ(content(file), kSecond);
    EXPECT_EQ(content(other), kSecond);
    EXPECT_EQ(content(folder_ / "a.bak"), kFirst) << "the backup is a file of its own";
    // Shorter content leaves no tail of the longer one.
    ASSERT_TRUE(write_file_safely(file, "kurz\r\n").ok());
    EXPECT_EQ(content(other), "kurz\r\n");
}

// Read-only: the write bits here, the read-only attribute on Windows.
TEST_F(FileRewrite, ReadOnlyFileIsLeftAlone) {
    const fs::path file = write("a.rmd", kFirst);
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    for (const WriteOutcome& outcome :
         {rewrite_with_backup(file, {.before = kFirst, .after = kSecond}),
          write_file_safely(file, kSecond)}) {
        EXPECT_NE(german_text(outcome).find("schreibgeschützt"), std::string::npos)
            << german_text(outcome);
    }
    EXPECT_EQ(content(file), kFirst);
    EXPECT_EQ(names_in(folder_), std::set<std::string>{"a.rmd"});
    // A read-only file would outlive the folder's removal on Windows.
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

// A change of the same size within the same second (times may have whole
// seconds only), or one that keeps the time as `cp -p` and sync tools do, is
// still seen: the stamp's hash tells.
TEST_F(FileRewrite, SameSizeChangeWithSameTimeIsSeen) {
    const fs::path file = write("a.rmd", kFirst);
    // A whole second, which every file system keeps as it is set.
    const fs::file_time_type time =
        std::chrono::floor<std::chrono::seconds>(fs::last_write_time(file));
    fs::last_write_time(file, time);
    std::string bytes;
    const FileRead read = read_regular_file(file, bytes);
    ASSERT_TRUE(read.ok);
    std::string changed = kFirst;
    changed[changed.find("eins")] = 'E';
    write("a.rmd", changed);
    fs::last_write_time(file, time);
    ASSERT_EQ(read.stamp.modified_ns, current_stamp(file).modified_ns);

    const WriteOutcome outcome =
        rewrite_with_backup(file, {.before = kFirst, .after = kSecond}, &read.stamp);
    EXPECT_TRUE(outcome.is(WriteFailure::changed_outside));
    EXPECT_EQ(content(file), changed);
}

#ifdef _WIN32
TEST_F(FileRewrite, HiddenAttributeIsKept) {
    const fs::path file = write("a.rmd", kFirst);
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const WriteOutcome outcome = rewrite_with_backup(file, {.before = kFirst, .after = kSecond});
    ASSERT_TRUE(outcome.ok()) << german_text(outcome);
    EXPECT_EQ(content(file), kSecond);
    EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// Held throughout by another program reading it the way a viewer or a virus
// scanner does (no sharing for renames or deletion), the write fails with the
// reason and leaves both files whole; held only briefly, the write waits for
// the other program and goes through.
TEST_F(FileRewrite, FileHeldOpenByAnotherProgram) {
    const fs::path file = write("a.rmd", kFirst);
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "an open file never keeps another program from replacing it";

    const WriteOutcome refused = rewrite_with_backup(file, {.before = kFirst, .after = kSecond});
    for (const char* part : {"(Datei ist in Benutzung)", "bleibt unverändert"})
        EXPECT_NE(german_text(refused).find(part), std::string::npos) << german_text(refused);
    EXPECT_EQ(content(file), kFirst);
    EXPECT_EQ(content(folder_ / "a.bak"), kFirst);

    std::thread letting_go([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CloseHandle(held);
    });
    const WriteOutcome outcome = rewrite_with_backup(file, {.before = kFirst, .after = kSecond});
    letting_go.join();
    ASSERT_TRUE(outcome.ok()) << german_text(outcome);
    EXPECT_EQ(content(file), kSecond);
    EXPECT_EQ(names_in(folder_), (std::set<std::string>{"a.bak", "a.rmd"}));
}
#endif

}  // namespace
}  // namespace merkwald
