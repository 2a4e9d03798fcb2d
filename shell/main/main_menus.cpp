#include "shell/main/main_menus.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QToolBar>

#include "shell/main/day_timers.h"
#include "shell/main/file_check_window.h"
#include "shell/main/main_window.h"
#include "shell/main/window_keys.h"
#include "shell/output/print.h"
#include "shell/platform/toolbar_icons.h"
#include "shell/start/autostart_xdg.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

// Toolbar key, tooltip, and the menu item it runs (empty: the look-ahead).
struct ToolbarButton {
    const char* key;
    const char* tooltip;
    const char* item;
};

constexpr ToolbarButton kToolbar[] = {
    {"open", "Neue Datei öffnen", "file_open"},
    {"export", "Anzeige exportieren", "export"},
    {"print", "Anzeige drucken", "printRTbox"},
    {"geb-ein", "Geburtstage eingeben", "GebEingabe"},
    {"geb-imp", "Geburtstage importieren", "import"},
    {"Termin", "Termin eingeben", "TermEingabe"},
    {"dat-ein", "Datensatz eingeben", "datensatz_eingeben"},
    {"list", "Datensatz Liste", "datensatzliste"},
    {"feiertag", "Feiertage berechnen", "feiertage"},
    {"astro", "Astronomische Berechnungen", "astronom"},
    {"next", "Termine in den nächsten ... Tagen anzeigen", ""},
    {"options", "Optionen", "options"},
    {"help", "Hilfe", "helpcontents"},
};

}  // namespace

MainMenus::MainMenus(MainWindow& window, EditorCommands editors, ProgramVersion version,
                     MenuHooks hooks)
    : QObject(&window),
      window_(window),
      editors_(std::move(editors)),
      version_(version),
      hooks_(std::move(hooks)) {
    if (!hooks_.run_modal) hooks_.run_modal = [](QDialog& dialog) { dialog.exec(); };
    if (!hooks_.ask_printer) {
        hooks_.ask_printer = [this](QPrinter& printer, bool selection) {
            return ask_printer(printer, selection, &window_);
        };
    }
    if (!hooks_.start_program) {
        hooks_.start_program = [](const QString& program, const QStringList& arguments) {
            return QProcess::startDetached(program, arguments);
        };
    }
    if (!hooks_.autostart) {
        hooks_.autostart =
            system_autostart(window_.settings_store(), QCoreApplication::applicationFilePath());
    }
    if (!hooks_.set_standby) {
        hooks_.set_standby = [this](bool on) { window_.set_standby(on); };
    }
    build_menus();
    build_toolbar();
    add_menu_shortcuts(*this);
}

MainMenus::~MainMenus() = default;

QMenu* MainMenus::add_menu(const char* caption, const char* name) {
    QMenu* menu = window_.menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(name));
    return menu;
}

QAction* MainMenus::add_item(QMenu* menu, const char* name, const char* caption, int id,
                             const char* english, std::function<void()> command) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    if (id > 0) {
        action->setData(id);
        action->setProperty("english_caption", QString::fromUtf8(english));
    }
    if (command) {
        connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
    } else {
        action->setEnabled(false);
    }
    return action;
}

void MainMenus::build_menus() {
    const auto own = [this](void (MainMenus::*command)()) {
        return std::function<void()>([this, command] { (this->*command)(); });
    };
    QMenu* file = add_menu("&Datei", "datei");
    file->menuAction()->setData(1);
    add_item(file, "file_new", "&Neu", 0, "", editors_.file_new);
    add_item(file, "file_open", "&Öffnen", 4, "&Open", own(&MainMenus::file_open));
    add_item(file, "export", "E&xportieren...", 5, "E&xport", own(&MainMenus::export_list));
    add_item(file, "printRTbox", "&Drucken...", 6, "&Print", own(&MainMenus::print_list));
    file->addSeparator();
    add_item(file, "standby", "&Stand By", 0, "", [this] { window_.standby(); });
    add_item(file, "exit_programm", "&Ende", 7, "&Exit", [this] { window_.exit_program(); });

    QMenu* records = add_menu("Daten&sätze", "datensätze");
    add_item(records, "GebEingabe", "&Geburtstage eingeben", 8, "&Add birthdays",
             editors_.birthdays);
    add_item(records, "import", "Geburtstage &importieren", 9, "&Import birthdays",
             editors_.import_birthdays);
    add_item(records, "TermEingabe", "&Termine eingeben", 10, "Add &Dates", editors_.appointments);
    records->addSeparator();
    add_item(records, "start_editor", "Texteditor &starten", 11, "&Start text editor",
             own(&MainMenus::start_editor));
    add_item(records, "datensatz_eingeben", "&Datensatz eingeben", 12, "&Edit record",
             editors_.record_editor);
    add_item(records, "datensatzliste", "Datensatz &Liste", 13, "&Record list",
             editors_.record_list);
    records->addSeparator();
    add_item(records, "FromTill", "Ereignisse von ... bis ... anzeigen", 14, "Show &from ... till",
             own(&MainMenus::from_till));

    QMenu* calc = add_menu("&Berechnungen", "berechnungen");
    add_item(calc, "feiertage", "&Feiertage berechnen", 15, "Calculate &holidays",
             own(&MainMenus::holidays));
    add_item(calc, "sonntage", "Kirchliche &Sonntage berechnen", 0, "",
             own(&MainMenus::church_year));
    add_item(calc, "astronom", "&Astronomische Berechnungen", 16, "Astronomical &calculations",
             own(&MainMenus::astronomy));

    QMenu* tools = add_menu("&Tools", "tools");
    tools->menuAction()->setData(2);
    add_item(tools, "convert", "&Konvertierung", 0, "", editors_.converter);
    add_item(tools, "vcard_import", "Geburtstage aus &Adressbuch importieren", 0, "",
             editors_.address_book);
    add_item(tools, "check_files", "Dateien &prüfen", 0, "", [this] {
        paused([this] {
            FileCheckWindow window(file_check_report(window_.engine_state(), window_.main_file()),
                                   &window_);
            run_modal(window);
        });
    });
    add_item(tools, "options", "&Optionen...", 17, "&Options", own(&MainMenus::options));

    QMenu* help = add_menu("&Hilfe", "help");
    help->menuAction()->setData(3);
    add_item(help, "helpcontents", "&Inhalt", 18, "&Content", own(&MainMenus::help_contents));
    add_item(help, "about", "&Über Merkwald", 19, "&About Merkwald", own(&MainMenus::about));
}

void MainMenus::build_toolbar() {
    toolbar_ = new QToolBar(QStringLiteral("Werkzeugleiste"), &window_);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolbarButton& button : kToolbar) {
        const QString key = QString::fromLatin1(button.key);
        QAction* action = toolbar_->addAction(toolbar_icon(key), QString::fromUtf8(button.tooltip));
        action->setObjectName(key);
        action->setToolTip(QString::fromUtf8(button.tooltip));
        // An icon without words: the screen reader's name is the tooltip's text.
        if (QWidget* widget = toolbar_->widgetForAction(action))
            widget->setAccessibleName(QString::fromUtf8(button.tooltip));
        if (*button.item == '\0') {
            const auto command = editors_.look_ahead;
            action->setEnabled(bool(command));
            if (command) connect(action, &QAction::triggered, this, [command] { command(); });
        } else {
            QAction* item = menu_action(QString::fromLatin1(button.item));
            action->setEnabled(item->isEnabled());
            connect(action, &QAction::triggered, item, &QAction::trigger);
        }
        // The help and options buttons stand apart from the record commands.
        if (key == QLatin1String("print") || key == QLatin1String("list") ||
            key == QLatin1String("next"))
            toolbar_->addSeparator();
    }
    window_.addToolBar(Qt::TopToolBarArea, toolbar_);
}

QAction* MainMenus::menu_action(const QString& name) const {
    return window_.menuBar()->findChild<QAction*>(name);
}

QAction* MainMenus::toolbar_action(const QString& key) const {
    for (QAction* action : toolbar_->actions())
        if (action->objectName() == key) return action;
    return nullptr;
}

void MainMenus::paused(const std::function<void()>& command) {
    DayTimer& timer = window_.day_timer();
    const bool was_running = timer.running();
    timer.stop();
    command();
    if (was_running && !window_.ended()) timer.start();
}

void MainMenus::run_modal(QDialog& dialog) { hooks_.run_modal(dialog); }

QString MainMenus::main_file_path() const {
    return QDir(window_.program_folder()).absoluteFilePath(to_qstring(window_.main_file()));
}

}  // namespace merkwald
