// OptionsDialog: what it shows, what its boxes hand over at once, what OK hands
// back for the store and "Abbrechen" leaves alone, and the log-on entry.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <map>

#include "gui_test_support.h"
#include "shell/autostart_xdg.h"
#include "shell/options_dialog.h"
#include "shell/options_general.h"

namespace merkwald::test {
namespace {

// What OK stores after every control was changed, in the store's own styles.
const std::map<std::string, std::string> kEveryValue = {{"DataFilename", "/daten/termine.rmd"},
                                                        {"EditorFilename", "kate"},
                                                        {"TextFilename", "/daten/bausteine.dat"},
                                                        {"RecordColor", "255"},
                                                        {"BackgroundColor", "8388608"},
                                                        {"SupressSpace", "true"},
                                                        {"Groups", "false"},
                                                        {"location", "München"},
                                                        {"latitude-degree", "48"},
                                                        {"latitude-minute", "8"},
                                                        {"latitude-second", "0"},
                                                        {"latitude-direction", "N"},
                                                        {"longitude-degree", "11"},
                                                        {"longitude-minute", "35"},
                                                        {"longitude-second", "0"},
                                                        {"longitude-direction", "O"},
                                                        {"Diff to GMT", "1"},
                                                        {"Daylight Saving Time", "1"},
                                                        {"NN", " 519"},
                                                        {"FontName", "DejaVu Serif"},
                                                        {"FontSize", "13"},
                                                        {"FontItalic", "false"},
                                                        {"FontBold", "true"},
                                                        {"PlaySound", "1"},
                                                        {"SoundFile", "/daten/gong.wav"},
                                                        {"MissedEvents", "1"},
                                                        {"Intervall", "30"},
                                                        {"Standby", "1"}};

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest() {
        gui_application();
        QFile::copy(QStringLiteral(MERKWALD_SOURCE_DIR "/data/orte.dat"),
                    fixture.folder + "/orte.dat");
        settings = default_settings(fixture.folder);
    }
    std::unique_ptr<OptionsDialog> open() {
        auto dialog = std::make_unique<OptionsDialog>(
            OptionsInput{settings, autostart.current(), fixture.folder,
                         Services{fixture.clock, fixture.dialogs, fixture.sound}, QFont()});
        // As the main window takes them: the settings, and standby with its caption.
        dialog->set_change_handler([this](const Settings& changed) {
            if (changed.standby != settings.standby) standby_calls.push_back(changed.standby);
            settings = changed;
        });
        return dialog;
    }
    // "OK", then what the caller does with the result.
    void ok(OptionsDialog& dialog) {
        dialog.ok_button()->click();
        if (dialog.result() == QDialog::Accepted)
            store_options(fixture.store.store(), dialog.chosen_settings(),
                          dialog.chosen_autostart(), &autostart);
    }
    std::map<std::string, std::string> stored_values() {
        std::map<std::string, std::string> values;
        for (const auto& [name, value] : kEveryValue)
            if (const auto stored = fixture.stored(name)) values[name] = *stored;
        return values;
    }
    GuiFixture fixture;
    Settings settings;
    MemoryAutostart autostart;
    std::vector<bool> standby_calls;
};

TEST_F(OptionsDialogTest, OpensWithTheSettingsOnItsPages) {
    settings.location = "Bonn";
    settings.reread_interval = 15;
    settings.groups = false;
    settings.play_sound = true;
    autostart.state = {true, true};
    auto dialog = open();
    EXPECT_EQ(dialog->tab_strip()->currentIndex(), 0);
    EXPECT_EQ((QStringList{dialog->files().data_file_edit->text(),
                           dialog->astronomy().place_combo->currentText(),
                           dialog->misc().interval_edit->text()}),
              (QStringList{fixture.folder + "/beispiel.rmd", "Bonn", "15"}));
    EXPECT_EQ(dialog->astronomy().place_combo->count(), 58);
    // "Groups" off ticks the box that asks for no groups.
    for (QCheckBox* box : {dialog->misc().groups_off_box, dialog->sound().play_sound_box,
                           dialog->misc().autostart_box, dialog->misc().start_once_box})
        EXPECT_TRUE(box->isChecked()) << box->text().toStdString();
    EXPECT_TRUE(fixture.dialogs.messages.empty());
}

TEST_F(OptionsDialogTest, OkStoresEveryValueInItsOwnStyle) {
    auto dialog = open();
    dialog->files().editor_edit->setText(QStringLiteral("kate"));
    fixture.dialogs.file_names = {"/daten/termine.rmd", "/daten/bausteine.dat", "/daten/gong.wav"};
    dialog->files().data_file_button->click();
    dialog->files().text_file_button->click();
    dialog->sound().sound_file_button->click();
    fixture.dialogs.colors = {QColor(255, 0, 0), QColor(0, 0, 128)};
    dialog->misc().text_colour_button->click();
    dialog->misc().background_colour_button->click();
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSize(13);
    font.setBold(true);
    fixture.dialogs.fonts = {font};
    dialog->misc().font_button->click();
    const int munich = dialog->astronomy().place_combo->findText(QStringLiteral("München"));
    dialog->astronomy().place_combo->setCurrentIndex(munich);
    dialog->choose_place(munich + 1);
    for (QCheckBox* box : {dialog->misc().no_blank_lines_box, dialog->misc().groups_off_box,
                           dialog->misc().missed_events_box, dialog->misc().standby_box,
                           dialog->sound().play_sound_box, dialog->astronomy().summer_time_box})
        box->setChecked(true);
    dialog->misc().interval_edit->setText(QStringLiteral("30.9"));
    ok(*dialog);

    EXPECT_EQ(stored_values(), kEveryValue);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(standby_calls, std::vector<bool>{true});
}

TEST_F(OptionsDialogTest, CancelStoresNothingButTheBoxesActedAtOnce) {
    auto dialog = open();
    dialog->misc().standby_box->setChecked(true);
    dialog->misc().groups_off_box->setChecked(true);
    dialog->misc().autostart_box->setChecked(true);
    fixture.dialogs.colors = {QColor(0, 128, 0)};
    dialog->misc().text_colour_button->click();
    dialog->misc().interval_edit->setText(QStringLiteral("5"));
    dialog->cancel_button()->click();
    EXPECT_TRUE(stored_values().empty());
    EXPECT_EQ(autostart.applied, 0);
    EXPECT_EQ(standby_calls, std::vector<bool>{true});
    EXPECT_TRUE(settings.standby);
    EXPECT_FALSE(settings.groups);
    EXPECT_EQ(settings.record_color, 128 * 256);
    EXPECT_EQ(settings.reread_interval, 60) << "the fields count on OK only";
}

TEST_F(OptionsDialogTest, IntervalRule) {
    const std::vector<std::pair<QString, std::int32_t>> rows = {
        {"0", 60}, {"", 60},           {"abc", 60},  {"-5", 60},         {"0.9", 60},
        {"1", 1},  {"15 Minuten", 15}, {"90.7", 90}, {"99999999999", 60}};
    for (const auto& [text, minutes] : rows)
        EXPECT_EQ(interval_of_field(text), minutes) << text.toStdString();
    auto dialog = open();
    dialog->misc().interval_edit->setText(QStringLiteral("0"));
    ok(*dialog);
    EXPECT_EQ(fixture.stored("Intervall"), "60");
}

TEST_F(OptionsDialogTest, AutostartFollowsItsBoxesOnOkAndStartOnceWaitsForIt) {
    struct Row {
        bool on, once;
        AutostartChoice expected;
    };
    for (const Row& row :
         {Row{true, true, {true, true}}, Row{true, false, {true, false}}, Row{false, true, {}}}) {
        auto dialog = open();
        // "Nur einmal am Tag" waits for the autostart box.
        EXPECT_EQ(dialog->misc().start_once_box->isEnabled(), autostart.state.enabled);
        dialog->misc().autostart_box->setChecked(row.on);
        dialog->misc().start_once_box->setChecked(row.once);
        EXPECT_EQ(dialog->misc().start_once_box->isEnabled(), row.on);
        ok(*dialog);
        EXPECT_EQ(autostart.state, row.expected) << row.on << row.once;
    }
}

// Typed as a user types: what a number field cannot hold never gets in.
TEST_F(OptionsDialogTest, NumberFieldsTakeOnlyNumbers) {
    auto dialog = open();
    const auto typed = [](QLineEdit* field, const char* keys) {
        field->clear();
        type_into(*field, QString::fromUtf8(keys));
        return field->text();
    };
    const auto& a = dialog->astronomy();
    EXPECT_EQ(typed(dialog->misc().interval_edit, "eins"), QString());
    EXPECT_EQ(typed(dialog->misc().interval_edit, "15x"), QStringLiteral("15"));
    EXPECT_EQ(typed(a.gmt_offset_edit, "-5.5h"), QStringLiteral("-5.5"));
    EXPECT_EQ(typed(a.height_edit, "519 m"), QStringLiteral("519 "));
    EXPECT_EQ(typed(a.coordinates.latitude[0], "48,5"), QStringLiteral("485"));
    EXPECT_EQ(typed(a.coordinates.longitude[1], "elf"), QString());
    EXPECT_TRUE(dialog->files().data_file_edit->hasFocus() ||
                dialog->focusWidget() == dialog->files().data_file_edit);
}

TEST_F(OptionsDialogTest, GeneralPageDefaultsThenOkStoresTheNewValues) {
    auto dialog = open();
    auto* page = dialog->findChild<GeneralOptionsPage*>(QStringLiteral("allgemein"));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->digest_box()->isChecked());
    EXPECT_EQ(page->state_combo()->currentText(), QStringLiteral("keines"));
    EXPECT_TRUE(page->feed_edit()->text().isEmpty());
    auto* automatic = dialog->findChild<QCheckBox*>(QStringLiteral("CheckSommerAuto"));
    ASSERT_NE(automatic, nullptr);
    EXPECT_FALSE(automatic->isChecked());

    page->digest_box()->setChecked(false);
    page->state_combo()->setCurrentIndex(page->state_combo()->findData(QStringLiteral("NW")));
    page->feed_edit()->setText(QStringLiteral(" /tmp/abo.ics "));
    automatic->setChecked(true);
    EXPECT_FALSE(dialog->astronomy().summer_time_box->isEnabled());
    ok(*dialog);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(fixture.stored("DigestNotification"), "0");
    EXPECT_EQ(fixture.stored("Bundesland"), "NW");
    EXPECT_EQ(fixture.stored("CalendarFeed"), "/tmp/abo.ics");
    EXPECT_EQ(fixture.stored("Daylight Saving Time Auto"), "1");
}

TEST(XdgAutostartEntry, PresentExactlyWhileOnAndReadBack) {
    QTemporaryDir config;
    XdgAutostart entry(QStringLiteral("/opt/merk wald/merkwald"), config.path() + "/autostart");
    EXPECT_EQ(entry.current(), AutostartChoice{});
    for (const bool once : {true, false}) {
        ASSERT_TRUE(entry.apply({true, once}));
        const QByteArray text = file_bytes(entry.entry_path());
        EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
        EXPECT_TRUE(text.contains(once ? "Exec=\"/opt/merk wald/merkwald\" /once /no_logo\n"
                                       : "Exec=\"/opt/merk wald/merkwald\" /no_logo\n"))
            << text.data();
        EXPECT_EQ(entry.current(), (AutostartChoice{true, once}));
    }
    ASSERT_TRUE(entry.apply({false, true}));
    EXPECT_FALSE(QFile::exists(entry.entry_path()));
    EXPECT_EQ(entry.current(), AutostartChoice{});
    EXPECT_TRUE(entry.apply({false, false})) << "already absent";
}

TEST(XdgAutostartEntry, ExecQuotingAndTheConfigFolder) {
    EXPECT_EQ(desktop_exec_line(QStringLiteral("/a\"b$c`d\\e%f"), false),
              QStringLiteral("\"/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f\" /no_logo"));
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/merkwald-xdg");
    EXPECT_EQ(xdg_autostart_folder(), QStringLiteral("/tmp/merkwald-xdg/autostart"));
    qputenv("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(xdg_autostart_folder(), QDir::homePath() + "/.config/autostart");
    if (saved.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

}  // namespace
}  // namespace merkwald::test
