#pragma once
// The main window's commands for the quick entry of birthdays and
// appointments, the birthday import, a new reminder file and the converter.
// The entries that need a template file stay disabled when it was missing at
// start-up.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "editing/templates.h"
#include "editors/editor_context.h"

class QAction;
class QMenu;

namespace merkwald {

class EditorHost;

class EntryCommands final : public QObject {
    Q_OBJECT
public:
    // Without templates every entry that needs them is disabled until
    // `load_templates` or `set_templates`.
    EntryCommands(EditorHost& host, QObject* parent);

    // Reads "geb_text.dat" and "term_text.dat" from the program folder (once per
    // start), reporting a missing file with a message box.
    void load_templates();
    void set_templates(TemplateTables templates);
    [[nodiscard]] const TemplateTables& templates() const { return templates_; }

    void enter_birthdays();     // "&Geburtstage eingeben" (`GebEingabe`)
    void import_birthdays();    // "Geburtstage &importieren" (`import`)
    void enter_appointments();  // "&Termine eingeben" (`TermEingabe`)
    void new_file();            // "&Neu" (`file_new`)
    void convert();             // "&Konvertierung" (`convert`)
    // "Geburtstage aus Adressbuch importieren" (`vcard_import`)
    void import_address_book();

    [[nodiscard]] QAction* birthday_action() const { return birthday_; }
    [[nodiscard]] QAction* import_action() const { return import_; }
    [[nodiscard]] QAction* appointment_action() const { return appointment_; }
    [[nodiscard]] QAction* new_file_action() const { return new_file_; }
    [[nodiscard]] QAction* convert_action() const { return convert_; }

private:
    template <class Form>
    void run_entry_dialog(const std::vector<TextTemplate>& templates);

    EditorHost& host_;
    TemplateTables templates_;
    QAction* birthday_;
    QAction* import_;
    QAction* appointment_;
    QAction* new_file_;
    QAction* convert_;
};

// Puts the actions into the given menus (any may be null): "&Neu" into the
// file menu, the three entry commands into the records menu, "&Konvertierung"
// into the tools menu.
void add_entry_actions(const EntryCommands& commands, QMenu* file_menu, QMenu* records_menu,
                       QMenu* tools_menu);

}  // namespace merkwald
