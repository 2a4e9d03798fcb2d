// The windows' side of the calendar feed, the CalDAV calendar, the range export, the state's legal
// days off in the heading and summer time "automatisch".

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>

#include "event_loop_support.h"
#include "gui_test_support.h"
#include "settings/qt_bridges.h"
#include "shell/calendar/astro_window.h"
#include "shell/calendar/range_window.h"
#include "shell/main/window_followers.h"

namespace merkwald::test {
namespace {

int events_in(const QString& path) { return int(file_bytes(path).count("BEGIN:VEVENT")); }

constexpr char kTwoBirthdays[] =
    "<record>\n<date=05.03.1960>\n<group=Geburtstage>\nAnna\n</record>\n"
    "<record>\n<date=07.03.1970>\n<group=Geburtstage>\nBernd\n</record>\n";

// The feed is written beside the window: a refresh's feed is done when no run is left.
void show_and_feed(MainWindow& form, const WindowFollowers& followers) {
    form.show_data();
    ASSERT_TRUE(wait_until([&followers] { return !followers.feed_busy(); }));
}

// Written after a refresh only while named and not refused, its own earlier
// calendar replaced, also through a link. A refresh that changed none of the files, the settings
// and the day computes nothing; any change of them computes the feed again.
TEST(CalendarFeed, WrittenOnlyWhenNamedAndNotRefusedAndComputedOnlyWhenSomethingChanged) {
    GuiFixture f(kTwoBirthdays);
    const QString feed = f.folder + "/abo.ics";
    auto form = f.started();
    WindowFollowers followers(*form, QStringLiteral("kein Bus"));
    show_and_feed(*form, followers);
    EXPECT_FALSE(QFile::exists(feed));
    // Why a name is refused is the engine's; the window says it once and writes nothing.
    const QByteArray main = file_bytes(f.folder + "/main.rmd");
    form->settings().calendar_feed = "main.rmd";
    show_and_feed(*form, followers);
    show_and_feed(*form, followers);
    ASSERT_EQ(f.dialogs.messages.size(), 1u) << "once, not at every refresh";
    EXPECT_TRUE(f.dialogs.messages[0].text.contains(QStringLiteral("Dateiliste")));
    EXPECT_EQ(file_bytes(f.folder + "/main.rmd"), main);
    form->settings().calendar_feed = feed.toStdString();
    show_and_feed(*form, followers);
    ASSERT_EQ(events_in(feed), 2);  // both birthdays once in the coming 365 days
    const int runs = followers.feed_runs();
    show_and_feed(*form, followers);
    EXPECT_EQ(followers.feed_runs(), runs);
    QFile::remove(feed);
    show_and_feed(*form, followers);
    EXPECT_EQ(events_in(feed), 2) << "a removed feed is written again";
    QFile::link(feed, f.folder + "/link.ics");
    form->settings().calendar_feed = "link.ics";
    show_and_feed(*form, followers);
    EXPECT_EQ(followers.feed_runs(), runs + 2);
    f.write("main.rmd", std::string(kTwoBirthdays) + "<record>\n<date=01.04.1999>\nX\n</record>\n");
    show_and_feed(*form, followers);
    EXPECT_EQ(events_in(feed), 3);
    EXPECT_TRUE(QFileInfo(f.folder + "/link.ics").isSymLink());
    EXPECT_EQ(f.dialogs.messages.size(), 1u);
}

// The window does not wait for the server: the refresh returns while the publish
// runs, whose new resources are written down before they go out. A server that
// does not answer shows no box.
TEST(CalDavCalendar, ARefreshStartsThePublishInTheBackground) {
    GuiFixture f(kTwoBirthdays);
    auto form = f.started();
    WindowFollowers followers(*form, QStringLiteral("kein Bus"));
    qputenv("MERKWALD_CALDAV_PASSWORD", "geheim");
    form->settings().caldav_url = "http://127.0.0.1:1/anna/merkwald/";
    form->settings().caldav_user = "anna";
    form->show_data();
    // The events are computed beside the window, then sent.
    EXPECT_TRUE(followers.feed_busy() || followers.publisher().running());
    EXPECT_TRUE(wait_until(
        [&] { return !followers.feed_busy() && !followers.publisher().running(); }, 30000));
    qunsetenv("MERKWALD_CALDAV_PASSWORD");
    const QStringList states =
        QDir(f.folder).entryList({QStringLiteral("caldav-*.state")}, QDir::Files);
    ASSERT_EQ(states.size(), 1);
    EXPECT_EQ(file_bytes(f.folder + u'/' + states[0]).count("\t2\r\n"), 2);
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST(RangeExport, CalendarTakesAtMost366Days) {
    GuiFixture f(kTwoBirthdays);
    auto form = f.started();
    RangeWindow window({form->settings(), form->engine_state(), "main.rmd", form->services()},
                       QDate(1999, 3, 6));
    window.to_field()->set_date(to_day_serial(QDate(2000, 3, 5)));
    f.dialogs.file_names = {f.folder + "/zeitraum"};
    window.export_range();
    EXPECT_EQ(events_in(f.folder + "/zeitraum.ics"), 2);  // Bernd in 1999, Anna in 2000
    // One day more: said, and the file dialog then offers the list only.
    window.to_field()->set_date(to_day_serial(QDate(2000, 3, 6)));
    f.dialogs.file_names = {f.folder + "/lang.ics", f.folder + "/lang"};
    window.export_range();
    ASSERT_FALSE(f.dialogs.messages.empty());
    EXPECT_TRUE(f.dialogs.messages[0].text.startsWith(
        QStringLiteral("Ein Kalender umfasst höchstens 366 Tage")));
    EXPECT_FALSE(QFile::exists(f.folder + "/lang.ics"));
    window.export_range();
    EXPECT_TRUE(QFile::exists(f.folder + "/lang.txt"));
}

TEST(RangeExport, AFileOfTheListThatCannotBeReadWritesNoCalendarAndIsNamed) {
    GuiFixture f(std::string(kTwoBirthdays) + "<add_file=kaputt.rmd>\n<add_file=gut.rmd>\n");
    // The reader gives up on a number it cannot hold; the file after it reads well.
    f.write("kaputt.rmd", "<record>\n<date=08.03.1980>\n<active_before=99999999999>\n");
    f.write("gut.rmd", "<record>\n<date=09.03.1980>\nGut\n</record>\n");
    auto form = f.started();
    RangeWindow window({form->settings(), form->engine_state(), "main.rmd", form->services()},
                       QDate(1999, 3, 6));
    f.write("alt.ics", "alt\n");
    for (const char* name : {"/neu.ics", "/alt.ics"}) {
        SCOPED_TRACE(name);
        f.dialogs.messages.clear();
        f.dialogs.file_names = {f.folder + name};
        window.export_range();
        ASSERT_FALSE(f.dialogs.messages.empty());
        const ScriptedDialogs::Shown& said = f.dialogs.messages.back();
        EXPECT_TRUE(said.text.contains(QStringLiteral("nicht geschrieben")) &&
                    said.text.contains(f.folder + "/kaputt.rmd"))
            << said.text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(f.folder + "/neu.ics"));
    EXPECT_EQ(file_bytes(f.folder + "/alt.ics"), QByteArray("alt\r\n"));
}

// A first start stores summer time "automatisch", an older store keeps its
// choice; the stored state's legal days off are marked in the heading.
TEST(StoredSettings, SummerTimeAutomaticOnAFirstStartAndTheStatesDaysOff) {
    for (const bool first : {true, false}) {
        SCOPED_TRACE(first);
        GuiFixture f("");
        f.clock.set(at(2026, 3, 8));
        f.set("Bundesland", std::string("BE"));
        if (!first) f.set("Version", std::int32_t(10512));
        auto form = f.started();
        EXPECT_EQ(form->settings().daylight_saving_auto, first);
        EXPECT_EQ(f.stored("Daylight Saving Time Auto").has_value(), first);
        EXPECT_NE(GuiFixture::plain(*form).find("Frauentag (gesetzlicher Feiertag)"),
                  std::string::npos);
    }
}

// The tests run with the zone Europe/Berlin; the change happens at night, noon counts.
TEST(SummerTimeAutomatic, TheZoneDecidesForEachDate) {
    GuiFixture f;
    f.clock.set(at(2026, 7, 1));
    Settings settings = default_settings(f.folder);
    settings.daylight_saving_auto = true;
    SunTable automatic, manual;
    sun_times_home(to_engine_settings(settings).home, *make_date(2026, 7, 1), automatic);
    settings.daylight_saving_auto = settings.daylight_saving = false;
    sun_times_home(to_engine_settings(settings).home, *make_date(2026, 7, 1), manual);
    EXPECT_EQ(automatic.rising[0] - manual.rising[0], 60);
    settings.daylight_saving_auto = true;
    AstronomyWindow window(settings, f.folder, Services{f.clock, f.dialogs, f.sound});
    EXPECT_TRUE(window.summer_time_box()->isChecked());
    window.date_edit()->setText(QStringLiteral("01.01.2026"));
    EXPECT_FALSE(window.summer_time_box()->isChecked());
}

}  // namespace
}  // namespace merkwald::test
