// Timer1 (labels, periodic re-read, day change) and Timer2 ("/unload="),
// driven tick by tick with a manual clock; the command-line words.

#include <gtest/gtest.h>

#include "gui_test_support.h"
#include "shell/main/day_timers.h"

namespace merkwald::test {
namespace {

std::string first_line(const MainWindow& form) {
    const std::string text = GuiFixture::plain(form);
    return text.substr(0, text.find('\n'));
}

TEST(Timer2, UnloadCountsDownInTheCaptionAndEndsInTheFourthTick) {
    GuiFixture f(kToday);
    auto form = f.started("no_logo /unload=3");
    for (int left = 3; left >= 0; --left) {
        EXPECT_EQ(f.ends, 0) << left;
        form->unload_timer().tick();
        EXPECT_EQ(form->windowTitle(),
                  QString("Merkwald - Automatisches Schliessen in %1 Sekunden").arg(left));
    }
    EXPECT_EQ(f.ends, 1);
    EXPECT_EQ(f.stored("Width"), "8430");  // ended like "&Ende": the placement is stored
    // Without a number it ends in the first tick; without the word Timer2 just stops.
    for (const std::string words : {"no_logo /unload=", "no_logo"}) {
        auto other = f.started(words);
        const int ends = f.ends;
        other->unload_timer().tick();
        EXPECT_EQ(f.ends - ends, words.find("unload") != std::string::npos ? 1 : 0) << words;
        EXPECT_FALSE(other->unload_timer().running()) << words;
    }
}

TEST(Timer1, CrossingMidnightRefreshesWithinOneTick) {
    GuiFixture f("<record>\n<date=06.03.1999>\nMorgen\n</record>\n");
    f.clock.set(at(1999, 3, 5, 23, 59, 58));
    auto form = f.started();
    form->day_timer().tick();
    EXPECT_EQ(first_line(*form), "Freitag, 5.3.1999");
    f.clock.advance_seconds(2);
    form->day_timer().tick();
    EXPECT_EQ(first_line(*form), "Samstag, 6.3.1999");
    EXPECT_NE(GuiFixture::plain(*form).find("Morgen"), std::string::npos);
}

TEST(Timer1, AfterASleepTheDayMarkCatchesUpOneDayPerTick) {
    GuiFixture f(kToday);
    auto form = f.started();
    const DaySerial start = form->engine_state().today;
    f.clock.set(at(1999, 3, 8, 12));
    // The re-read is overdue too: it comes first and is all of its tick.
    form->day_timer().tick();
    EXPECT_EQ(form->engine_state().today, start + 3);
    for (int tick = 1; tick <= 3; ++tick) form->day_timer().tick();
    EXPECT_EQ(form->day_timer().schedule().next_day_mark(), start + 4);
    EXPECT_EQ(first_line(*form), "Montag, 8.3.1999");
}

TEST(Timer1, PeriodicRereadBringsBackTheStandbyWindowWithAFreshList) {
    GuiFixture f(kToday);
    f.set("Standby", std::int32_t(1));
    f.set("Intervall", std::string("2"));
    auto form = f.started();
    form->close_button_clicked();
    f.write("main.rmd", "<record>\n<date=05.03.1999>\nNeu gelesen\n</record>\n");
    f.clock.advance_seconds(119);
    form->day_timer().tick();
    EXPECT_TRUE(form->isMinimized());
    f.clock.advance_seconds(1);
    form->day_timer().tick();
    EXPECT_FALSE(form->isMinimized());
    EXPECT_NE(GuiFixture::plain(*form).find("Neu gelesen"), std::string::npos);
}

TEST(Timer1, ModalCommandStopsTimer1AndRefreshesAfterwards) {
    GuiFixture f(kToday);
    auto form = f.started();
    bool running_inside = true;
    form->run_modal_command([&] {
        running_inside = form->day_timer().running();
        f.write("main.rmd", "<record>\n<date=05.03.1999>\nBearbeitet\n</record>\n");
    });
    EXPECT_FALSE(running_inside);
    EXPECT_TRUE(form->day_timer().running());
    EXPECT_NE(GuiFixture::plain(*form).find("Bearbeitet"), std::string::npos);
}

TEST(CommandLine, WordsAreWholeArgumentsWithTheirValues) {
    const auto line = CommandLine::from_arguments(
        {"prog", "/file=/home/a/Meine Termine/concerts.rmd", "/no_logo", "/unload=12.6x"});
    EXPECT_EQ(line.file(), "/home/a/Meine Termine/concerts.rmd");
    EXPECT_FALSE(line.once());  // "concerts" holds the letters, not the word
    EXPECT_TRUE(line.no_logo());
    EXPECT_EQ(line.unload_seconds(), 13);
    EXPECT_EQ(CommandLine("/unload= 5").unload_seconds(), 0);  // the number is another word
}

}  // namespace
}  // namespace merkwald::test
