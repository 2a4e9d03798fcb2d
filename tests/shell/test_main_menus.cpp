// The menu bar and toolbar of the full program: captions, ids, tooltips, icons,
// and that every item and button runs its command with Timer1 paused.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolBar>
#include <map>

#include "gui_test_support.h"
#include "shell/day_timers.h"
#include "shell/help_window.h"
#include "shell/main_menus.h"
#include "shell/options_dialog.h"

namespace merkwald::test {
namespace {

class MainMenusTest : public ::testing::Test {
protected:
    MainMenusTest() {
        fixture.write("main.rmd", "<record>\n<date=05.03.1960>\n<color=255>\nHeute\n</record>\n");
        fixture.write("other.rmd", "<record>\n<date=05.03.1960>\nAnderswo\n</record>\n");
        form = fixture.started();
        EditorCommands editors;
        using E = EditorCommands;
        for (const auto& [command, name] : {std::pair{&E::file_new, "file_new"},
                                            {&E::birthdays, "birthdays"},
                                            {&E::import_birthdays, "import_birthdays"},
                                            {&E::appointments, "appointments"},
                                            {&E::record_editor, "record_editor"},
                                            {&E::record_list, "record_list"},
                                            {&E::look_ahead, "look_ahead"},
                                            {&E::converter, "converter"}})
            editors.*command = [this, name] { events << QString::fromLatin1(name); };
        MenuHooks hooks;
        hooks.run_modal = [this](QDialog& dialog) {
            events << dialog.objectName();
            timer_while_open.push_back(form->day_timer().running());
            if (on_modal) on_modal(dialog);
        };
        hooks.ask_printer = [this](QPrinter& printer, bool selection) {
            events << (selection ? QStringLiteral("print selection") : QStringLiteral("print"));
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(fixture.folder + "/druck.pdf");
            return true;
        };
        hooks.start_program = [this](const QString& program, const QStringList& arguments) {
            events << QStringLiteral("editor");
            started.push_back(program + u' ' + arguments.join(u' '));
            return editor_starts;
        };
        hooks.autostart = std::make_unique<MemoryAutostart>();
        hooks.help_folders = {QStringLiteral(MERKWALD_SOURCE_DIR "/data")};
        menus = new MainMenus(*form, std::move(editors), fixture.version, std::move(hooks));
    }

    // What one command did, as event names.
    QStringList run(QAction* action) {
        events.clear();
        fixture.dialogs.file_names = {fixture.folder + "/other.rmd"};
        const int ends = fixture.ends;
        const QString close_caption = form->close_button().text();
        action->trigger();
        if (fixture.dialogs.file_names.empty()) events << QStringLiteral("file dialog");
        if (menus->help_window() && menus->help_window()->isVisible()) {
            events << QStringLiteral("help");
            menus->help_window()->hide();
        }
        if (form->close_button().text() != close_caption &&
            form->close_button().text() == QStringLiteral("Stand By"))
            events << QStringLiteral("standby");
        if (fixture.ends != ends) events << QStringLiteral("end");
        return events;
    }

    GuiFixture fixture;
    std::unique_ptr<MainWindow> form;
    MainMenus* menus = nullptr;
    QStringList events;
    std::vector<bool> timer_while_open;
    std::function<void(QDialog&)> on_modal;  // what the "user" does in a window
    std::vector<QString> started;
    bool editor_starts = true;
};

// Name and what it does, in menu order; the ending commands come last.
const std::pair<const char*, const char*> kItems[] = {{"file_new", "file_new"},
                                                      {"file_open", "file dialog"},
                                                      {"export", "file dialog"},
                                                      {"printRTbox", "print"},
                                                      {"GebEingabe", "birthdays"},
                                                      {"import", "import_birthdays"},
                                                      {"TermEingabe", "appointments"},
                                                      {"start_editor", "editor"},
                                                      {"datensatz_eingeben", "record_editor"},
                                                      {"datensatzliste", "record_list"},
                                                      {"FromTill", "FromTill"},
                                                      {"feiertage", "Calc1"},
                                                      {"sonntage", "Calc2"},
                                                      {"astronom", "AstroForm"},
                                                      {"convert", "converter"},
                                                      {"options", "FormOptions"},
                                                      {"helpcontents", "help"},
                                                      {"about", "FormAbout"},
                                                      {"standby", "standby"},
                                                      {"exit_programm", "end"}};

TEST_F(MainMenusTest, EveryItemRunsItsCommandWithTimer1PausedForItsWindows) {
    ASSERT_TRUE(form->day_timer().running());
    for (const auto& [name, event] : kItems) {
        QAction* action = menus->menu_action(QString::fromUtf8(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
        EXPECT_EQ(run(action), QStringList{QString::fromUtf8(event)}) << name;
        if (std::string_view(event) != "standby" && std::string_view(event) != "end") {
            EXPECT_TRUE(form->day_timer().running()) << name;
        }
    }
    EXPECT_EQ(timer_while_open, std::vector<bool>(6, false));
}

TEST_F(MainMenusTest, EveryToolbarButtonHasTooltipIconAndRunsItsCommand) {
    const struct {
        const char *key, *event;
    } buttons[] = {{"open", "file dialog"},
                   {"export", "file dialog"},
                   {"print", "print"},
                   {"geb-ein", "birthdays"},
                   {"geb-imp", "import_birthdays"},
                   {"Termin", "appointments"},
                   {"dat-ein", "record_editor"},
                   {"list", "record_list"},
                   {"feiertag", "Calc1"},
                   {"astro", "AstroForm"},
                   {"next", "look_ahead"},
                   {"options", "FormOptions"},
                   {"help", "help"}};
    QStringList keys, expected_keys;
    for (QAction* action : menus->toolbar()->actions())
        if (!action->isSeparator()) keys << action->objectName();
    for (const auto& b : buttons) {
        expected_keys << QString::fromUtf8(b.key);
        QAction* action = menus->toolbar_action(QString::fromUtf8(b.key));
        ASSERT_NE(action, nullptr) << b.key;
        EXPECT_FALSE(action->toolTip().isEmpty()) << b.key;
        EXPECT_FALSE(action->icon().pixmap(22, 22).isNull()) << b.key;
        EXPECT_EQ(run(action), QStringList{QString::fromUtf8(b.event)}) << b.key;
    }
    EXPECT_EQ(keys, expected_keys);
}

TEST_F(MainMenusTest, OpenShowsTheFileForThisRunOnly) {
    run(menus->menu_action(QStringLiteral("file_open")));
    EXPECT_NE(GuiFixture::plain(*form).find("Anderswo"), std::string::npos);
    EXPECT_EQ(fixture.stored("DataFilename"), "main.rmd");
    // The options dialog offers and stores the file of the next start.
    menus->options();
    EXPECT_EQ(fixture.stored("DataFilename"), "main.rmd");
    EXPECT_EQ(form->main_file(), fixture.folder.toStdString() + "/other.rmd");
    EXPECT_EQ(form->settings().data_filename, "main.rmd");
}

TEST_F(MainMenusTest, ExportAndPrintWriteTheirFiles) {
    fixture.dialogs.file_names = {fixture.folder + "/liste"};
    menus->export_list();
    const QByteArray rtf = file_bytes(fixture.folder + "/liste.rtf");
    EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << "no extension: the dialog's default .rtf";
    EXPECT_TRUE(rtf.contains("\\red255\\green0\\blue0;"));
    QTextCursor cursor = form->event_list().textCursor();
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    form->event_list().setTextCursor(cursor);
    events.clear();
    menus->print_list();
    EXPECT_EQ(events, QStringList{"print selection"});
    EXPECT_TRUE(file_bytes(fixture.folder + "/druck.pdf").startsWith("%PDF"));
}

TEST_F(MainMenusTest, ExportWritesTheTypeOfTheChosenFilter) {
    const struct {
        const char *filter, *name, *written;
        bool rich;
    } rows[] = {
        {"Text Dateien (*.txt)", "liste", "liste.txt", false},
        {"Text Dateien (*.txt)", "liste.doc", "liste.doc", false},
        {"RTF-Files (*.rtf)", "bunt", "bunt.rtf", true},
        {"All Files (*)", "beides.rtf", "beides.rtf", true},
        {"All Files (*)", "beides.text", "beides.text", false},
        {"All Files (*)", "gross.RTF", "gross.RTF", true},
    };
    for (const auto& row : rows) {
        fixture.dialogs.filters = {QString::fromUtf8(row.filter)};
        fixture.dialogs.file_names = {fixture.folder + u'/' + QString::fromUtf8(row.name)};
        menus->export_list();
        const QByteArray bytes = file_bytes(fixture.folder + u'/' + QString::fromUtf8(row.written));
        EXPECT_EQ(bytes.startsWith("{\\rtf1"), row.rich) << row.filter << " " << row.name;
        EXPECT_EQ(bytes.contains("Heute"), true) << row.written;
    }
}

TEST_F(MainMenusTest, OptionsOkReReadsAndAbbrechenTakesEverythingBack) {
    // "Abbrechen" after boxes, colour and font: the running program is as before.
    const Settings before = form->settings();
    on_modal = [this](QDialog& dialog) {
        auto& options = dynamic_cast<OptionsDialog&>(dialog);
        options.misc().standby_box->setChecked(true);
        options.misc().groups_off_box->setChecked(true);
        fixture.dialogs.colors = {QColor(0, 128, 0)};
        options.misc().text_colour_button->click();
        fixture.dialogs.fonts = {QFont(QStringLiteral("DejaVu Serif"), 15)};
        options.misc().font_button->click();
        EXPECT_EQ(form->close_button().text(), QStringLiteral("Stand By"));
        options.cancel_button()->click();
    };
    menus->options();
    EXPECT_EQ(form->settings(), before);
    EXPECT_EQ(form->close_button().text(), QStringLiteral("Ende"));

    // OK with another data file: the list is read again at once.
    on_modal = [this](QDialog& dialog) {
        auto& options = dynamic_cast<OptionsDialog&>(dialog);
        options.files().data_file_edit->setText(QStringLiteral("other.rmd"));
        options.ok_button()->click();
    };
    menus->options();
    EXPECT_NE(GuiFixture::plain(*form).find("Anderswo"), std::string::npos);
    EXPECT_EQ(fixture.stored("DataFilename"), "other.rmd");
}

TEST_F(MainMenusTest, StandardKeysRunTheirCommands) {
    const std::pair<const char*, QKeySequence> items[] = {
        {"helpcontents", QKeySequence(Qt::Key_F1)},
        {"file_open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"printRTbox", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"export", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"exit_programm", QKeySequence(Qt::CTRL | Qt::Key_Q)}};
    for (const auto& [name, key] : items)
        EXPECT_EQ(menus->menu_action(QString::fromLatin1(name))->shortcut(), key) << name;

    const auto key_action = [this](const QKeySequence& key) -> QAction* {
        for (QAction* action : form->actions())
            if (action->shortcuts().contains(key)) return action;
        return nullptr;
    };
    // F5 reads the file again.
    fixture.write("main.rmd", "<record>\n<date=05.03.1960>\nNeu gelesen\n</record>\n");
    ASSERT_NE(key_action(QKeySequence(Qt::Key_F5)), nullptr);
    key_action(QKeySequence(Qt::Key_F5))->trigger();
    EXPECT_NE(GuiFixture::plain(*form).find("Neu gelesen"), std::string::npos);
    // Ctrl+End and Ctrl+Home move through the list.
    key_action(QKeySequence(Qt::CTRL | Qt::Key_End))->trigger();
    EXPECT_TRUE(form->event_list().textCursor().atEnd());
    key_action(QKeySequence(Qt::CTRL | Qt::Key_Home))->trigger();
    EXPECT_TRUE(form->event_list().textCursor().atStart());
    // Enter is "Stand By" only while that is on.
    QAction* enter = key_action(QKeySequence(Qt::Key_Return));
    ASSERT_NE(enter, nullptr);
    enter->trigger();
    EXPECT_FALSE(form->isMinimized());
    form->set_standby(true);
    enter->trigger();
    EXPECT_TRUE(form->isMinimized() || !form->isVisible());
    EXPECT_EQ(fixture.ends, 0);
}

TEST_F(MainMenusTest, AFailingEditorAsksForAnotherForThisRun) {
    form->settings().editor_filename = "kate";
    menus->start_editor();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], "kate " + fixture.folder + "/main.rmd");
    editor_starts = false;
    fixture.dialogs.file_names = {"/usr/bin/gedit"};
    menus->start_editor();
    EXPECT_EQ(form->settings().editor_filename, "/usr/bin/gedit");
    EXPECT_EQ(fixture.stored("EditorFilename"), std::nullopt);
    EXPECT_EQ(started.size(), 2u) << "the user gives the command again";
}

TEST_F(MainMenusTest, HelpShowsTheGermanHelpAtItsContents) {
    menus->help_contents();
    ASSERT_NE(menus->help_window(), nullptr);
    const QString text = menus->help_window()->browser()->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Merkwald - Hilfe"))) << text.left(40).toStdString();
    for (const char* word : {"days_before_event_text", "event_d.mmmm", "sunrise",
                             "/unload=", "merkwald-cli list --from"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(word))) << word;
}

}  // namespace
}  // namespace merkwald::test
