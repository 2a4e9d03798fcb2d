#pragma once
// The main window of both programs: the event list, the clock, calendar and
// moon display, the two timers, standby, the window placement and the start-up.
// `ProgramKind::light` is the light program's window.
//
// objectName -> member: `Form1` MainWindow, `RTBox1` event_list, `Command1`
// close_button, `Label1` file_label, `Label3` clock_label, `Label4`
// day_of_year_label, `Label5` week_label, `Label6` quarter_label, `TabPic`
// side_panel_, `Picture2` moon_picture, `Timer1` day_timer, `Timer2` unload_timer.

#include <QDialog>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "engine/engine_state.h"
#include "engine/list_view.h"
#include "settings/command_line.h"
#include "settings/settings.h"
#include "shell/platform/platform.h"
#include "shell/start/program_version.h"
#include "shell/widgets/window_placement.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace merkwald {

class DayTimer;
class MoonPicture;
class TrayIcon;
class UnloadTimer;

enum class ProgramKind { full, light };

struct WindowOptions {
    ProgramKind kind = ProgramKind::full;
    QString program_folder;
    CommandLine command_line;
    ProgramVersion version;
};

class MainWindow final : public QMainWindow {
public:
    MainWindow(SettingsStore& store, Services services, WindowOptions options,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The whole start: splash, initialisation, first refresh, what-is-new and
    // missed-events windows, tray icon, window and timers. False when the
    // program ended on the way ("/once" on a second start, "no_events").
    bool start();

    // The refresh: read the files, sort, draw the list, play the sound. With
    // "no_events" on the command line and nothing due the program ends instead.
    // The main file is the one chosen while the program runs (set_main_file), else
    // the one "/file=" names, else `settings().data_filename`.
    void show_data();
    // Opening or creating a reminder file makes it the main file until the program
    // ends; the stored `DataFilename` stays as it is. Call show_data() afterwards.
    void set_main_file(std::string file) { chosen_main_file_ = std::move(file); }
    // Runs inside the initialisation step, after the settings are read.
    void set_initialise_handler(std::function<void()> handler) {
        initialise_handler_ = std::move(handler);
    }
    // Runs after every refresh (the calendar feed, the file watch, the digest).
    void set_refresh_handler(std::function<void()> handler) {
        refresh_handler_ = std::move(handler);
    }
    // The standby flag and the close button's caption (the menu's "Stand By" box).
    void set_standby(bool on);
    [[nodiscard]] bool standby_on() const { return standby_; }
    // One refresh with every record's lead time replaced by `days`.
    void show_data_with_lead_days(int days);
    // Runs a modal command with the day timer stopped, then refreshes (or only redraws
    // the list from the last refresh).
    void run_modal_command(const std::function<void()>& command, bool refresh_after = true);
    // The missed-events window, when events were missed and the setting asks for it.
    void show_missed_events();

    Settings& settings() { return settings_; }
    SettingsStore& settings_store() { return store_; }
    EngineState& engine_state() { return engine_state_; }
    const RefreshTables& refresh_tables() const { return tables_; }
    const QString& program_folder() { return options_.program_folder; }
    Services& services() { return services_; }
    [[nodiscard]] bool light() const { return options_.kind == ProgramKind::light; }
    [[nodiscard]] bool ended() const { return ended_; }

    // The close button `Command1`: hides with standby on, else stores the
    // placement and ends.
    void close_button_clicked();
    // Menu "&Stand By": standby on, then the close button.
    void standby();
    // Menu "&Ende" (`exit_programm`): standby off, then the close button.
    void exit_program();
    // Brings the window back from standby (tray, periodic re-read).
    void show_main_window();

    // How the program ends; by default the application's event loop is left.
    void set_end_handler(std::function<void()> handler) { end_handler_ = std::move(handler); }
    // How a modal window is shown; by default exec(). Tests record instead.
    void set_modal_runner(std::function<void(QDialog&)> runner) { modal_ = std::move(runner); }

    // The controls, for the menus and the tests.
    [[nodiscard]] QTextEdit& event_list() const { return *event_list_; }
    [[nodiscard]] QPushButton& close_button() const { return *close_button_; }
    [[nodiscard]] QLabel* file_label() const { return file_label_; }
    // The side panel's labels; null in the light program.
    [[nodiscard]] QLabel* clock_label() const { return clock_label_; }
    [[nodiscard]] QLabel* week_label() const { return week_label_; }
    [[nodiscard]] MoonPicture* moon_picture() const { return moon_picture_; }
    [[nodiscard]] DayTimer& day_timer() const { return *day_timer_; }
    [[nodiscard]] UnloadTimer& unload_timer() const { return *unload_timer_; }
    [[nodiscard]] TrayIcon& tray() const { return *tray_; }
    // The normal caption (the countdown replaces it while it runs).
    [[nodiscard]] QString caption() const;
    // The file list's entry 1.
    [[nodiscard]] std::string main_file() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build_controls();
    QWidget* build_side_panel();
    bool set_parameter();
    void version_check();
    void refresh_once();
    void show_window();
    void redisplay();
    void display();
    void play_sound();
    void update_clock(const QDateTime& now);
    void update_file_label();
    void set_today(const QDateTime& now);
    void count_down(int remaining);
    void countdown_elapsed();
    void enter_standby();
    void end_program(bool save_placement);
    [[nodiscard]] StoredWindowState current_state() const;
    // The window's placement into the settings and the store.
    void keep_placement();
    void apply_size_rules();
    void report(const char* procedure);

    SettingsStore& store_;
    Services services_;
    WindowOptions options_;
    Settings settings_;
    EngineState engine_state_;
    RefreshTables tables_;
    DialogSink sink_;
    std::optional<std::string> chosen_main_file_;
    std::function<void()> initialise_handler_;
    std::function<void()> refresh_handler_;
    bool standby_ = false;
    bool was_maximised_ = false;
    bool minimised_for_standby_ = false;
    bool ending_ = false;
    bool refreshing_ = false;
    bool refresh_pending_ = false;
    bool ended_ = false;
    std::function<void()> end_handler_;
    std::function<void(QDialog&)> modal_;

    QTextEdit* event_list_ = nullptr;
    QPushButton* close_button_ = nullptr;
    QLabel* file_label_ = nullptr;
    QLabel* clock_label_ = nullptr;
    QLabel* day_of_year_label_ = nullptr;
    QLabel* week_label_ = nullptr;
    QLabel* quarter_label_ = nullptr;
    QWidget* side_panel_ = nullptr;
    MoonPicture* moon_picture_ = nullptr;
    DayTimer* day_timer_ = nullptr;
    UnloadTimer* unload_timer_ = nullptr;
    std::unique_ptr<TrayIcon> tray_;
};

}  // namespace merkwald
