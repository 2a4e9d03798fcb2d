// The start of both programs: the command-line words, the splash, the
// what-is-new window with its version check and the missed-events window.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTimer>

#include "gui_test_support.h"
#include "shell/day_timers.h"

namespace merkwald::test {
namespace {

std::vector<QString> kinds(const GuiFixture& f) {
    std::vector<QString> out;
    for (const ShownWindow& w : f.shown) out.push_back(w.kind);
    return out;
}

TEST(Start, OnceOnTheSecondStartOfADayShowsNothingAndLeavesDate) {
    GuiFixture f(kToday);
    f.set("Version", std::int32_t(1512));
    auto first = f.started("/once /no_logo");
    ASSERT_TRUE(first->isVisible());
    EXPECT_EQ(f.stored("Date"), "05.03.99");
    first->close();
    const QByteArray store_before = file_bytes(f.store.path());
    f.shown.clear();
    f.ends = 0;

    f.clock.set(at(1999, 3, 5, 18));
    auto second = f.window("/once /no_logo");
    EXPECT_FALSE(second->start());
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(f.ends, 1);
    EXPECT_TRUE(f.shown.empty());
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(file_bytes(f.store.path()), store_before);
}

TEST(Start, NoEventsEndsWhenNothingIsDueAndGoesOnOtherwise) {
    for (const bool due : {false, true}) {
        GuiFixture f;
        f.write("main.rmd", due ? kToday : "<record>\n<date=01.06.1999>\nSpaeter\n</record>\n");
        auto form = f.window("no_logo no_events");
        f.set("DataFilename", std::string("main.rmd"));
        EXPECT_EQ(form->start(), due) << due;
        EXPECT_EQ(form->isVisible(), due) << due;
        EXPECT_EQ(f.ends, due ? 0 : 1) << due;
    }
}

TEST(Start, FileWordNamesTheMainFile) {
    GuiFixture f("<record>\n<date=05.03.1999>\nAus main\n</record>\n");
    f.write("Other.rmd", "<record>\n<date=05.03.1999>\nAus other\n</record>\n");
    auto form = f.started("no_logo /file=Other.rmd /once");
    EXPECT_NE(GuiFixture::plain(*form).find("Aus other"), std::string::npos);
    form->day_timer().tick();
    EXPECT_EQ(form->file_label()->text(), "Other.rmd") << "as on disk";
}

// The splash, then what is new when the stored version is missing or older; both timers run.
TEST(Start, FullProgramShowsSplashThenWhatIsNewOnAVersionChange) {
    const std::pair<std::optional<std::int32_t>, bool> rows[] = {
        {1499, true}, {std::nullopt, true}, {1511, true}, {1512, false}, {2000, false}};
    for (const auto& [version, what_is_new] : rows) {
        GuiFixture f(kToday);
        f.write("neues.txt", "Erste Zeile\nZweite Zeile");
        if (version) f.set("Version", *version);
        auto form = f.started("");
        const std::vector<QString> expected = what_is_new
                                                  ? std::vector<QString>{"Intro", "FirstStart"}
                                                  : std::vector<QString>{"Intro"};
        ASSERT_EQ(kinds(f), expected) << version.value_or(-1);
        EXPECT_EQ(f.shown[0].text, "Version 1.5.12");
        EXPECT_EQ(f.stored("Version"), "1512");
        EXPECT_TRUE(form->day_timer().running() && form->unload_timer().running());
        EXPECT_EQ(form->close_button().text(), "Ende");
    }
    GuiFixture f(kToday);
    f.write("neues.txt", "Erste Zeile\nZweite Zeile");
    auto form = f.started("no_logo");
    ASSERT_EQ(kinds(f), (std::vector<QString>{"FirstStart"}));
    EXPECT_EQ(f.shown[0].caption, "Neues in Merkwald Version 1.5.12");
    EXPECT_EQ(f.shown[0].text, "Erste Zeile\nZweite Zeile\n");
    EXPECT_EQ(form->windowTitle(), "Merkwald - Version 1.5.12");
    EXPECT_EQ(f.stored("Date"), "05.03.99");
}

TEST(Start, LightProgramHasNoSplashNoVersionCheckAndNoSidePanel) {
    GuiFixture f(kToday);
    auto form = f.started("", ProgramKind::light);
    EXPECT_TRUE(f.shown.empty());
    EXPECT_EQ(f.stored("Version"), std::nullopt);
    EXPECT_EQ(form->clock_label(), nullptr);
    EXPECT_EQ(form->moon_picture(), nullptr);
}

TEST(Start, MissedWindowListsSeveralDaysOldestFirstWhileTheSettingIsOn) {
    GuiFixture f;
    f.write("main.rmd",
            "<record>\n<date=03.03.1960>\nDritter\n</record>\n"
            "<record>\n<date=02.03.1960>\nZweiter\n</record>\n"
            "<record>\n<date=03.03.1970>\nDritter auch\n</record>\n"
            "<record>\n<date=28.02.1960>\nAm letzten Start\n</record>\n"
            "<record>\n<date=05.03.1960>\nHeute\n</record>\n");
    f.set("Date", std::string("28.02.99"));
    f.set("MissedEvents", std::int32_t(1));
    f.set("Version", std::int32_t(1512));
    f.started();
    ASSERT_EQ(kinds(f), (std::vector<QString>{"DisplayMissed"}));
    EXPECT_EQ(f.shown[0].caption, "Seit dem letzten Start (28.02.99) abgelaufen...");
    EXPECT_EQ(f.shown[0].text,
              "02.03.1999: Zweiter\n03.03.1999: Dritter\n03.03.1999: Dritter auch\n")
        << "every entry indented alike by the margin";

    f.set("MissedEvents", std::int32_t(0));  // with the setting off it stays away
    f.set("Date", std::string("28.02.99"));
    f.shown.clear();
    auto form = f.started();
    EXPECT_TRUE(f.shown.empty());
    EXPECT_EQ(form->refresh_tables().missed.size(), 3u);
}

TEST(Start, IntroClosesOnAKeyAndAfterItsTime) {
    gui_application();
    SplashWindow by_key(ProgramVersion{1, 0, 0});
    by_key.show();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(&by_key, &key);
    EXPECT_EQ(by_key.result(), QDialog::Accepted);
    EXPECT_FALSE(by_key.isVisible());

    SplashWindow by_time(ProgramVersion{1, 0, 0});
    by_time.show();
    EXPECT_TRUE(by_time.timer().isSingleShot());
    QMetaObject::invokeMethod(&by_time.timer(), "timeout");
    EXPECT_FALSE(by_time.isVisible());
}

}  // namespace
}  // namespace merkwald::test
