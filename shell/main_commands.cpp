// The commands of the main window's menus that this library carries out itself.

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextEdit>

#include "calendar/date_serial.h"
#include "shell/astro_window.h"
#include "shell/day_timers.h"
#include "shell/export.h"
#include "shell/feast_windows.h"
#include "shell/help_window.h"
#include "shell/main_menus.h"
#include "shell/main_window.h"
#include "shell/options_dialog.h"
#include "shell/print.h"
#include "shell/program_folder.h"
#include "shell/range_window.h"
#include "shell/window_helpers.h"

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
        const QString chosen = form_.services().dialogs.open_file_name(
            &form_, QStringLiteral("Datei öffnen"), form_.program_folder(),
            qt_filter(kOpenFilter, 2));
        if (chosen.isEmpty()) return;
        // For this run only: the settings keep naming the file of the next start.
        form_.set_main_file(utf8(QDir::toNativeSeparators(chosen)));
        form_.show_data();
        form_.show_missed_events();
    });
}

void MainMenus::export_list() {
    paused([this] {
        QString name = form_.services().dialogs.save_file_name(
            &form_, QStringLiteral("Anzeige exportieren"), form_.program_folder(),
            qt_filter(kExportFilter, 3));
        if (name.isEmpty()) return;
        name = with_default_extension(name);
        const QColor background = to_qcolor(std::uint32_t(form_.settings().background_color));
        if (!merkwald::export_list(*form_.rtbox1().document(), background, name,
                                   export_format(name))) {
            form_.services().dialogs.message(
                &form_,
                QStringLiteral("Die Datei %1 konnte nicht geschrieben werden.")
                    .arg(QDir::toNativeSeparators(name)),
                MessageIcon::critical);
        }
    });
}

void MainMenus::print_list() {
    paused([this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("Merkwald"));
        const bool selection = form_.rtbox1().textCursor().hasSelection();
        if (!hooks_.ask_printer(printer, selection)) return;
        merkwald::print_list(form_.rtbox1(), printer);
    });
}

void MainMenus::start_editor() {
    const QString editor = qstr(form_.settings().editor_filename).trimmed();
    if (!editor.isEmpty() && hooks_.start_program(editor, {main_file_path()})) return;
    paused([this] {
        const QString chosen = form_.services().dialogs.open_file_name(
            &form_, QStringLiteral("Editor auswählen"), QString(), qt_filter(kEditorFilter));
        // For this run; the user gives the command again.
        if (!chosen.isEmpty()) form_.settings().editor_filename = utf8(chosen);
    });
}

void MainMenus::from_till() {
    paused([this] {
        RangeWindow window({form_.settings(), form_.engine_state(), form_.main_file(),
                            form_.services()},
                           form_.services().clock.now().date(), &form_);
        run_modal(window);
    });
}

void MainMenus::feiertage() {
    paused([this] {
        Calc1 window(ymd_of(form_.engine_state().today).year, &form_);
        run_modal(window);
    });
}

void MainMenus::sonntage() {
    paused([this] {
        Calc2 window(ymd_of(form_.engine_state().today).year, &form_);
        run_modal(window);
    });
}

void MainMenus::astronom() {
    paused([this] {
        AstroForm window(form_.settings(), form_.program_folder(), form_.services(), &form_);
        run_modal(window);
    });
}

void MainMenus::options() {
    Settings& settings = form_.settings();
    const std::int32_t interval = settings.intervall;
    bool accepted = false;
    form_.run_modal_command(
        [&] {
            FormOptions dialog({settings, form_.settings_store(), hooks_.autostart.get(),
                                form_.program_folder(), form_.services(),
                                form_.rtbox1().font(), hooks_.set_standby},
                               &form_);
            run_modal(dialog);
            accepted = dialog.result() == QDialog::Accepted;
        },
        false);
    if (accepted && settings.intervall != interval)
        form_.timer1().start_schedule(settings.intervall, form_.engine_state().today);
}

void MainMenus::helpcontents() {
    QStringList folders{
        program_file_folder(form_.program_folder(), QString::fromLatin1(kHelpFileName)),
        form_.program_folder(), QCoreApplication::applicationDirPath()};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/merkwald");
    folders << hooks_.help_folders;
    const QString file = find_help_file(folders);
    if (file.isEmpty()) {
        form_.services().dialogs.message(
            &form_, QStringLiteral("Die Hilfedatei merkwald.html wurde nicht gefunden."),
            MessageIcon::exclamation);
        return;
    }
    if (!help_) help_ = new HelpWindow(&form_);
    help_->show_contents(file);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainMenus::about() {
    paused([this] {
        FormAbout window(version_, &form_);
        window.setWindowIcon(form_.windowIcon());
        run_modal(window);
    });
}

}  // namespace merkwald
