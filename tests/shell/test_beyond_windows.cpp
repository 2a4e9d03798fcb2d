// The windows' side of the calendar feed, the range export, the state's days off,
// summer time "automatisch" and "Dateien prüfen".

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "engine/range.h"
#include "gui_test_support.h"
#include "shell/astro_window.h"
#include "shell/feast_windows.h"
#include "shell/file_check_window.h"
#include "shell/main_menus.h"
#include "shell/range_window.h"
#include "shell/window_followers.h"

namespace merkwald::test {
namespace {

std::string file_text(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

int count_of(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

constexpr char kTwoBirthdays[] =
    "<record>\n<date=05.03.1960>\n<group=Geburtstage>\nAnna\n</record>\n"
    "<record>\n<date=07.03.1970>\n<group=Geburtstage>\nBernd\n</record>\n";

TEST(CalendarFeed, RewrittenAfterEveryRefreshOnlyWhenNamed) {
    GuiFixture f(kTwoBirthdays);
    const QString feed = f.folder + "/abo.ics";
    auto form = f.started();
    WindowFollowers followers(*form, QDBusConnection(QStringLiteral("kein Bus")));
    form->show_data();
    EXPECT_FALSE(QFile::exists(feed));

    form->settings().calendar_feed = feed.toStdString();
    form->show_data();
    const std::string first = file_text(feed);
    // Both birthdays once in the coming 365 days.
    EXPECT_EQ(count_of(first, "BEGIN:VEVENT"), 2);
    EXPECT_NE(first.find("DTSTART;VALUE=DATE:19990307"), std::string::npos);

    f.write("main.rmd", std::string(kTwoBirthdays) +
                            "<record>\n<date=01.04.1999>\n<active=once>\nFrist\n</record>\n");
    form->show_data();
    EXPECT_EQ(count_of(file_text(feed), "BEGIN:VEVENT"), 3);
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST(CalendarFeed, AFeedThatCannotBeWrittenIsReportedOnce) {
    GuiFixture f(kTwoBirthdays);
    auto form = f.started();
    WindowFollowers followers(*form, QDBusConnection(QStringLiteral("kein Bus")));
    form->settings().calendar_feed = (f.folder + "/fehlt/abo.ics").toStdString();
    form->show_data();
    form->show_data();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_TRUE(f.dialogs.messages[0].text.startsWith(QStringLiteral("Das Kalender-Abo")));
}

TEST(RangeExport, CalendarHoldsEveryDayOfTheRange) {
    GuiFixture f(kTwoBirthdays);
    auto form = f.started();
    RangeWindow window({form->settings(), form->engine_state(), "main.rmd", form->services()},
                       QDate(1999, 3, 1));
    // 366 days, the most a calendar takes: Bernd in 1999, Anna in 2000.
    window.from_field()->setDate(QDate(1999, 3, 6));
    window.to_field()->setDate(QDate(2000, 3, 5));
    const QString file = f.folder + "/zeitraum";
    f.dialogs.file_names = {file};
    window.export_range();
    const std::string text = file_text(file + ".ics");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(count_of(text, "BEGIN:VEVENT"), 2);
    EXPECT_NE(text.find("DTSTART;VALUE=DATE:19990307"), std::string::npos);
    EXPECT_NE(text.find("DTSTART;VALUE=DATE:20000305"), std::string::npos);

    // Beyond that the calendar is refused; the list export still works.
    window.to_field()->setDate(QDate(2000, 3, 6));
    f.dialogs.file_names = {f.folder + "/lang.ics", f.folder + "/liste.txt"};
    window.export_range();
    EXPECT_FALSE(QFile::exists(f.folder + "/lang.ics"));
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    window.export_range();
    EXPECT_NE(file_text(f.folder + "/liste.txt").find("Anna"), std::string::npos);
}

TEST(StateDaysOff, HolidayWindowListsThemForTheYearField) {
    test::gui_application();
    HolidayListWindow window(2026);
    EXPECT_EQ(window.state_list(), nullptr);
    window.show_state_days(State::BE);
    ASSERT_NE(window.state_list(), nullptr);
    const auto women_days = [&window] {
        return window.state_list()
            ->findItems(QStringLiteral("Frauentag"), Qt::MatchContains)
            .size();
    };
    EXPECT_EQ(women_days(), 1);
    window.year_edit()->setText(QStringLiteral("2018"));
    EXPECT_EQ(women_days(), 0);
    window.year_edit()->setText(QStringLiteral("abc"));
    EXPECT_EQ(window.state_list()->count(), 0);
}

TEST(StateDaysOff, HeadingMarksALegalDayOffOfTheChosenState) {
    GuiFixture f;
    f.clock.set(at(2026, 3, 8));
    f.write("main.rmd", "");
    f.set("Bundesland", std::string("BE"));
    auto form = f.started();
    const std::string list = GuiFixture::plain(*form);
    EXPECT_EQ(list.rfind("Sonntag, 8.3.2026, ", 0), 0u) << list;
    EXPECT_NE(list.find("Frauentag (gesetzlicher Feiertag)"), std::string::npos) << list;
    form->settings().state = "BY";
    form->show_data();
    EXPECT_EQ(GuiFixture::plain(*form).find("gesetzlicher"), std::string::npos);
}

TEST(SummerTimeStart, FirstStartStoresAutomaticAnOlderStoreKeepsItsChoice) {
    {
        GuiFixture f("");
        auto form = f.started();
        EXPECT_EQ(f.stored("Daylight Saving Time Auto"), "1");
        EXPECT_TRUE(form->settings().daylight_saving_auto);
    }
    GuiFixture f("");
    f.set("Version", std::int32_t(10512));
    auto form = f.started();
    EXPECT_EQ(f.stored("Daylight Saving Time Auto"), std::nullopt);
    EXPECT_FALSE(form->settings().daylight_saving_auto);
}

// The tests run with the zone Europe/Berlin.
TEST(SummerTimeStart, AstronomyWindowFollowsTheZoneForEachDateWhenAutomatic) {
    GuiFixture f;
    f.clock.set(at(2026, 7, 1));
    Settings settings = default_settings(f.folder);
    settings.daylight_saving_auto = true;
    AstronomyWindow window(settings, f.folder, Services{f.clock, f.dialogs, f.sound});
    EXPECT_TRUE(window.summer_time_box()->isChecked());
    window.date_edit()->setText(QStringLiteral("01.01.2026"));
    EXPECT_FALSE(window.summer_time_box()->isChecked());
    window.date_edit()->setText(QStringLiteral("01.07.2026"));
    EXPECT_TRUE(window.summer_time_box()->isChecked());

    settings.daylight_saving_auto = false;  // the manual choice stays as it is
    AstronomyWindow manual(settings, f.folder, Services{f.clock, f.dialogs, f.sound});
    EXPECT_FALSE(manual.summer_time_box()->isChecked());
    manual.date_edit()->setText(QStringLiteral("01.07.2025"));
    EXPECT_FALSE(manual.summer_time_box()->isChecked());
}

TEST(FileCheck, ToolsMenuShowsTheReport) {
    GuiFixture f("<record>\n<date=31.02.1999>\nKaputt\n</record>\n</record>\n");
    auto form = f.started();
    QString report;
    MenuHooks hooks;
    hooks.run_modal = [&report](QDialog& dialog) {
        if (auto* window = dynamic_cast<FileCheckWindow*>(&dialog))
            report = window->report()->toPlainText();
    };
    hooks.autostart = std::make_unique<MemoryAutostart>();
    auto* menus = new MainMenus(*form, EditorCommands{}, f.version, std::move(hooks));
    QAction* item = menus->menu_action(QStringLiteral("check_files"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    const QStringList lines = report.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << report.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("main.rmd:2: "))) << report.toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("main.rmd:5: "))) << report.toStdString();

    f.write("main.rmd", "<record>\n<date=05.03.1999>\nGut\n</record>\n");
    item->trigger();
    EXPECT_EQ(report, QStringLiteral("Keine Probleme gefunden."));
}

}  // namespace
}  // namespace merkwald::test
