// MainWindow's life: the start, standby, the window's size rules and the end.

#include <QCloseEvent>
#include <QDir>
#include <QPushButton>
#include <exception>

#include "engine/date_text.h"
#include "settings/name_day_setting.h"
#include "settings/qt_bridges.h"
#include "shell/main/day_timers.h"
#include "shell/main/main_window.h"
#include "shell/start/start_windows.h"
#include "shell/tray/tray.h"

namespace merkwald {

bool MainWindow::start() {
    if (!light() && !options_.command_line.no_logo()) {
        SplashWindow intro(options_.version);
        modal_(intro);
    }
    if (!set_parameter()) return false;
    show_data();
    if (ended_) return false;
    if (!light()) version_check();
    show_missed_events();
    tray_->load();
    show_window();
    day_timer_->start();
    unload_timer_->start();
    return !ended_;
}

bool MainWindow::set_parameter() {
    try {
        setWindowTitle(caption());
        QDir::setCurrent(options_.program_folder);
        const QDateTime now = services_.clock.now();
        const DaySerial today = to_day_serial(now.date());
        ReadOptions read;
        read.program_folder = options_.program_folder;
        read.today = format_date(today, "dd.mm.yy");
        read.command_line = options_.command_line.once() ? "/once" : "";
        read.light = light();
        if (read_registry(store_, settings_, read, sink_) == ReadOutcome::end_silently) {
            end_program(false);
            return false;
        }
        if (!light() && !settings_.version) {
            // A new installation follows the system's summer time from its first
            // list on; an older store without the value keeps its manual choice.
            settings_.daylight_saving_auto = true;
            write_values(store_, settings_, {"Daylight Saving Time Auto"});
        }
        if (choose_new_store_name_days(store_, settings_))
            write_values(store_, settings_, {kNameDaysValue});
        const Placement placement = placement_of(settings_);
        apply_geometry(*this, placement);
        was_maximised_ = placement.state == StoredWindowState::maximised;
        engine_state_ = EngineState(to_engine_settings(settings_, light()), today,
                                    to_path(options_.program_folder));
        // The full program loads its entry templates here (their messages come
        // after the start-once test and before the first list).
        if (initialise_handler_) initialise_handler_();
        day_timer_->start_schedule(settings_.reread_interval, today);
        set_standby(settings_.standby);
    } catch (const std::exception&) {
        report("set_parameter");
    }
    return true;
}

void MainWindow::set_standby(bool on) {
    standby_ = on;
    close_button_->setText(standby_ ? QStringLiteral("Stand By") : QStringLiteral("Ende"));
}

void MainWindow::version_check() {
    const int current = options_.version.number();
    if (!settings_.version || current > *settings_.version) {
        WhatsNewWindow news(options_.version, options_.program_folder, this);
        modal_(news);
    }
    settings_.version = current;
    write_values(store_, settings_, {"Version"});
}

void MainWindow::show_window() {
    update_clock(services_.clock.now());
    switch (placement_of(settings_).state) {
        case StoredWindowState::maximised:
            showMaximized();
            break;
        case StoredWindowState::minimised:
            showMinimized();
            break;
        case StoredWindowState::normal:
            show();
            break;
    }
}

void MainWindow::close_button_clicked() {
    if (standby_) {
        enter_standby();
    } else {
        end_program(true);
    }
}

void MainWindow::standby() {
    set_standby(true);
    close_button_clicked();
}

void MainWindow::exit_program() {
    set_standby(false);
    close_button_clicked();
}

void MainWindow::enter_standby() {
    if (tray_->loaded()) {
        hide();
        return;
    }
    // Without a notification area a hidden window could not be brought back.
    minimised_for_standby_ = true;
    showMinimized();
}

void MainWindow::show_main_window() {
    if (ended_) return;
    if (minimised_for_standby_ || isMinimized()) {
        minimised_for_standby_ = false;
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

StoredWindowState MainWindow::current_state() const {
    if (isMinimized() && !minimised_for_standby_) return StoredWindowState::minimised;
    if (isMaximized()) return StoredWindowState::maximised;
    return StoredWindowState::normal;
}

void MainWindow::end_program(bool save_placement) {
    if (ended_ || ending_) return;
    ending_ = true;
    if (save_placement) keep_placement();
    close();
}

void MainWindow::keep_placement() {
    store_placement(settings_, current_geometry(*this, current_state()));
    write_window_values(store_, settings_, light());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The title bar's × (and the session's end) is "Ende": the placement is kept
    // as the close button keeps it, whatever standby says.
    if (!ending_ && !ended_) keep_placement();
    ending_ = true;
    day_timer_->stop();
    unload_timer_->stop();
    tray_->unload();
    event->accept();
    if (ended_) return;
    ended_ = true;
    if (end_handler_) end_handler_();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) apply_size_rules();
}

void MainWindow::apply_size_rules() {
    if (minimised_for_standby_ && !isMinimized()) minimised_for_standby_ = false;
    if (isMaximized()) {
        was_maximised_ = true;
    } else if (windowState() == Qt::WindowNoState && was_maximised_) {
        // A window started maximised returns to the default size when restored.
        was_maximised_ = false;
        resize(twips_size(*this, kDefaultWidthTwips, kDefaultHeightTwips));
    }
}

}  // namespace merkwald
