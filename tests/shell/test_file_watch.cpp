// The file list is watched: outside edits refresh the list, bursts give one
// refresh, the program's own rewrites none more.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "event_loop_support.h"
#include "gui_test_support.h"
#include "shell/file_watch.h"
#include "shell/window_followers.h"

namespace merkwald {
namespace {

using test::GuiFixture;
using test::settle_for;
using test::wait_until;

void write_bytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Replaced the way editors and sync tools do it: a new file renamed over the old.
void replace_by_rename(const QString& path, const QByteArray& bytes) {
    const QString temporary = path + QStringLiteral(".neu");
    write_bytes(temporary, bytes);
    ASSERT_EQ(
        std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()),
        0);
}

class FileWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::gui_application();
        main_file = dir.filePath(QStringLiteral("main.rmd"));
        linked_file = dir.filePath(QStringLiteral("linked.rmd"));
        write_bytes(main_file, "<record>\r\nEins\r\n</record>\r\n");
        write_bytes(linked_file, "<record>\r\nZwei\r\n</record>\r\n");
        watch = std::make_unique<FileWatch>(
            FileWatch::Handlers{[this] {
                                    ++refreshes;
                                    watch->watch({main_file, linked_file});
                                },
                                [this] { return may_refresh; }});
        watch->watch({main_file, linked_file});
    }

    QTemporaryDir dir;
    QString main_file, linked_file;
    int refreshes = 0;
    bool may_refresh = true;
    std::unique_ptr<FileWatch> watch;
};

TEST_F(FileWatchTest, BurstGivesOneRefresh) {
    for (int i = 0; i < 5; ++i)
        write_bytes(main_file,
                    QByteArray("<record>\r\nEins ") + QByteArray::number(i) + "\r\n</record>\r\n");
    ASSERT_TRUE(wait_until([this] { return refreshes >= 1; }));
    settle_for(FileWatch::kSettleMs * 2);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(FileWatchTest, WatchesAgainAfterRenameReplace) {
    replace_by_rename(main_file, "<record>\r\nNeu\r\n</record>\r\n");
    ASSERT_TRUE(wait_until([this] { return refreshes == 1; }));
    ASSERT_TRUE(wait_until([this] { return watch->watched_files().size() == 2; }));
    replace_by_rename(main_file, "<record>\r\nNoch neuer\r\n</record>\r\n");
    EXPECT_TRUE(wait_until([this] { return refreshes == 2; }));
}

TEST_F(FileWatchTest, OwnRewriteFollowedByOwnRefreshGivesNoSecond) {
    write_bytes(main_file, "<record>\r\nSelbst geschrieben\r\n</record>\r\n");
    // The program's own refresh after its write takes the new state as seen.
    watch->watch({main_file, linked_file});
    settle_for(FileWatch::kSettleMs * 3);
    EXPECT_EQ(refreshes, 0);
}

TEST_F(FileWatchTest, WaitsWhileAModalCommandRuns) {
    may_refresh = false;
    write_bytes(main_file, "<record>\r\nWährend des Dialogs\r\n</record>\r\n");
    settle_for(FileWatch::kSettleMs * 3);
    EXPECT_EQ(refreshes, 0);
    may_refresh = true;
    EXPECT_TRUE(wait_until([this] { return refreshes == 1; }));
}

TEST_F(FileWatchTest, ChangesBesideTheFilesAreIgnored) {
    write_bytes(dir.filePath(QStringLiteral("anderes.txt")), "x");
    settle_for(FileWatch::kSettleMs * 3);
    EXPECT_EQ(refreshes, 0);
}

// The whole way: a started window follows an outside edit of its main file.
TEST(WindowFileWatch, OutsideEditShowsInTheList) {
    GuiFixture f("<record>\nAlt\n</record>\n");
    auto form = f.started();
    WindowFollowers followers(*form, QDBusConnection(QStringLiteral("none")));
    form->show_data();
    ASSERT_NE(GuiFixture::plain(*form).find("Alt"), std::string::npos);
    f.write("main.rmd", "<record>\nNeu von außen\n</record>\n");
    EXPECT_TRUE(wait_until(
        [&] { return GuiFixture::plain(*form).find("Neu von außen") != std::string::npos; }));
}

}  // namespace
}  // namespace merkwald
