// The life of both programs' window: the start with its command-line words,
// the splash, the what-is-new and missed-events windows; the placement in twips,
// stored by every way out, applied by the next start and pulled onto a screen;
// Timer1 (periodic re-read, day change) and Timer2 ("/unload="), driven tick by
// tick with a manual clock.

#include <gtest/gtest.h>

#include <QAction>

#include "gui_test_support.h"
#include "shell/tray/tray.h"
#include "shell/widgets/window_placement.h"

namespace merkwald::test {
namespace {

QStringList kinds(const GuiFixture& f) {
    QStringList out;
    for (const ShownWindow& w : f.shown) out << w.kind;
    return out;
}

// A start with nothing to show ends: "/once" on the second start of a day
// (leaving the store as it was), "no_events" while nothing is due.
TEST(Start, OnceAndNoEventsEndWhenThereIsNothingToShow) {
    GuiFixture f(kToday);
    f.set("Version", std::int32_t(1512));
    f.started("/once /no_logo")->close();
    const QByteArray store_before = file_bytes(f.store.path());
    f.clock.set(at(1999, 3, 5, 18));
    EXPECT_FALSE(f.window("/once /no_logo")->start());
    EXPECT_EQ(f.ends, 2);
    EXPECT_EQ(file_bytes(f.store.path()), store_before);
    EXPECT_TRUE(f.window("no_logo no_events")->start()) << "an event is due";
    f.write("main.rmd", "<record>\n<date=01.06.1999>\nSpaeter\n</record>\n");
    EXPECT_FALSE(f.window("no_logo no_events")->start());
    EXPECT_EQ(f.ends, 3);
}

// The first write of a start is the last start date: a store with a line Qt
// cannot read is kept before it, and the window says so once.
TEST(Start, ADamagedStoreIsKeptBeforeTheFirstWriteAndTheWindowSaysSo) {
    GuiFixture f(kToday);
    const QByteArray damaged = "DataFilename=main.rmd\n[broken\nVersion=10512\n";
    write_file(f.store.path(), damaged);
    auto form = f.started();
    form->close();
    EXPECT_EQ(file_bytes(f.store.path() + ".defekt"), damaged);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_TRUE(f.dialogs.messages[0].text.contains(f.store.path() + ".defekt"));
    EXPECT_NE(GuiFixture::plain(*form).find("Heute"), std::string::npos)
        << "the data file named before the broken line is read";
}

// The splash, then what is new when the stored version is missing or older.
TEST(Start, FullProgramShowsSplashThenWhatIsNewOnAVersionChange) {
    for (const std::int32_t version : {0, 1511, 1512, 2000}) {
        GuiFixture f(kToday);
        f.write("neues.txt", "Erste Zeile\nZweite Zeile");
        if (version) f.set("Version", version);
        f.started("");
        const QStringList shown =
            version < 1512 ? QStringList{"Intro", "FirstStart"} : QStringList{"Intro"};
        EXPECT_EQ(kinds(f), shown) << version;
        EXPECT_EQ(f.stored("Version"), "1512") << version;
        if (version != 0) continue;
        EXPECT_EQ(f.shown[1].text, "Erste Zeile\nZweite Zeile\n");
    }
}

TEST(Start, MissedWindowListsTheDaysSinceTheLastStartWhileTheSettingIsOn) {
    for (const bool on : {true, false}) {
        GuiFixture f(
            "<record>\n<date=03.03.1960>\nDritter\n</record>\n"
            "<record>\n<date=02.03.1960>\nZweiter\n</record>\n");
        f.set("Date", std::string("28.02.99"));
        f.set("MissedEvents", std::int32_t(on));
        f.set("Version", std::int32_t(1512));
        f.started();
        ASSERT_EQ(kinds(f), on ? QStringList{"DisplayMissed"} : QStringList{}) << on;
        if (!on) continue;
        // Every entry indented alike, by the margin.
        EXPECT_EQ(f.shown[0].text, "02.03.1999: Zweiter\n03.03.1999: Dritter\n");
    }
}

// left, top, width, height
using Twips = std::array<std::int32_t, 4>;

Twips twips_of(const MainWindow& form) {
    const Placement p = current_geometry(form, StoredWindowState::normal);
    return {p.left.value_or(-1), p.top.value_or(-1), p.width, p.height};
}

void place(MainWindow& form, const Twips& t) {
    apply_geometry(form, Placement{StoredWindowState::normal, t[0], t[1], t[2], t[3]});
}

// The tray's exit, the title bar's × and "Ende" after standby store the placement,
// in each program's own values, and the next start applies it.
TEST(Placement, EveryWayOutStoresThePlacement) {
    GuiFixture f(kToday);
    f.set("Standby", std::int32_t(1));
    auto light = f.started("", ProgramKind::light);
    EXPECT_TRUE(f.shown.empty()) << "the light program shows no splash";
    place(*light, {300, 450, 6000, 4500});
    light->tray().end_action()->trigger();
    EXPECT_EQ(f.stored("LightLeft"), "300");
    EXPECT_EQ(twips_of(*f.started("", ProgramKind::light)), (Twips{300, 450, 6000, 4500}));
    f.started()->close();
    EXPECT_EQ(f.stored("Width"), "8430");
    auto form = f.started();
    place(*form, {0, 0, 9000, 7200});
    form->standby();
    form->exit_program();
    EXPECT_EQ(f.ends, 3);
    // Minimised for standby counts as the normal state.
    EXPECT_EQ(f.stored("WindowState"), "0");
    EXPECT_EQ(twips_of(*f.started()), (Twips{0, 0, 9000, 7200})) << "the next start applies it";
}

TEST(Placement, AStoredPositionIsPulledOntoAScreen) {
    const QList<QRect> one{QRect(0, 0, 1920, 1080)};
    const QList<QRect> two{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const struct {
        const char* name;
        QRect frame;
        QList<QRect> areas;
        QPoint expected;
    } rows[] = {
        {"on the second screen", {2500, 100, 600, 400}, two, {2500, 100}},
        {"that screen is gone", {2500, 100, 600, 400}, one, {1320, 100}},
        {"a grip of the title stays", {-550, 100, 600, 400}, one, {-550, 100}},
        {"too little to grab", {-560, 100, 600, 400}, one, {0, 100}},
        {"title bar above the screen", {100, -50, 600, 400}, one, {100, 0}},
        {"no screen known", {100, 100, 600, 400}, {}, {100, 100}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(pulled_onto(row.frame, row.areas), row.expected) << row.name;
}

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
    // Without the word Timer2 just stops.
    auto other = f.started();
    other->unload_timer().tick();
    EXPECT_EQ(f.ends, 1);
    EXPECT_FALSE(other->unload_timer().running());
}

// Crossing midnight refreshes within one tick; after a sleep the overdue re-read
// comes first and is all of its tick, then the day mark catches up one day per tick.
TEST(Timer1, CrossingMidnightRefreshesWithinOneTickAndASleepCatchesUp) {
    GuiFixture f("<record>\n<date=06.03.1999>\nMorgen\n</record>\n");
    f.clock.set(at(1999, 3, 5, 23, 59, 58));
    auto form = f.started();
    form->day_timer().tick();
    EXPECT_EQ(first_line(*form), "Freitag, 5.3.1999");
    f.clock.advance_seconds(2);
    form->day_timer().tick();
    EXPECT_EQ(GuiFixture::plain(*form).substr(0, 26), "Samstag, 6.3.1999\n\nMorgen\n");
    const DaySerial start = form->engine_state().today;
    f.clock.set(at(1999, 3, 9, 12));
    form->day_timer().tick();
    EXPECT_EQ(form->engine_state().today, start + 3);
    for (int tick = 1; tick <= 3; ++tick) form->day_timer().tick();
    EXPECT_EQ(form->day_timer().schedule().next_day_mark(), start + 4);
    EXPECT_EQ(first_line(*form), "Dienstag, 9.3.1999");
}

TEST(Timer1, ModalCommandAndPeriodicRereadRefreshTheRereadBringsBackTheStandbyWindow) {
    GuiFixture f(kToday);
    f.set("Standby", std::int32_t(1));
    f.set("Intervall", std::string("2"));
    auto form = f.started();
    // A modal command refreshes after it (whether Timer1 pauses meanwhile the menus show).
    form->run_modal_command(
        [&f] { f.write("main.rmd", "<record>\n<date=05.03.1999>\nBearbeitet\n</record>\n"); });
    EXPECT_NE(GuiFixture::plain(*form).find("Bearbeitet"), std::string::npos);
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

}  // namespace
}  // namespace merkwald::test
