#pragma once
// The main window as the editing tools see it.

#include "editors/editor_host.h"
#include "shell/main/main_window.h"

namespace merkwald {

class MainWindowHost final : public EditorHost {
public:
    explicit MainWindowHost(MainWindow& window) : window_(window) {}

    QWidget* dialog_parent() override { return &window_; }
    void run_modal_command(std::function<void()> command, bool refresh_after) override {
        window_.run_modal_command(command, refresh_after);
    }
    void show_data_with_lead_days(int days) override { window_.show_data_with_lead_days(days); }
    Settings& settings() override { return window_.settings(); }
    SettingsStore& settings_store() override { return window_.settings_store(); }
    EngineState& engine_state() override { return window_.engine_state(); }
    QString program_folder() const override { return window_.program_folder(); }
    Services& services() override { return window_.services(); }
    void set_main_file(const std::string& file) override { window_.set_main_file(file); }
    std::vector<std::string> file_list() const override { return window_.refresh_tables().files; }

private:
    MainWindow& window_;
};

}  // namespace merkwald
