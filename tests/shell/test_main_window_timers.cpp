// Timer1 (labels, moon, periodic re-read, day change) and Timer2 ("/unload="),
// driven tick by tick with a manual clock.

#include <gtest/gtest.h>

#include "calendar/moon.h"
#include "engine/list_view.h"
#include "gui_test_support.h"
#include "shell/day_timers.h"
#include "shell/moon_picture.h"

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
}

// Without a number it ends in the first tick; without the word Timer2 just stops.
TEST(Timer2, UnloadWithoutANumberEndsInTheFirstTick) {
    for (const std::string words :
         {"no_logo /unload=0", "no_logo /unload=", "/unload=x no_logo", "no_logo /file=u.rmd"}) {
        GuiFixture f(kToday);
        f.write("u.rmd", kToday);
        auto form = f.started(words);
        form->unload_timer().tick();
        const bool unload = words.find("unload") != std::string::npos;
        EXPECT_EQ(f.ends, unload ? 1 : 0) << words;
        EXPECT_FALSE(form->unload_timer().running()) << words;
        if (!unload) {
            EXPECT_EQ(form->windowTitle(), "Merkwald - Version 1.5.12");
        }
    }
}

TEST(Timer2, LightProgramWithStandbyHidesInsteadOfEnding) {
    GuiFixture f(kToday);
    f.set("Standby", std::int32_t(1));
    auto form = f.started("/unload=1", ProgramKind::light);
    form->unload_timer().tick();
    EXPECT_EQ(form->windowTitle(), "Merkwald light -  1 Sekunden bis zum schließen");
    form->unload_timer().tick();
    EXPECT_EQ(f.ends, 0);
    // No notification area offscreen: standby minimises, so the window can come back.
    EXPECT_TRUE(form->isMinimized());
    EXPECT_FALSE(form->unload_timer().running());
    EXPECT_EQ(form->windowTitle(), "Merkwald light - Version 1.5.12");
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
    EXPECT_EQ(form->engine_state().today, *make_date(1999, 3, 6));
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
    EXPECT_EQ(form->day_timer().schedule().next_day_mark(), start + 1);
    for (int tick = 1; tick <= 3; ++tick) {
        form->day_timer().tick();
        EXPECT_EQ(form->day_timer().schedule().next_day_mark(), start + 1 + tick) << tick;
    }
    form->day_timer().tick();
    EXPECT_EQ(form->day_timer().schedule().next_day_mark(), start + 4);
    EXPECT_EQ(first_line(*form), "Montag, 8.3.1999");
}

TEST(Timer1, PeriodicRereadBringsBackTheStandbyWindowWithAFreshList) {
    GuiFixture f(kToday);
    f.set("Standby", std::int32_t(1));
    f.set("Intervall", std::string("2"));
    auto form = f.started();
    EXPECT_EQ(form->close_button().text(), "Stand By");
    form->close_button_clicked();
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(f.ends, 0);
    f.write("main.rmd", "<record>\n<date=05.03.1999>\nNeu gelesen\n</record>\n");
    f.clock.advance_seconds(119);
    form->day_timer().tick();
    EXPECT_TRUE(form->isMinimized());
    f.clock.advance_seconds(1);
    form->day_timer().tick();
    EXPECT_FALSE(form->isMinimized());
    EXPECT_NE(GuiFixture::plain(*form).find("Neu gelesen"), std::string::npos);
}

TEST(Timer1, LabelsShowClockDayWeekQuarterAndTheMoon) {
    GuiFixture f(kToday);
    f.clock.set(at(2021, 1, 3, 7, 5, 9));
    auto form = f.started();
    form->day_timer().tick();
    // ISO weeks: 3 January 2021 is in 2020's last week.
    EXPECT_EQ((QStringList{"main.rmd", "7:05:09", "3. Tag", "53. Woche", "1. Quartal"}),
              (QStringList{form->file_label()->text(), form->clock_label()->text(),
                           form->day_of_year_label()->text(), form->week_label()->text(),
                           form->quarter_label()->text()}));
    const MoonPhase moon = moon_phase(*make_date(2021, 1, 3), 7 * 3600 + 5 * 60 + 9, 1, false);
    EXPECT_EQ(form->moon_picture()->index(), moon_picture_index(moon.age));
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

TEST(RefreshSchedule, IntervalBelowOneMinuteCountsAsOne) {
    RefreshSchedule schedule;
    const QDateTime now = at(1999, 3, 5);
    schedule.start(now, 0, *make_date(1999, 3, 5));
    EXPECT_EQ(schedule.tick(now.addSecs(59)), RefreshSchedule::Due::nothing);
    EXPECT_EQ(schedule.tick(now.addSecs(60)), RefreshSchedule::Due::reread);
}

TEST(MoonPicture, PicturesRunFromNewToFullAndBack) {
    EXPECT_EQ(lit_fraction(1), 0.0);
    EXPECT_NEAR(lit_fraction(15), 1.0, 1e-9);
    for (int i = 2; i <= 15; ++i) EXPECT_GT(lit_fraction(i), lit_fraction(i - 1)) << i;
    const auto bright_pixels = [](int index) {
        const QImage image = draw_moon(index, 40);
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) n += qGray(image.pixel(x, y)) > 150;
        return n;
    };
    EXPECT_EQ(bright_pixels(1), 0);
    EXPECT_GT(bright_pixels(15), 1000);
    // Waxing lights the right half, waning the left.
    const QImage waxing = draw_moon(8, 40), waning = draw_moon(22, 40);
    EXPECT_GT(qGray(waxing.pixel(30, 20)), 150);
    EXPECT_LT(qGray(waxing.pixel(9, 20)), 150);
    EXPECT_GT(qGray(waning.pixel(9, 20)), 150);
}

TEST(CommandLine, WordsAndTheirValues) {
    const CommandLine line("/once /file=C:daten.rmd no_logo /unload=12.6x");
    EXPECT_EQ(
        std::tuple(std::optional<std::string>("C:daten.rmd"), std::optional<int>(13), true, false),
        std::tuple(line.file(), line.unload_seconds(), line.no_logo(), line.no_events()));
    EXPECT_EQ(CommandLine("/file=").file(), "");
    EXPECT_EQ(CommandLine("/unload= 5").unload_seconds(), 0);  // the number is another word
    EXPECT_EQ(CommandLine("unload").unload_seconds(), std::nullopt);
    EXPECT_EQ(CommandLine::from_arguments({"prog", "/once", "no_logo"}).text(), "/once no_logo");
}

TEST(CommandLine, WordsAreWholeArguments) {
    const auto line = CommandLine::from_arguments(
        {"prog", "/file=/home/a/Meine Termine/concerts.rmd", "/no_logo", "x/unload=3"});
    EXPECT_EQ(line.file(), "/home/a/Meine Termine/concerts.rmd");
    EXPECT_FALSE(line.once());  // "concerts" holds the letters, not the word
    EXPECT_TRUE(line.no_logo());
    EXPECT_EQ(line.unload_seconds(), std::nullopt);
    EXPECT_TRUE(CommandLine::from_arguments({"prog", "once"}).once());
    EXPECT_FALSE(CommandLine::from_arguments({"prog", "/file=no_events"}).no_events());
}

}  // namespace
}  // namespace merkwald::test
