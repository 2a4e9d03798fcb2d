// OptionsDialog: what it shows, what OK hands back for the store and "Abbrechen"
// leaves alone, its number fields, and the log-on entry.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "../support/keyboard_walk.h"
#include "gui_test_support.h"
#include "settings/qt_bridges.h"
#include "shell/options/options_dialog.h"
#include "shell/options/options_general.h"
#include "shell/start/autostart_xdg.h"

namespace merkwald::test {
namespace {

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest() {
        fixture.copy_shipped(QStringLiteral("orte.dat"));
        settings = default_settings(fixture.folder);
    }
    std::unique_ptr<OptionsDialog> open() {
        return std::make_unique<OptionsDialog>(
            OptionsInput{settings, autostart.current(), fixture.folder,
                         Services{fixture.clock, fixture.dialogs, fixture.sound}, QFont(),
                         list_files, fixture.store.path()});
    }
    static GeneralOptionsPage& general(OptionsDialog& dialog) {
        return *dialog.findChild<GeneralOptionsPage*>(QStringLiteral("allgemein"));
    }
    // "OK", then what the caller does with the result.
    void ok(OptionsDialog& dialog) {
        dialog.ok_button()->click();
        if (dialog.result() == QDialog::Accepted)
            store_options(fixture.store.store(), dialog.chosen_settings(),
                          dialog.chosen_autostart(), &autostart);
    }
    GuiFixture fixture;
    Settings settings;
    MemoryAutostart autostart;
    std::vector<std::filesystem::path> list_files;
};

// The dialog shows what it opened with and gives it back unchanged (the groups);
// what was chosen is stored, the CalDAV address trimmed and the fingerprint normalised.
TEST_F(OptionsDialogTest, OkStoresWhatTheControlsShow) {
    settings.groups = false;
    auto dialog = open();
    EXPECT_TRUE(dialog->misc().groups_off_box->isChecked()) << "the box asks for no groups";
    fixture.dialogs.file_names = {"/daten/termine.rmd"};
    dialog->files().data_file_button->click();
    fixture.dialogs.colors = {QColor(255, 0, 0)};
    dialog->misc().text_colour_button->click();
    fixture.dialogs.fonts = {QFont(QStringLiteral("DejaVu Serif"))};
    dialog->misc().font_button->click();
    const int munich = dialog->astronomy().place_combo->findText(QStringLiteral("München"));
    dialog->astronomy().place_combo->setCurrentIndex(munich);
    dialog->choose_place(munich + 1);
    dialog->misc().interval_edit->setText(QStringLiteral("30.9"));
    GeneralOptionsPage& page = general(*dialog);
    page.digest_box()->setChecked(false);
    page.state_combo()->setCurrentIndex(page.state_combo()->findData(QStringLiteral("NW")));
    page.feed_edit()->setText(u' ' + fixture.folder + QStringLiteral("/abo "));
    page.caldav_url_edit()->setText(QStringLiteral(" https://dav.example/anna/merkwald/ "));
    page.caldav_user_edit()->setText(QStringLiteral("anna"));
    page.caldav_fingerprint_edit()->setText(QStringLiteral("sha256:") + QString(u'a').repeated(64));
    dialog->findChild<QCheckBox*>(QStringLiteral("CheckSommerAuto"))->setChecked(true);
    auto* name_days = dialog->findChild<QComboBox*>(QStringLiteral("ComboNameDays"));
    name_days->setCurrentIndex(name_days->findText(QStringLiteral("alle")));
    ok(*dialog);

    std::string stored;
    for (const char* name :
         {"DataFilename", "RecordColor", "FontName", "Groups", "location", "latitude-degree",
          "longitude-minute", "Intervall", "DigestNotification", "Bundesland", "CalendarFeed",
          "Daylight Saving Time Auto", "Namenstage", "CalDAVAdresse", "CalDAVBenutzer",
          "CalDAVFingerabdruck"})
        stored += fixture.stored(name).value_or("-") + '|';
    EXPECT_EQ(stored, "/daten/termine.rmd|255|DejaVu Serif|false|München|48|35|30|0|NW|" +
                          fixture.folder.toStdString() +
                          "/abo.ics|1|alle|https://dav.example/anna/merkwald/|anna|" +
                          QStringList(32, QStringLiteral("AA")).join(u':').toStdString() + '|');
}

// "Passwort..." needs an address and a user first, then asks without echo;
// cancelled, nothing goes to the keychain.
TEST_F(OptionsDialogTest, ThePasswordButtonAsksOnlyForACompleteAccount) {
    auto dialog = open();
    GeneralOptionsPage& page = general(*dialog);
    QPushButton* button = nullptr;
    for (QPushButton* b : page.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("&Passwort...")) button = b;
    ASSERT_NE(nullptr, button);
    fixture.dialogs.passwords = {QString()};
    page.caldav_url_edit()->setText(QStringLiteral("https://dav.example/anna/merkwald/"));
    button->click();
    ASSERT_EQ(1u, fixture.dialogs.messages.size()) << "no user: told, not asked";
    EXPECT_EQ(1u, fixture.dialogs.passwords.size());
    page.caldav_user_edit()->setText(QStringLiteral("anna"));
    button->click();
    EXPECT_TRUE(fixture.dialogs.passwords.empty()) << "asked for the password";
    EXPECT_EQ(1u, fixture.dialogs.messages.size());
}

// Why a file is refused is the engine's; the page hands it the file list, the
// store and the program folder. What it takes the OK test shows.
TEST_F(OptionsDialogTest, CalendarFeedRefusesAFileItMustNotWriteAndSaysWhy) {
    fixture.write("main.rmd", "<record>\n");
    fixture.store.store().create_key(kMainKey, kKeyClass);
    list_files = {to_path(fixture.folder + "/main.rmd")};
    const std::pair<QString, const char*> rows[] = {
        {QStringLiteral("main.rmd"), "Dateiliste"},
        {fixture.folder + "/./main.rmd", "Dateiliste"},
        {fixture.store.path(), "Einstellungsdatei"},
        {QStringLiteral("texte.dat"), "Programmordner"},
    };
    for (const auto& [feed, why] : rows) {
        SCOPED_TRACE(feed.toStdString());
        fixture.dialogs.messages.clear();
        auto dialog = open();
        general(*dialog).feed_edit()->setText(feed);
        dialog->ok_button()->click();
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
        EXPECT_TRUE(fixture.dialogs.messages[0].text.contains(QString::fromUtf8(why)))
            << fixture.dialogs.messages[0].text.toStdString();
    }
}

// Tab reads each page like text (a field, then its "..." button); Return
// presses OK, also right after the font dialog was opened from its button.
TEST_F(OptionsDialogTest, TabReachesAndReadsEveryPageAndReturnStaysOk) {
    auto dialog = open();
    activate(*dialog, dialog->files().data_file_edit);
    EXPECT_EQ(tab_walk(4), QStringList({"Text1", "Command2", "Text2", "Command3"}));
    // Every page, from the tab bar, the way a keyboard user comes to a page: Tab
    // reaches every control, and a screen reader can name each.
    for (int page = 0; page < dialog->tab_strip()->count(); ++page) {
        SCOPED_TRACE(dialog->tab_strip()->tabText(page).toStdString());
        dialog->tab_strip()->setCurrentIndex(page);
        expect_keyboard_walk(*dialog, dialog->tab_strip()->tabBar(), nullptr, "OK", false);
    }
    dialog->tab_strip()->setCurrentIndex(3);
    activate(*dialog, dialog->misc().font_button);
    fixture.dialogs.fonts = {QFont(QStringLiteral("DejaVu Serif"))};
    dialog->misc().font_button->click();
    press(Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->chosen_settings().font_name, "DejaVu Serif");
}

TEST(IntervalField, WholeMinutesAndSixtyForWhatIsNoneOrBeyond) {
    for (const auto& [text, minutes] : std::vector<std::pair<QString, std::int32_t>>{
             {"0.9", 60}, {"abc", 60}, {"1", 1}, {"15 Minuten", 15}, {"99999999999", 60}})
        EXPECT_EQ(interval_of_field(text), minutes) << text.toStdString();
}

TEST_F(OptionsDialogTest, AutostartFollowsItsBoxesOnOkAndStartOnceWaitsForIt) {
    for (const auto& [on, once] : {std::pair{true, true}, {true, false}, {false, true}}) {
        auto dialog = open();
        dialog->misc().autostart_box->setChecked(on);
        dialog->misc().start_once_box->setChecked(once);
        EXPECT_EQ(dialog->misc().start_once_box->isEnabled(), on) << on << once;
        ok(*dialog);
        const AutostartChoice chosen = on ? AutostartChoice{true, once} : AutostartChoice{};
        EXPECT_EQ(autostart.state, chosen) << on << once;
    }
}

TEST(XdgAutostartEntry, PresentExactlyWhileOnWithItsExecLineWhole) {
    QTemporaryDir config;
    XdgAutostart entry(QStringLiteral("/opt/neu\nzeile/100%/merk wald"), config.path() + "/a");
    ASSERT_TRUE(entry.apply({true, true}));
    const QByteArray text = file_bytes(entry.entry_path());
    EXPECT_TRUE(text.contains("\nExec=\"/opt/neu\\nzeile/100%%/merk wald\" /once /no_logo\n"))
        << text.toStdString();
    EXPECT_EQ(entry.current(), (AutostartChoice{true, true}));
    ASSERT_TRUE(entry.apply({false, true}));
    EXPECT_EQ(entry.current(), AutostartChoice{});
    EXPECT_TRUE(entry.apply({false, false})) << "already absent";
    EXPECT_EQ(desktop_exec_line(QStringLiteral("/a\"b$c`d\\e%f"), false),
              QStringLiteral("\"/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f\" /no_logo"));
    // Other control characters have no escape in a desktop entry.
    XdgAutostart unfit(QStringLiteral("/opt/a\x01b/merkwald"), config.path() + "/b");
    EXPECT_FALSE(unfit.apply({true, false}));
    EXPECT_FALSE(QFile::exists(unfit.entry_path()));
}

}  // namespace
}  // namespace merkwald::test
