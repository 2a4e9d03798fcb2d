#pragma once
// The main window as the editing tools see it.

#include "editors/record_commands.h"
#include "shell/main_window.h"

namespace merkwald {

class FormHost final : public EditorHost {
public:
    explicit FormHost(Form1& form) : form_(form) {}

    QWidget* dialog_parent() override { return &form_; }
    void run_modal_command(std::function<void()> command, bool refresh_after) override {
        form_.run_modal_command(command, refresh_after);
    }
    void show_data_with_lead_days(int days) override { form_.show_data_with_lead_days(days); }
    Settings& settings() override { return form_.settings(); }
    SettingsStore& settings_store() override { return form_.settings_store(); }
    EngineState& engine_state() override { return form_.engine_state(); }
    QString program_folder() const override { return form_.program_folder(); }
    Services& services() override { return form_.services(); }
    void set_main_file(const std::string& file) override { form_.set_main_file(file); }
    std::vector<std::string> file_list() const override { return form_.refresh_tables().files; }

private:
    Form1& form_;
};

}  // namespace merkwald
