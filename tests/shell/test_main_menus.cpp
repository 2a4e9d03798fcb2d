// The menu bar and toolbar of the full program: every item and button runs a
// command, with the day timer paused while a window is open; the list's export.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QToolBar>
#include <set>

#include "../support/keyboard_walk.h"
#include "gui_test_support.h"
#include "shell/main/help_window.h"
#include "shell/main/list_render.h"
#include "shell/main/main_menus.h"
#include "shell/options/options_dialog.h"
#include "shell/output/export.h"

namespace merkwald::test {
namespace {

class MainMenusTest : public ::testing::Test {
protected:
    MainMenusTest() {
        fixture.write("main.rmd", "<record>\n<date=05.03.1960>\n<color=255>\nHeute\n</record>\n");
        fixture.write("other.rmd", "<record>\n<date=05.03.1960>\nAnderswo\n</record>\n");
        form = fixture.started();
        const auto tool = [this] { events << QStringLiteral("editing tool"); };
        EditorCommands editors{tool, tool, tool, tool, tool, tool, tool, tool, tool};
        MenuHooks hooks;
        hooks.run_modal = [this](QDialog& dialog) {
            events << dialog.objectName();
            timer_while_open.push_back(form->day_timer().running());
            if (on_modal) on_modal(dialog);
        };
        hooks.ask_printer = [this](QPrinter&, bool selection) {
            events << (selection ? QStringLiteral("print selection") : QStringLiteral("print"));
            return false;
        };
        hooks.start_program = [this](const QString& program, const QStringList& arguments) {
            events << program + u' ' + arguments.join(u' ');
            return editor_starts;
        };
        auto entry = std::make_unique<MemoryAutostart>();
        autostart = entry.get();
        hooks.autostart = std::move(entry);
        hooks.help_folders = {QStringLiteral(MERKWALD_SOURCE_DIR "/data")};
        menus = new MainMenus(*form, std::move(editors), fixture.version, std::move(hooks));
    }

    // What one command did, as event names.
    QStringList run(QAction* action) {
        events.clear();
        fixture.dialogs.file_names = {fixture.folder + "/other.rmd"};
        const int ends = fixture.ends;
        const bool minimized = form->isMinimized();
        action->trigger();
        if (fixture.dialogs.file_names.empty()) events << QStringLiteral("file dialog");
        if (menus->help_window() && menus->help_window()->isVisible()) {
            events << menus->help_window()->browser()->toPlainText().left(16);  // the German help
            menus->help_window()->hide();
        }
        if (!minimized && form->isMinimized()) events << QStringLiteral("standby");
        if (fixture.ends != ends) events << QStringLiteral("end");
        return events;
    }

    GuiFixture fixture;
    std::unique_ptr<MainWindow> form;
    MainMenus* menus = nullptr;
    MemoryAutostart* autostart = nullptr;
    QStringList events;
    std::vector<bool> timer_while_open;
    std::function<void(QDialog&)> on_modal;  // what the "user" does in a window
    bool editor_starts = true;
};

// Icons without words: a screen reader says what each toolbar button does.
TEST_F(MainMenusTest, EveryItemAndButtonRunsOneCommandWithTheTimerPausedForItsWindows) {
    std::vector<QAction*> actions;
    for (QAction* action : form->menuBar()->findChildren<QAction*>())
        if (!action->objectName().isEmpty() && !action->menu()) actions.push_back(action);
    for (QAction* action : menus->toolbar()->actions()) {
        if (action->isSeparator()) continue;
        SCOPED_TRACE(action->objectName().toStdString());
        EXPECT_FALSE(action->icon().pixmap(22, 22).isNull());
        EXPECT_FALSE(action->toolTip().isEmpty());
        EXPECT_EQ(spoken_name(menus->toolbar()->widgetForAction(action)), action->toolTip());
        actions.push_back(action);
    }
    // The ending commands last.
    std::stable_partition(actions.begin(), actions.end(), [](QAction* a) {
        return a->objectName() != "standby" && a->objectName() != "exit_programm";
    });
    for (QAction* action : actions) {
        const QStringList did = run(action);
        EXPECT_EQ(did.size(), 1) << action->objectName().toStdString();
        if (action->objectName() == "helpcontents") {
            EXPECT_EQ(did[0], "Merkwald - Hilfe");
        }
        EXPECT_TRUE(fixture.ends > 0 || form->isMinimized() || form->day_timer().running())
            << action->objectName().toStdString();
    }
    EXPECT_EQ(fixture.ends, 1);
    EXPECT_EQ(timer_while_open, std::vector<bool>(timer_while_open.size(), false));
    EXPECT_GE(timer_while_open.size(), 8u);
}

TEST_F(MainMenusTest, ExportWritesTheTypeOfTheChosenFilterAndPrintTakesTheSelection) {
    // filter (none: the dialog's default), name typed, name written, RTF
    const std::tuple<QString, QString, QString, bool> rows[] = {
        {"", "liste", "liste.rtf", true},
        {"Text Dateien (*.txt)", "liste.doc", "liste.doc", false},
        {"All Files (*)", "gross.RTF", "gross.RTF", true},
    };
    for (const auto& [filter, name, written, rich] : rows) {
        if (!filter.isEmpty()) fixture.dialogs.filters = {filter};
        fixture.dialogs.file_names = {fixture.folder + u'/' + name};
        menus->export_list();
        const QByteArray bytes = file_bytes(fixture.folder + u'/' + written);
        EXPECT_EQ(bytes.startsWith("{\\rtf1"), rich) << name.toStdString();
        EXPECT_TRUE(bytes.contains("Heute")) << written.toStdString();
    }
    form->event_list().selectAll();
    events.clear();
    menus->print_list();
    EXPECT_EQ(events, QStringList{"print selection"});
}

TEST_F(MainMenusTest, OptionsAbbrechenTakesEverythingBackOkReReadsAndTellsARefusedLogOnEntry) {
    const Settings before = form->settings();
    on_modal = [this](QDialog& dialog) {
        auto& options = dynamic_cast<OptionsDialog&>(dialog);
        options.misc().standby_box->setChecked(true);
        fixture.dialogs.fonts = {QFont(QStringLiteral("DejaVu Serif"), 15)};
        options.misc().font_button->click();
        EXPECT_EQ(form->close_button().text(), QStringLiteral("Stand By"));
        options.cancel_button()->click();
    };
    menus->options();
    EXPECT_EQ(form->settings(), before);
    EXPECT_EQ(fixture.stored("Standby"), std::nullopt);
    EXPECT_EQ(form->close_button().text(), QStringLiteral("Ende"));

    // A log-on entry the system does not take is told; the rest is stored all the same.
    autostart->refuses = true;
    on_modal = [](QDialog& dialog) {
        auto& options = dynamic_cast<OptionsDialog&>(dialog);
        options.files().data_file_edit->setText(QStringLiteral("other.rmd"));
        options.misc().autostart_box->setChecked(true);
        options.ok_button()->click();
    };
    menus->options();
    EXPECT_NE(GuiFixture::plain(*form).find("Anderswo"), std::string::npos);
    EXPECT_EQ(fixture.stored("DataFilename"), "other.rmd");
    ASSERT_FALSE(fixture.dialogs.messages.empty());
    EXPECT_TRUE(fixture.dialogs.messages.back().text.contains(QStringLiteral("Anmelden")))
        << fixture.dialogs.messages.back().text.toStdString();
}

TEST_F(MainMenusTest, OptionsOkOnAStoreThatCannotBeWrittenSaysSoNamingTheFile) {
    ReadOnlyStore read_only(fixture.store.path());
    on_modal = [](QDialog& dialog) {
        auto& options = dynamic_cast<OptionsDialog&>(dialog);
        options.misc().interval_edit->setText(QStringLiteral("15"));
        options.ok_button()->click();
    };
    const auto& said = fixture.dialogs.messages;
    for (const long told : {1, 2}) {
        menus->options();  // each "OK" says it once, not once per value
        EXPECT_EQ(
            std::count_if(said.begin(), said.end(),
                          [this](const auto& m) { return m.text.contains(fixture.store.path()); }),
            told);
    }
    EXPECT_EQ(form->settings().reread_interval, 15) << "the running program keeps the change";
}

TEST_F(MainMenusTest, EnterIsStandByOnlyWhileThatIsOn) {
    QAction* enter = nullptr;
    for (QAction* action : form->actions())
        if (action->shortcuts().contains(QKeySequence(Qt::Key_Return))) enter = action;
    ASSERT_NE(enter, nullptr);
    enter->trigger();
    EXPECT_FALSE(form->isMinimized());
    form->set_standby(true);
    enter->trigger();
    EXPECT_TRUE(form->isMinimized() || !form->isVisible());
    EXPECT_EQ(fixture.ends, 0);
}

// "Öffnen" shows a file, a failing editor asks for another: for this run only.
TEST_F(MainMenusTest, OpenAndAFailingEditorChangeThisRunOnly) {
    run(menus->menu_action(QStringLiteral("file_open")));
    EXPECT_NE(GuiFixture::plain(*form).find("Anderswo"), std::string::npos);
    EXPECT_EQ(fixture.stored("DataFilename"), "main.rmd");
    form->settings().editor_filename = "kate";
    events.clear();
    menus->start_editor();
    EXPECT_EQ(events, QStringList{"kate " + fixture.folder + "/other.rmd"});
    editor_starts = false;
    fixture.dialogs.file_names = {"/usr/bin/gedit"};
    menus->start_editor();
    EXPECT_EQ(form->settings().editor_filename, "/usr/bin/gedit");
    EXPECT_EQ(fixture.stored("EditorFilename"), std::nullopt);
}

TEST(ExportRtf, IsWellFormedAndHoldsTheTextAndEveryColourAndAFailedWriteIsReported) {
    gui_application();
    QTextEdit box;
    render_list(box,
                {{"Freitag, 5.3.1999\r\n\r\n", 0, true, false, true},
                 {"Geburtstage:\r\n\r\n", 0x0000FF, true, true, true},
                 {"Jörg {Müller} hat heute Geburtstag \\ 30 €\r\n", 0x00FF00, false, false, false},
                 {"Termine:\r\n", 0xC0C0C0, false, true, false},
                 {"Zahnarzt\r\n", 0xFF0000, false, false, false}},
                ListLook{QStringLiteral("DejaVu Sans"), 11, Qt::white});
    const QByteArray rtf = rtf_document(*box.document());
    QByteArray bare = rtf;
    bare.replace("\\\\", "").replace("\\{", "").replace("\\}", "");
    EXPECT_EQ(bare.count('{'), bare.count('}'));
    for (const char* part : {"J\\'f6rg \\{M\\'fcller\\} hat heute Geburtstag \\\\ 30 \\u8364?",
                             "\\b", "\\i", "\\ul", "\\fs22"})
        EXPECT_TRUE(rtf.contains(part)) << part;
    // The table's first entry is "automatic"; no \cf points beyond its last.
    static const QRegularExpression entry(R"(\\red(\d+)\\green(\d+)\\blue(\d+);)");
    std::set<QRgb> table;
    for (const QRegularExpressionMatch& m : entry.globalMatch(QString::fromLatin1(rtf)))
        table.insert(qRgb(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()));
    for (const std::uint32_t colour : {0x000000u, 0x0000FFu, 0x00FF00u, 0xC0C0C0u, 0xFF0000u})
        EXPECT_TRUE(table.count(to_qcolor(colour).rgb())) << std::hex << colour;
    static const QRegularExpression cf(R"(\\cf(\d+))");
    for (const QRegularExpressionMatch& m : cf.globalMatch(QString::fromLatin1(rtf)))
        EXPECT_LE(m.captured(1).toInt(), int(table.size()));
    EXPECT_TRUE(rtf_document(*box.document(), QColor(255, 255, 192)).contains("\\cbpat"));
    // The type a name asks for is checked through the export menu item.
    EXPECT_FALSE(export_list(*box.document(), Qt::white, QStringLiteral("/nirgends/liste.txt"),
                             ExportFormat::plain_text))
        << "a failed write is reported";
}

}  // namespace
}  // namespace merkwald::test
