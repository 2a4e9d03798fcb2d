// Which file the calendar feed may write: names compared as the file system
// sees them, and only a new file or the program's own calendar replaced.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "engine/feed_target.h"
#include "engine/icalendar.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

class FeedTarget : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        program = folder_ / "programm";
        fs::create_directories(program);
        fs::create_directories(folder_ / "daten");
        write("programm/beispiel.rmd", "<record>\r\n<add_file=../daten/verlinkt.rmd>\r\n");
        write("programm/beispiel.bak", "<record>\r\n");
        write("daten/verlinkt.rmd", "<record>\r\n");
        write("daten/leer.ics", "");
        guard.program_folder = program;
        guard.reminder_files = {program / "beispiel.rmd", folder_ / "daten/verlinkt.rmd"};
        guard.settings_file = folder_ / "Merkwald.conf";
    }

    fs::path program;
    FeedGuard guard;
};

// The names the options page refuses are tried there; here the other spellings
// of a reminder file and what is no file at all.
TEST_F(FeedTarget, OnlyANewFileOrTheOwnCalendar) {
#ifdef _WIN32
    GTEST_SKIP() << "the rows need symbolic links, a named pipe and '/' names, which Windows "
                    "lacks; the other feed tests cover the rule there";
#else
    const std::string data = (folder_ / "daten").string();
    fs::create_symlink(folder_ / "daten/verlinkt.rmd", folder_ / "daten/zeiger.ics");
    fs::create_hard_link(program / "beispiel.rmd", folder_ / "daten/zweitname.ics");
    ASSERT_EQ(::mkfifo((folder_ / "daten/rohr.ics").c_str(), 0600), 0);
    const std::pair<std::string, FeedRefusal> rows[] = {
        {program.string() + "/./BEISPIEL.rmd", FeedRefusal::program_folder},
        {data + "/../daten/verlinkt.rmd", FeedRefusal::reminder_file},
        {data + "/zeiger.ics", FeedRefusal::reminder_file},
        {data + "/zweitname.ics", FeedRefusal::reminder_file},
        {"beispiel.bak", FeedRefusal::reminder_file},
        {data + "/leer.ics", FeedRefusal::foreign_file},
        {data + "/rohr.ics", FeedRefusal::not_a_file},
        {data, FeedRefusal::not_a_file},
        {"abo.ics", FeedRefusal::none},  // a new calendar in the program folder
    };
    for (const auto& [name, expected] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(check_feed_target(name, guard).refusal, expected);
        EXPECT_EQ(feed_refusal_text(expected).empty(), expected == FeedRefusal::none);
    }
#endif
}

// Only a calendar that starts as this program writes it is its own.
TEST_F(FeedTarget, OwnCalendarIsKnownByItsHeadAndProductId) {
    const std::string own =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:" + std::string(kCalendarProductId) +
        "\r\nEND:VCALENDAR\r\n";
    EXPECT_TRUE(is_own_calendar(write("eigen.ics", own)));
    EXPECT_FALSE(is_own_calendar(write("vorn.ics", "X-" + own)));
}

TEST(FeedExtension, AddedOnlyWhenTheNameHasNone) {
    const std::pair<std::string, std::string> rows[] = {
        {"abo", "abo.ics"}, {"kalender.txt", "kalender.txt"}, {"ordner.d/abo", "ordner.d/abo.ics"}};
    for (const auto& [name, expected] : rows)
        EXPECT_EQ(with_feed_extension(name), expected) << name;
}

}  // namespace
}  // namespace merkwald
