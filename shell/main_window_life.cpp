// Form1's life: the start, standby, the window's size rules and the end.

#include <QCloseEvent>
#include <QDir>
#include <QPushButton>
#include <exception>

#include "engine/date_text.h"
#include "shell/day_timers.h"
#include "shell/main_window.h"
#include "shell/start_windows.h"
#include "shell/tray.h"

namespace merkwald {

bool Form1::start() {
    if (!light() && !options_.command_line.no_logo()) {
        Intro intro(options_.version);
        modal_(intro);
    }
    if (!set_parameter()) return false;
    show_data();
    if (ended_) return false;
    if (!light()) version_check();
    show_missed_events();
    tray_->load();
    show_window();
    timer1_->start();
    timer2_->start();
    return !ended_;
}

bool Form1::set_parameter() {
    try {
        setWindowTitle(caption());
        QDir::setCurrent(options_.program_folder);
        const QDateTime now = services_.clock.now();
        const DaySerial today = day_serial(now.date());
        ReadOptions read;
        read.program_folder = options_.program_folder;
        read.today = format_date(today, "dd.mm.yy");
        read.command_line = options_.command_line.text();
        read.light = light();
        if (read_registry(store_, settings_, read, sink_) == ReadOutcome::end_silently) {
            end_program(false);
            return false;
        }
        const Placement placement = placement_of(settings_);
        apply_geometry(*this, placement);
        was_maximised_ = placement.state == StoredWindowState::maximised;
        engine_state_ = EngineState(to_engine_settings(settings_, light()), today,
                                    options_.program_folder.toStdString());
        // The full program loads its entry templates here (their messages come
        // after the start-once test and before the first list).
        if (initialise_handler_) initialise_handler_();
        timer1_->start_schedule(settings_.intervall, today);
        set_standby(settings_.standby);
    } catch (const std::exception&) {
        report("set_parameter");
    }
    return true;
}

void Form1::set_standby(bool on) {
    standby_ = on;
    command1_->setText(standby_ ? QStringLiteral("Stand By") : QStringLiteral("Ende"));
}

void Form1::version_check() {
    const int current = options_.version.number();
    if (!settings_.version || current > *settings_.version) {
        FirstStart news(options_.version, options_.program_folder, this);
        modal_(news);
    }
    settings_.version = current;
    write_values(store_, settings_, {"Version"});
}

void Form1::show_window() {
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

void Form1::command1_click() {
    if (standby_) {
        enter_standby();
    } else {
        end_program(true);
    }
}

void Form1::standby() {
    standby_ = true;
    command1_->setText(QStringLiteral("Stand By"));
    command1_click();
}

void Form1::exit_programm() {
    standby_ = false;
    command1_->setText(QStringLiteral("Ende"));
    command1_click();
}

void Form1::enter_standby() {
    if (tray_->loaded()) {
        hide();
        return;
    }
    // Without a notification area a hidden window could not be brought back.
    minimised_for_standby_ = true;
    showMinimized();
}

void Form1::show_main_window() {
    if (ended_) return;
    if (minimised_for_standby_ || isMinimized()) {
        minimised_for_standby_ = false;
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

StoredWindowState Form1::current_state() const {
    if (isMinimized() && !minimised_for_standby_) return StoredWindowState::minimised;
    if (isMaximized()) return StoredWindowState::maximised;
    return StoredWindowState::normal;
}

void Form1::end_program(bool save_placement) {
    if (ended_ || ending_) return;
    ending_ = true;
    if (save_placement) {
        store_placement(settings_, current_geometry(*this, current_state()));
        write_window_values(store_, settings_, light());
    }
    close();
}

void Form1::closeEvent(QCloseEvent* event) {
    // The title bar and the system end the program too, without storing the placement.
    ending_ = true;
    timer1_->stop();
    timer2_->stop();
    tray_->unload();
    event->accept();
    if (ended_) return;
    ended_ = true;
    if (end_handler_) end_handler_();
}

void Form1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) apply_size_rules();
}

void Form1::apply_size_rules() {
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
