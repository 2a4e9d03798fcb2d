#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "editors/record_commands.h"
#include "editors/small_dialogs.h"
#include "editors_test_support.h"

namespace merkwald {
namespace {

// Records what the main window would be asked to do.
class FakeHost final : public EditorHost {
public:
    explicit FakeHost(test::EditorWorld& w) : world(w) {}

    QWidget* dialog_parent() override { return nullptr; }
    void run_modal_command(std::function<void()> command, bool refresh_after) override {
        timer_paused = true;
        command();
        timer_paused = false;
        ++commands;
        if (refresh_after) ++refreshes;
    }
    void show_data_with_lead_days(int days) override { lead_days.push_back(days); }
    Settings& settings() override { return world.settings; }
    SettingsStore& settings_store() override { return world.store; }
    EngineState& engine_state() override { return world.engine; }
    QString program_folder() const override {
        return QString::fromStdString(world.folder.path().string());
    }
    Services& services() override { return world.services; }
    void set_main_file(const std::string& file) override { main_file = file; }
    std::string main_file;
    std::vector<std::string> file_list() const override { return {"main.rmd"}; }

    test::EditorWorld& world;
    bool timer_paused = false;
    int commands = 0;
    int refreshes = 0;
    std::vector<int> lead_days;
};

void answer_look_ahead(const QString& text, const QString& button, QString* shown = nullptr) {
    test::when_modal([text, button, shown](QWidget* modal) {
        auto* dialog = qobject_cast<GlobalActiveSet*>(modal);
        ASSERT_NE(nullptr, dialog);
        if (shown != nullptr) *shown = dialog->days_field()->text();
        dialog->days_field()->setText(text);
        for (QPushButton* b : modal->findChildren<QPushButton*>()) {
            if (b->text() == button) b->click();
        }
    });
}

TEST(RecordCommands, MenuHoldsTheTwoCommandsAndTheyRunAsModalCommands) {
    test::EditorWorld world;
    test::write_bytes(world.folder / "main.rmd", "<record>\r\nA\r\n</record>\r\n");
    FakeHost host(world);
    QMenuBar bar;
    RecordCommands* commands = add_record_menu(&bar, host);
    ASSERT_EQ(1, bar.actions().size());
    EXPECT_EQ("Daten&sätze", bar.actions()[0]->text());
    QMenu* menu = bar.actions()[0]->menu();
    ASSERT_EQ(2, menu->actions().size());
    EXPECT_EQ("&Datensatz eingeben", menu->actions()[0]->text());
    EXPECT_EQ("Datensatz &Liste", menu->actions()[1]->text());

    bool paused_while_open = false;
    test::when_modal([&](QWidget* modal) {
        paused_while_open = host.timer_paused;
        EXPECT_EQ("Datensatzeditor", modal->windowTitle());
        qobject_cast<QDialog*>(modal)->reject();
    });
    menu->actions()[0]->trigger();
    EXPECT_TRUE(paused_while_open);
    EXPECT_EQ(1, host.refreshes);

    test::when_modal([&](QWidget* modal) {
        EXPECT_EQ("Datensatz Liste", modal->windowTitle());
        qobject_cast<QDialog*>(modal)->accept();
    });
    commands->list_action()->trigger();
    EXPECT_EQ(2, host.refreshes);
}

TEST(RecordCommands, LookAheadRefreshesOnceWithTheDaysAndRemembersThem) {
    test::EditorWorld world;
    FakeHost host(world);
    QMenuBar bar;
    RecordCommands* commands = add_record_menu(&bar, host);
    EXPECT_EQ("next", commands->look_ahead_action()->objectName());

    answer_look_ahead("14", "OK");
    commands->look_ahead_action()->trigger();
    EXPECT_EQ(std::vector<int>{14}, host.lead_days);
    EXPECT_EQ(0, host.refreshes);

    QString shown;
    answer_look_ahead("0", "OK", &shown);
    commands->look_ahead();
    EXPECT_EQ("14", shown);
    EXPECT_EQ((std::vector<int>{14, 0}), host.lead_days);

    answer_look_ahead("", "OK", &shown);
    commands->look_ahead();
    EXPECT_EQ("", shown);
    answer_look_ahead("7", "normal");
    commands->look_ahead();
    EXPECT_EQ((std::vector<int>{14, 0}), host.lead_days);
    EXPECT_EQ(-1, commands->lead_override());
}

}  // namespace
}  // namespace merkwald
