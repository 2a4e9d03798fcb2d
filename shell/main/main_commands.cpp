// The commands of the main window's menus that this library carries out itself.

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextEdit>

#include "calendar/date_serial.h"
#include "settings/program_folder.h"
#include "shell/calendar/astro_window.h"
#include "shell/calendar/feast_windows.h"
#include "shell/calendar/range_window.h"
#include "shell/main/day_timers.h"
#include "shell/main/help_window.h"
#include "shell/main/main_menus.h"
#include "shell/main/main_window.h"
#include "shell/options/options_dialog.h"
#include "shell/output/export.h"
#include "shell/output/export_choice.h"
#include "shell/output/print.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

constexpr char kOpenFilter[] =
    "Alle Dateien (*.*)|*.*|Merkwald Dateien (*.rmd)|*.rmd|Text Dateien (*.txt)|*.txt";
constexpr char kExportFilter[] =
    "Text Dateien (*.txt)|*.txt|All Files (*.*)|*.*|RTF-Files (*.rtf)|*.rtf";
#ifdef Q_OS_WIN
constexpr char kEditorFilter[] = "*.exe Files | *.exe";
#else
constexpr char kEditorFilter[] = "Programme|*";
#endif

}  // namespace

void MainMenus::file_open() {
    paused([this] {
        const QString chosen = window_.services().dialogs.open_file_name(
            &window_, QStringLiteral("Datei öffnen"), window_.program_folder(),
            qt_filter(kOpenFilter, 2));
        if (chosen.isEmpty()) return;
        // For this run only: the settings keep naming the file of the next start.
        window_.set_main_file(to_utf8(QDir::toNativeSeparators(chosen)));
        window_.show_data();
        window_.show_missed_events();
    });
}

void MainMenus::export_list() {
    paused([this] {
        const QString filter = qt_filter(kExportFilter, 3);
        QString chosen_filter = filter.section(QStringLiteral(";;"), 0, 0);
        const QString chosen = window_.services().dialogs.save_file_name_of_type(
            &window_, QStringLiteral("Anzeige exportieren"), window_.program_folder(), filter,
            chosen_filter);
        if (chosen.isEmpty()) return;
        const ExportTarget target = export_target(chosen, chosen_filter);
        const QString& name = target.file_name;
        const QColor background = to_qcolor(std::uint32_t(window_.settings().background_color));
        if (!merkwald::export_list(*window_.event_list().document(), background, name,
                                   target.format)) {
            window_.services().dialogs.message(&window_, not_written_text(name),
                                               MessageIcon::critical);
        }
    });
}

void MainMenus::print_list() {
    paused([this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("Merkwald"));
        const bool selection = window_.event_list().textCursor().hasSelection();
        if (!hooks_.ask_printer(printer, selection)) return;
        merkwald::print_list(window_.event_list(), printer);
    });
}

void MainMenus::start_editor() {
    const QString editor = to_qstring(window_.settings().editor_filename).trimmed();
    if (!editor.isEmpty() && hooks_.start_program(editor, {main_file_path()})) return;
    paused([this] {
        const QString chosen = window_.services().dialogs.open_file_name(
            &window_, QStringLiteral("Editor auswählen"), QString(), qt_filter(kEditorFilter));
        // For this run; the user gives the command again.
        if (!chosen.isEmpty()) window_.settings().editor_filename = to_utf8(chosen);
    });
}

void MainMenus::from_till() {
    paused([this] {
        RangeWindow window(
            {window_.settings(), window_.engine_state(), window_.main_file(), window_.services()},
            window_.services().clock.now().date(), &window_);
        run_modal(window);
    });
}

void MainMenus::holidays() {
    paused([this] {
        HolidayListWindow window(ymd_of(window_.engine_state().today).year, &window_);
        if (const auto state = state_from_code(window_.settings().state))
            window.show_state_days(*state);
        run_modal(window);
    });
}

void MainMenus::church_year() {
    paused([this] {
        ChurchYearWindow window(ymd_of(window_.engine_state().today).year, &window_);
        run_modal(window);
    });
}

void MainMenus::astronomy() {
    paused([this] {
        AstronomyWindow window(window_.settings(), window_.program_folder(), window_.services(),
                               &window_);
        run_modal(window);
    });
}

void MainMenus::options() {
    Settings& settings = window_.settings();
    const Settings before = settings;
    const std::int32_t interval = settings.reread_interval;
    AutostartEntry* autostart = hooks_.autostart.get();
    bool accepted = false;
    window_.run_modal_command(
        [&] {
            std::vector<std::filesystem::path> list_files;
            for (const std::string& file : window_.refresh_tables().files)
                list_files.push_back(window_.engine_state().resolve(file));
            OptionsDialog dialog(
                {settings, autostart ? std::optional(autostart->current()) : std::nullopt,
                 window_.program_folder(), window_.services(), window_.event_list().font(),
                 std::move(list_files), window_.settings_store().file_name()},
                &window_);
            // Boxes, colours and the font take effect while the dialog is open.
            dialog.set_change_handler([this, &settings](const Settings& changed) {
                const bool standby_changed = changed.standby != settings.standby;
                settings = changed;
                if (standby_changed) hooks_.set_standby(changed.standby);
            });
            run_modal(dialog);
            accepted = dialog.result() == QDialog::Accepted;
            if (!accepted) {
                // "Abbrechen" takes back what the boxes and buttons did meanwhile.
                if (settings.standby != before.standby) hooks_.set_standby(before.standby);
                settings = before;
                return;
            }
            settings = dialog.chosen_settings();
            window_.settings_store().report_next_failure();
            // The store tells its own failures; the log-on entry is said here.
            const bool entry_ok =
                autostart == nullptr || autostart->apply(dialog.chosen_autostart());
            store_options(window_.settings_store(), settings, dialog.chosen_autostart(), nullptr);
            if (!entry_ok)
                window_.services().dialogs.message(
                    &window_,
                    QStringLiteral(
                        "Der Eintrag für den Start beim Anmelden konnte nicht geschrieben werden."),
                    MessageIcon::exclamation);
        },
        false);
    // Grouping, place, colours and fonts reach the list only through a re-read.
    if (accepted) window_.show_data();
    if (accepted && settings.reread_interval != interval)
        window_.day_timer().start_schedule(settings.reread_interval, window_.engine_state().today);
}

void MainMenus::help_contents() {
    QStringList folders{
        program_file_folder(window_.program_folder(), QString::fromLatin1(kHelpFileName)),
        window_.program_folder(), QCoreApplication::applicationDirPath()};
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/merkwald");
    folders << hooks_.help_folders;
    const QString file = find_help_file(folders);
    if (file.isEmpty()) {
        window_.services().dialogs.message(
            &window_, QStringLiteral("Die Hilfedatei merkwald.html wurde nicht gefunden."),
            MessageIcon::exclamation);
        return;
    }
    if (!help_) help_ = new HelpWindow(&window_);
    help_->show_contents(file);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainMenus::about() {
    paused([this] {
        AboutWindow window(version_, &window_);
        window.setWindowIcon(window_.windowIcon());
        run_modal(window);
    });
}

}  // namespace merkwald
