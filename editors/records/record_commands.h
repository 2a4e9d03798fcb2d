#pragma once
// The record commands of the main window: the "Datensätze" menu with the record
// editor and the record list, and the look-ahead of the toolbar. The main
// window takes part through `EditorHost`, so this code does not depend on it.

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "editors/editor_context.h"
#include "editors/editor_host.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace merkwald {

class RecordCommands final : public QObject {
    Q_OBJECT
public:
    RecordCommands(EditorHost& host, QObject* parent);

    // "&Datensatz eingeben": the record editor on a new record of the main file.
    void enter_record();
    // "Datensatz &Liste".
    void show_record_list();
    // The toolbar's "next": asks for a number of days and refreshes once with it.
    void look_ahead();

    [[nodiscard]] QAction* enter_action() const { return enter_; }
    [[nodiscard]] QAction* list_action() const { return list_; }
    // For the toolbar (key "next").
    [[nodiscard]] QAction* look_ahead_action() const { return next_; }
    [[nodiscard]] int lead_override() const { return lead_override_; }

private:
    EditorHost& host_;
    QAction* enter_;
    QAction* list_;
    QAction* next_;
    int lead_override_ = -1;  // shown again when the dialog reopens
};

// Adds the menu "Daten&sätze" with the two record commands to the menu bar.
// The returned object (a child of the menu bar) also holds the look-ahead
// action for the toolbar.
RecordCommands* add_record_menu(QMenuBar* menu_bar, EditorHost& host);

}  // namespace merkwald
