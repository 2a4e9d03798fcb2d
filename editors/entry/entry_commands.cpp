#include "editors/entry/entry_commands.h"

#include <QAction>
#include <QMenu>

#include "editors/editor_host.h"
#include "editors/entry/entry_form.h"
#include "editors/files/convert_form.h"
#include "editors/files/import_form.h"
#include "editors/files/new_file_form.h"
#include "editors/files/vcard_import_form.h"

namespace merkwald {

namespace {

QAction* make_action(const char* text, const char* name, QObject* parent) {
    auto* action = new QAction(QString::fromUtf8(text), parent);
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

}  // namespace

EntryCommands::EntryCommands(EditorHost& host, QObject* parent)
    : QObject(parent),
      host_(host),
      birthday_(make_action("&Geburtstage eingeben", "GebEingabe", this)),
      import_(make_action("Geburtstage &importieren", "import", this)),
      appointment_(make_action("&Termine eingeben", "TermEingabe", this)),
      new_file_(make_action("&Neu", "file_new", this)),
      convert_(make_action("&Konvertierung", "convert", this)) {
    birthday_->setToolTip(QStringLiteral("Geburtstage eingeben"));
    import_->setToolTip(QStringLiteral("Geburtstage importieren"));
    appointment_->setToolTip(QStringLiteral("Termin eingeben"));
    connect(birthday_, &QAction::triggered, this, &EntryCommands::enter_birthdays);
    connect(import_, &QAction::triggered, this, &EntryCommands::import_birthdays);
    connect(appointment_, &QAction::triggered, this, &EntryCommands::enter_appointments);
    connect(new_file_, &QAction::triggered, this, &EntryCommands::new_file);
    connect(convert_, &QAction::triggered, this, &EntryCommands::convert);
    set_templates({});
}

void EntryCommands::load_templates() {
    DialogSink sink(host_.services().dialogs, host_.dialog_parent());
    set_templates(merkwald::load_templates(to_path(host_.program_folder()), sink));
}

void EntryCommands::set_templates(TemplateTables templates) {
    templates_ = std::move(templates);
    birthday_->setEnabled(templates_.birthday.found);
    import_->setEnabled(templates_.birthday.found);
    appointment_->setEnabled(templates_.appointment.found);
}

// The quick-entry and import dialogs: one template list and the main file each.
template <class Form>
void EntryCommands::run_entry_dialog(const std::vector<TextTemplate>& templates) {
    host_.run_modal_command([this, &templates] {
        EditorContext editor_context = editor_context_of(host_);
        Form form(host_.dialog_parent(), editor_context, templates, main_file_of(host_));
        form.exec();
        store_entry_presets(editor_context.settings, host_.settings_store(), form.kind(),
                            form.chosen_presets());
    });
}

void EntryCommands::enter_birthdays() {
    run_entry_dialog<BirthdayEntryForm>(templates_.birthday.templates);
}

void EntryCommands::import_birthdays() {
    run_entry_dialog<BirthdayImportForm>(templates_.birthday.templates);
}

void EntryCommands::import_address_book() {
    host_.run_modal_command([this] {
        EditorContext editor_context = editor_context_of(host_);
        EntryPresets presets = entry_presets(editor_context.settings, EntryKind::birthday,
                                             int(templates_.birthday.templates.size()));
        merkwald::import_address_book(host_.dialog_parent(), editor_context,
                                      templates_.birthday.templates,
                                      editor_context.resolve(main_file_of(host_)), presets);
        store_entry_presets(editor_context.settings, host_.settings_store(), EntryKind::birthday,
                            presets);
    });
}

void EntryCommands::enter_appointments() {
    run_entry_dialog<AppointmentEntryForm>(templates_.appointment.templates);
}

void EntryCommands::new_file() {
    host_.run_modal_command([this] {
        EditorContext editor_context = editor_context_of(host_);
        NewFileForm form(
            host_.dialog_parent(), editor_context,
            [this](const std::vector<std::string>& files) { host_.set_main_file(files.front()); });
        form.exec();
    });
}

void EntryCommands::convert() {
    // The clock and the periodic refresh go on while the converter is open.
    {
        EditorContext editor_context = editor_context_of(host_);
        ConvertForm form(host_.dialog_parent(), editor_context);
        form.exec();
    }
    host_.run_modal_command([] {});
}

void add_entry_actions(const EntryCommands& commands, QMenu* file_menu, QMenu* records_menu,
                       QMenu* tools_menu) {
    if (file_menu != nullptr) file_menu->addAction(commands.new_file_action());
    if (records_menu != nullptr) {
        records_menu->addAction(commands.birthday_action());
        records_menu->addAction(commands.import_action());
        records_menu->addAction(commands.appointment_action());
    }
    if (tools_menu != nullptr) tools_menu->addAction(commands.convert_action());
}

}  // namespace merkwald
