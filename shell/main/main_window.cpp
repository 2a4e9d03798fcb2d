#include "shell/main/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <exception>

#include "calendar/moon.h"
#include "engine/date_text.h"
#include "engine/number.h"
#include "engine/refresh.h"
#include "settings/name_day_setting.h"
#include "settings/program_folder.h"
#include "settings/qt_bridges.h"
#include "shell/calendar/moon_picture.h"
#include "shell/main/day_timers.h"
#include "shell/main/file_message_sink.h"
#include "shell/main/list_render.h"
#include "shell/main/window_keys.h"
#include "shell/start/start_windows.h"
#include "shell/tray/tray.h"
#include "shell/widgets/path_label.h"

namespace merkwald {
namespace {

constexpr int kFullMinWidth = 6900, kFullMinHeight = 6390;
constexpr int kLightMinSize = 3000;
// The light list's margins inside the window: 240 twips across, 550 down (with
// the button row).
constexpr int kLightMarginTwips = 120;

// A count as its decimal text with the sign's place: " 3", "-1".
QString count_text(int n) { return n >= 0 ? u' ' + QString::number(n) : QString::number(n); }

}  // namespace

MainWindow::MainWindow(SettingsStore& store, Services services, WindowOptions options,
                       QWidget* parent)
    : QMainWindow(parent),
      store_(store),
      services_(services),
      options_(std::move(options)),
      settings_(default_settings(options_.program_folder)),
      engine_state_(EngineSettings{}, DaySerial{}, to_path(options_.program_folder)),
      sink_(services_.dialogs, this),
      end_handler_([] { QCoreApplication::exit(0); }),
      modal_([](QDialog& dialog) { dialog.exec(); }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(caption());
    build_controls();
    add_window_keys(*this, [this] {
        set_today(services_.clock.now());
        show_data();
    });
    DayTimer::Handlers day;
    day.second = [this](const QDateTime& now) { update_clock(now); };
    day.reread = [this] {
        if (!isVisible() || minimised_for_standby_) show_main_window();
        set_today(services_.clock.now());
        show_data();
    };
    day.new_day = [this] {
        set_today(services_.clock.now());
        show_data();
    };
    day_timer_ = new DayTimer(services_.clock, std::move(day), this);
    UnloadTimer::Handlers unload;
    unload.count = [this](int remaining) { count_down(remaining); };
    unload.elapsed = [this] { countdown_elapsed(); };
    unload_timer_ =
        new UnloadTimer(options_.command_line.unload_seconds(), std::move(unload), this);
    TrayIcon::Handlers tray;
    tray.show_main = [this] { show_main_window(); };
    tray.toggle_main = [this] {
        if (isVisible() && !isMinimized()) {
            enter_standby();
        } else {
            show_main_window();
        }
    };
    tray.end = [this] { end_program(true); };
    const QIcon icon = program_icon(options_.program_folder, light());
    setWindowIcon(icon);
    tray_ = std::make_unique<TrayIcon>(icon, std::move(tray));
    // Every part of the program that stores a setting writes through this store.
    store_.set_notice_handler([this](const std::string& text) {
        services_.dialogs.message(this, to_qstring(text), MessageIcon::exclamation);
    });
}

MainWindow::~MainWindow() { store_.set_notice_handler({}); }

QString MainWindow::caption() const {
    return (light() ? QStringLiteral("Merkwald light - Version ")
                    : QStringLiteral("Merkwald - Version ")) +
           options_.version.text();
}

std::string MainWindow::main_file() const {
    // A file chosen at run time wins over "/file=", which would otherwise bring
    // the command line's file back at every refresh.
    if (chosen_main_file_) return *chosen_main_file_;
    return options_.command_line.file().value_or(settings_.data_filename);
}

void MainWindow::build_controls() {
    auto* central = new QWidget(this);
    event_list_ = new QTextEdit(central);
    event_list_->setObjectName(QStringLiteral("RTBox1"));
    event_list_->setReadOnly(true);
    event_list_->setUndoRedoEnabled(false);
    close_button_ = new QPushButton(QStringLiteral("Ende"), central);
    close_button_->setObjectName(QStringLiteral("Command1"));
    connect(close_button_, &QPushButton::clicked, this, &MainWindow::close_button_clicked);
    file_label_ = new QLabel(central);
    file_label_->setObjectName(QStringLiteral("Label1"));
    prepare_path_label(*file_label_);
    auto* layout = new QVBoxLayout(central);
    if (light()) {
        const QSize margin = twips_size(*this, kLightMarginTwips, kLightMarginTwips);
        layout->setContentsMargins(margin.width(), margin.height(), margin.width(),
                                   margin.height());
        layout->addWidget(event_list_, 1);
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(file_label_, 1);
        bottom->addWidget(close_button_);
        layout->addLayout(bottom);
        setMinimumSize(twips_size(*this, kLightMinSize, kLightMinSize));
    } else {
        auto* top = new QHBoxLayout;
        top->addWidget(event_list_, 1);
        top->addWidget(build_side_panel());
        layout->addLayout(top, 1);
        layout->addWidget(file_label_);
        setMinimumSize(twips_size(*this, kFullMinWidth, kFullMinHeight));
    }
    setCentralWidget(central);
}

QWidget* MainWindow::build_side_panel() {
    side_panel_ = new QWidget;
    side_panel_->setObjectName(QStringLiteral("TabPic"));
    moon_picture_ = new MoonPicture(side_panel_);
    moon_picture_->setObjectName(QStringLiteral("Picture2"));
    auto* panel = new QVBoxLayout(side_panel_);
    panel->addWidget(moon_picture_, 0, Qt::AlignHCenter);
    const auto add_label = [&](const char* name) {
        auto* label = new QLabel(side_panel_);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignHCenter);
        panel->addWidget(label);
        return label;
    };
    clock_label_ = add_label("Label3");
    day_of_year_label_ = add_label("Label4");
    week_label_ = add_label("Label5");
    quarter_label_ = add_label("Label6");
    panel->addStretch(1);
    panel->addWidget(close_button_);
    return side_panel_;
}

void MainWindow::report(const char* procedure) {
    services_.dialogs.message(
        this, QStringLiteral("Fehler in %1 bitte Autor benachrichtigen").arg(procedure),
        MessageIcon::critical);
}

void MainWindow::show_data() {
    if (ended_) return;
    // A refresh asked for while one runs (a file change or an import's write
    // while the reader's message box is open) would clear the tables the running
    // one is filling: it runs once after it instead.
    if (refreshing_) {
        refresh_pending_ = true;
        return;
    }
    refreshing_ = true;
    do {
        refresh_pending_ = false;
        refresh_once();
    } while (refresh_pending_ && !ended_);
    refreshing_ = false;
}

void MainWindow::refresh_once() {
    // Read into tables of its own: the window keeps showing (and redrawing from)
    // the last complete list until this one is whole.
    RefreshTables fresh;
    try {
        engine_state_.settings = to_engine_settings(settings_, light());
        engine_state_.program_folder = to_path(options_.program_folder);
        engine_state_.sound_mark = false;
        // The calendar feed and the CalDAV calendar evaluate the records of this
        // read on the coming days.
        fresh.capture = settings_.calendar_feed.empty() && settings_.caldav_url.empty()
                            ? RefreshTables::Capture::none
                            : RefreshTables::Capture::also;
        // The name days look for the people in the birthday records.
        if (name_day_choice(settings_) != NameDayChoice::none &&
            fresh.capture == RefreshTables::Capture::none)
            fresh.capture = RefreshTables::Capture::people;
        FileNamingSink sink(sink_, engine_state_, fresh);
        refresh(engine_state_, fresh, main_file(), sink);
        add_shipped_name_days(engine_state_, fresh, settings_, options_.program_folder, sink);
    } catch (const std::exception&) {
        report("show_data");
    }
    if (ended_) return;
    // A newer refresh is waiting: this one's result is already stale.
    if (refresh_pending_) return;
    tables_ = std::move(fresh);
    if (options_.command_line.no_events() && tables_.lines.empty()) {
        end_program(false);
        return;
    }
    display();
    play_sound();
    if (refresh_handler_) refresh_handler_();
}

void MainWindow::show_data_with_lead_days(int days) {
    engine_state_.lead_days = days;
    show_data();
    engine_state_.lead_days.reset();
}

void MainWindow::display() {
    // A failed read shows the day's heading on the list's background and no
    // entries: the message box named the file, and an old list would carry an
    // old date.
    SortedList sorted;
    try {
        if (tables_.read_ok) sorted = sort_by_group(engine_state_, tables_);
    } catch (const std::exception&) {
        report("sort_by_group");
    }
    try {
        ListLook look = list_look(settings_);
        if (light()) look.hanging_blanks = 2;
        render_list(*event_list_,
                    compose_list(engine_state_, sorted, list_style(settings_, light())), look);
        if (side_panel_) set_background(*side_panel_, look.background);
        tray_->set_tooltip(tray_tooltip(tables_.lines));
    } catch (const std::exception&) {
        report("display");
    }
}

void MainWindow::play_sound() {
    if (!engine_state_.sound_mark || !settings_.play_sound) return;
    engine_state_.sound_mark = false;
    const QString file = to_qstring(settings_.sound_file);
    services_.sound.play(QDir::isAbsolutePath(file) ? file
                                                    : program_file(options_.program_folder, file));
}

void MainWindow::run_modal_command(const std::function<void()>& command, bool refresh_after) {
    const bool was_running = day_timer_->running();
    day_timer_->stop();
    command();
    if (ended_) return;
    if (was_running) day_timer_->start();
    if (refresh_after) {
        show_data();
    } else {
        display();
    }
}

void MainWindow::show_missed_events() {
    if (ended_ || tables_.missed.empty() || !settings_.missed_events) return;
    const MissedView view = missed_view(engine_state_, tables_, sink_);
    MissedEventsWindow window(to_qt_text(view.caption), to_qt_text(view.text), this);
    modal_(window);
}

void MainWindow::update_file_label() {
    const QString file = QDir::toNativeSeparators(to_qstring(main_file()));
    show_path(*file_label_, file,
              QDir::toNativeSeparators(QDir(options_.program_folder).absoluteFilePath(file)));
}

void MainWindow::update_clock(const QDateTime& now) {
    update_file_label();
    if (light()) return;
    const DaySerial day = to_day_serial(now.date());
    const int second = second_of_day(now.time());
    const MoonPhase moon = moon_phase(day, second, leading_value(settings_.diff_to_gmt),
                                      summer_time_on(settings_, day));
    moon_picture_->set_index(moon_picture_index(moon.age));
    clock_label_->setText(to_qstring(format_datetime({day, second}, "h:mm:ss")));
    const DaySerial today = engine_state_.today;
    day_of_year_label_->setText(to_qstring(format_date(today, "y")) + QStringLiteral(". Tag"));
    week_label_->setText(QString::number(iso_week(today)) + QStringLiteral(". Woche"));
    quarter_label_->setText(to_qstring(format_date(today, "q")) + QStringLiteral(". Quartal"));
}

void MainWindow::set_today(const QDateTime& now) {
    engine_state_.today = to_day_serial(now.date());
}

void MainWindow::count_down(int remaining) {
    setWindowTitle(light() ? QStringLiteral("Merkwald light - ") + count_text(remaining) +
                                 QStringLiteral(" Sekunden bis zum schließen")
                           : QStringLiteral("Merkwald - Automatisches Schliessen in") +
                                 count_text(remaining) + QStringLiteral(" Sekunden"));
}

void MainWindow::countdown_elapsed() {
    if (light()) {
        close_button_clicked();
    } else {
        exit_program();
    }
    // Hidden by standby instead of ended: it comes back with its own caption.
    if (!ended_) setWindowTitle(caption());
}

}  // namespace merkwald
