#pragma once
// The full program's menu bar and toolbar `Toolbar1` on the main window, and the commands
// behind them that act on the list or open the windows of this library: open,
// export, print, the external editor, the calendar and astronomy windows, the
// events of a range of days, the options, help and About.
//
// The editing tools' commands come from outside (they live in a library that
// builds on this one) as whole commands: each pauses the day timer around its window
// and refreshes afterwards itself, as the record commands do.

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "settings/settings.h"
#include "shell/start/program_version.h"

class QAction;
class QDialog;
class QMenu;
class QPrinter;
class QToolBar;

namespace merkwald {

class MainWindow;
class HelpWindow;

struct EditorCommands {
    std::function<void()> file_new;          // "&Neu"
    std::function<void()> birthdays;         // "&Geburtstage eingeben"
    std::function<void()> import_birthdays;  // "Geburtstage &importieren"
    std::function<void()> appointments;      // "&Termine eingeben"
    std::function<void()> record_editor;     // "&Datensatz eingeben"
    std::function<void()> record_list;       // "Datensatz &Liste"
    std::function<void()> look_ahead;        // toolbar "next"
    std::function<void()> converter;         // "&Konvertierung"
    std::function<void()> address_book;      // "Geburtstage aus &Adressbuch importieren"
};

// What the tests replace; each empty member takes the platform's own.
struct MenuHooks {
    std::function<void(QDialog&)> run_modal;                         // exec()
    std::function<bool(QPrinter&, bool has_selection)> ask_printer;  // the print dialog
    // Starts a program detached; false when it could not be started.
    std::function<bool(const QString& program, const QStringList& arguments)> start_program;
    std::unique_ptr<AutostartEntry> autostart;  // the system's autostart entry
    // The main window's standby flag and the caption of its close button.
    std::function<void(bool)> set_standby;
    QStringList help_folders;  // where merkwald.html is looked for, after the program folder
};

class MainMenus final : public QObject {
public:
    MainMenus(MainWindow& window, EditorCommands editors, ProgramVersion version,
              MenuHooks hooks = {});
    ~MainMenus() override;

    // A menu item by its name (`file_open`, `export`, ...) or a toolbar button by
    // its key ("open", "export", ...); null when there is none.
    [[nodiscard]] QAction* menu_action(const QString& name) const;
    [[nodiscard]] QAction* toolbar_action(const QString& key) const;
    [[nodiscard]] QToolBar* toolbar() const { return toolbar_; }
    [[nodiscard]] HelpWindow* help_window() const { return help_; }

    void file_open();
    void export_list();
    void print_list();
    void start_editor();
    void from_till();
    void holidays();
    void church_year();
    void astronomy();
    void options();
    void help_contents();
    void about();

private:
    void build_menus();
    void build_toolbar();
    QMenu* add_menu(const char* caption, const char* name);
    QAction* add_item(QMenu* menu, const char* name, const char* caption, int id,
                      const char* english, std::function<void()> command);
    void paused(const std::function<void()>& command);
    void run_modal(QDialog& dialog);
    [[nodiscard]] QString main_file_path() const;

    MainWindow& window_;
    EditorCommands editors_;
    ProgramVersion version_;
    MenuHooks hooks_;
    QToolBar* toolbar_ = nullptr;
    HelpWindow* help_ = nullptr;  // made on first use, owned by the main window
};

}  // namespace merkwald
