#include "shell/main/window_keys.h"

#include <QAction>
#include <QKeySequence>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

#include "shell/main/main_menus.h"
#include "shell/main/main_window.h"

namespace merkwald {

namespace {

QAction* window_action(MainWindow& window, const char* name, const QList<QKeySequence>& keys,
                       std::function<void()> command) {
    auto* action = new QAction(&window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window,
                     [command = std::move(command)] { command(); });
    window.addAction(action);
    return action;
}

void move_list_to(QTextEdit& list, QTextCursor::MoveOperation where) {
    QTextCursor cursor = list.textCursor();
    cursor.movePosition(where);
    list.setTextCursor(cursor);
    list.ensureCursorVisible();
}

}  // namespace

void add_window_keys(MainWindow& window, std::function<void()> reread) {
    // The platform's refresh keys usually hold F5 already; a key bound twice on
    // one action is ambiguous and does nothing.
    QList<QKeySequence> reread_keys = QKeySequence::keyBindings(QKeySequence::Refresh);
    if (!reread_keys.contains(QKeySequence(Qt::Key_F5))) reread_keys << QKeySequence(Qt::Key_F5);
    window_action(window, "reread_key", reread_keys, std::move(reread));
    window_action(window, "standby_key",
                  {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}, [&window] {
                      if (window.standby_on()) window.close_button_clicked();
                  });
    window_action(window, "list_start_key", {QKeySequence(Qt::CTRL | Qt::Key_Home)},
                  [&window] { move_list_to(window.event_list(), QTextCursor::Start); });
    window_action(window, "list_end_key", {QKeySequence(Qt::CTRL | Qt::Key_End)},
                  [&window] { move_list_to(window.event_list(), QTextCursor::End); });
}

void add_menu_shortcuts(const MainMenus& menus) {
    const std::pair<const char*, QKeySequence> keys[] = {
        {"helpcontents", QKeySequence(Qt::Key_F1)},
        {"file_open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"printRTbox", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"export", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"exit_programm", QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const auto& [name, key] : keys) {
        if (QAction* action = menus.menu_action(QString::fromLatin1(name)))
            action->setShortcut(key);
    }
}

}  // namespace merkwald
