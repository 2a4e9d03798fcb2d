#include "editors/records/record_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "editors/records/record_edit.h"
#include "editors/records/record_list.h"
#include "editors/records/small_dialogs.h"

namespace merkwald {

namespace {

void store_record_presets(EditorHost& host) {
    write_values(host.settings_store(), host.settings(), {"DaysBefore", "PrefGroup"});
}

}  // namespace

RecordCommands::RecordCommands(EditorHost& host, QObject* parent)
    : QObject(parent),
      host_(host),
      enter_(new QAction(QStringLiteral("&Datensatz eingeben"), this)),
      list_(new QAction(QStringLiteral("Datensatz &Liste"), this)),
      next_(new QAction(QStringLiteral("Termine in den nächsten ... Tagen anzeigen"), this)) {
    enter_->setObjectName(QStringLiteral("datensatz_eingeben"));
    list_->setObjectName(QStringLiteral("datensatzliste"));
    next_->setObjectName(QStringLiteral("next"));
    next_->setToolTip(QStringLiteral("Termine in den nächsten ... Tagen anzeigen"));
    connect(enter_, &QAction::triggered, this, &RecordCommands::enter_record);
    connect(list_, &QAction::triggered, this, &RecordCommands::show_record_list);
    connect(next_, &QAction::triggered, this, &RecordCommands::look_ahead);
}

void RecordCommands::enter_record() {
    host_.run_modal_command([this] {
        EditorContext editor_context = editor_context_of(host_);
        EditingState state;
        state.current_file = editor_context.resolve(main_file_of(host_));
        DialogSink sink(host_.services().dialogs, host_.dialog_parent());
        rescan(state, sink);
        state.current_record = state.record_count() + 1;
        RecordEdit editor(host_.dialog_parent(), editor_context, state);
        editor.exec();
        if (const auto& presets = editor.chosen_presets()) {
            apply_record_presets(editor_context.settings, *presets);
            store_record_presets(host_);
        }
    });
}

void RecordCommands::show_record_list() {
    host_.run_modal_command([this] {
        EditorContext editor_context = editor_context_of(host_);
        RecordList list(host_.dialog_parent(), editor_context, host_.file_list());
        list.exec();
        editor_context.settings.columns = list.chosen_columns();
        write_values(host_.settings_store(), editor_context.settings,
                     {"column0", "column1", "column2", "column3", "column4", "column5", "column6"});
        // The list already took them into the settings for its next editor.
        if (list.chosen_presets()) store_record_presets(host_);
    });
}

void RecordCommands::look_ahead() {
    int answer = -1;
    host_.run_modal_command(
        [this, &answer] { answer = GlobalActiveSet::ask(host_.dialog_parent(), lead_override_); },
        false);
    lead_override_ = answer;
    if (answer >= 0) host_.show_data_with_lead_days(answer);
}

RecordCommands* add_record_menu(QMenuBar* menu_bar, EditorHost& host) {
    auto* commands = new RecordCommands(host, menu_bar);
    QMenu* menu = menu_bar->addMenu(QStringLiteral("Daten&sätze"));
    menu->setObjectName(QStringLiteral("datensätze"));
    menu->addAction(commands->enter_action());
    menu->addAction(commands->list_action());
    return commands;
}

}  // namespace merkwald
