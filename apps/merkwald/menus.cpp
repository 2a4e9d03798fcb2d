#include "apps/merkwald/menus.h"

#include <QAction>

namespace merkwald {

MainMenus* install_menus(MainWindow& window, EditorHost& host, const ProgramVersion& version,
                         EntryCommands& entries) {
    auto* records = new RecordCommands(host, &window);
    EditorCommands commands;
    commands.file_new = [&entries] { entries.new_file(); };
    commands.birthdays = [&entries] { entries.enter_birthdays(); };
    commands.import_birthdays = [&entries] { entries.import_birthdays(); };
    commands.appointments = [&entries] { entries.enter_appointments(); };
    commands.converter = [&entries] { entries.convert(); };
    commands.address_book = [&entries] { entries.import_address_book(); };
    commands.record_editor = [records] { records->enter_record(); };
    commands.record_list = [records] { records->show_record_list(); };
    commands.look_ahead = [records] { records->look_ahead(); };
    return new MainMenus(window, std::move(commands), version);
}

void follow_templates(MainMenus& menus, const EntryCommands& entries) {
    // Menu item and toolbar key of each entry that needs a template file.
    const struct {
        const char* item;
        const char* button;
        QAction* source;
    } entries_needing_templates[] = {
        {"GebEingabe", "geb-ein", entries.birthday_action()},
        {"import", "geb-imp", entries.import_action()},
        {"vcard_import", "", entries.import_action()},
        {"TermEingabe", "Termin", entries.appointment_action()},
    };
    for (const auto& e : entries_needing_templates) {
        const bool enabled = e.source->isEnabled();
        if (QAction* item = menus.menu_action(QString::fromLatin1(e.item)))
            item->setEnabled(enabled);
        if (QAction* button = menus.toolbar_action(QString::fromLatin1(e.button)))
            button->setEnabled(enabled);
    }
}

std::unique_ptr<MainWindowHost> compose_full_program(MainWindow& window,
                                                     const ProgramVersion& version) {
    auto host = std::make_unique<MainWindowHost>(window);
    auto* entries = new EntryCommands(*host, &window);
    MainMenus* menus = install_menus(window, *host, version, *entries);
    window.set_initialise_handler([entries, menus] {
        entries->load_templates();
        follow_templates(*menus, *entries);
    });
    return host;
}

}  // namespace merkwald
