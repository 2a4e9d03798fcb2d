// One running copy: a second start reaches the first through the local socket,
// and a socket left behind by a crash does not keep the next start out.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "gui_test_support.h"
#include "shell/single_instance.h"

namespace merkwald::test {
namespace {

class SecondStart : public ::testing::Test {
protected:
    SecondStart() { gui_application(); }

    // Lets the running copy read what arrived; a local socket needs a few turns.
    void deliver(const std::vector<QStringList>& received, std::size_t expected) {
        for (int turn = 0; turn < 1000 && received.size() < expected; ++turn)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    QTemporaryDir runtime;
    QString name = runtime.path() + "/merkwald-test.socket";
};

TEST_F(SecondStart, ArgumentsReachTheRunningCopy) {
    SingleInstance second(name);
    EXPECT_FALSE(second.hand_over({"merkwald"}));  // nobody runs yet

    SingleInstance running(name);
    std::vector<QStringList> received;
    ASSERT_TRUE(running.listen([&](const QStringList& a) { received.push_back(a); }));
    // While the running copy starts, a later start waits for it.
    const QStringList arguments{"merkwald", "/file=zwei.rmd", "no_logo"};
    EXPECT_TRUE(second.hand_over(arguments));
    deliver(received, 1);
    EXPECT_TRUE(received.empty());
    running.open();
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(arguments, received.front());

    EXPECT_TRUE(second.hand_over({"merkwald"}));
    deliver(received, 2);
    EXPECT_EQ(2u, received.size());
}

TEST_F(SecondStart, AStaleSocketIsTakenOver) {
    // What a crashed copy leaves: the name exists, nobody answers.
    QFile stale(name);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance next(name);
    std::vector<QStringList> received;
    ASSERT_TRUE(next.listen([&](const QStringList& a) { received.push_back(a); }));
    next.open();
    EXPECT_TRUE(SingleInstance(name).hand_over({"merkwald"}));
    deliver(received, 1);
    EXPECT_EQ(1u, received.size());
}

TEST_F(SecondStart, ALiveCopyKeepsItsName) {
    SingleInstance running(name);
    ASSERT_TRUE(running.listen({}));
    SingleInstance other(name);
    EXPECT_FALSE(other.listen({}));
}

TEST(SecondStartName, SeparatesTheProgramsAndTheDisplays) {
    qputenv("WAYLAND_DISPLAY", "");
    qputenv("DISPLAY", ":0");
    const QString full = SingleInstance::server_name("merkwald");
    EXPECT_NE(full, SingleInstance::server_name("merklight"));
    qputenv("DISPLAY", ":99");
    EXPECT_NE(full, SingleInstance::server_name("merkwald"));
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
}

TEST(SecondStartWindow, ShowsTheWindowAndOpensTheNamedFile) {
    GuiFixture f("<record>\n<date=05.03.1999>\nAus main\n</record>\n");
    f.write("zwei.rmd", "<record>\n<date=05.03.1999>\nAus zwei\n</record>\n");
    f.set("Version", std::int32_t(1512));
    auto form = f.started();
    form->hide();

    apply_second_start(*form, CommandLine("/once"));
    EXPECT_FALSE(form->isVisible());
    apply_second_start(*form, CommandLine("no_logo"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_NE(GuiFixture::plain(*form).find("Aus main"), std::string::npos);
    apply_second_start(*form, CommandLine("/file=zwei.rmd"));
    EXPECT_NE(GuiFixture::plain(*form).find("Aus zwei"), std::string::npos);
    EXPECT_EQ("zwei.rmd", form->main_file());
}

}  // namespace
}  // namespace merkwald::test
