#pragma once
// A window walked with the keyboard as a user would: shown and active, Tab
// pressed, the focus read after each press.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <set>

namespace merkwald::test {

// What a widget is called in a test's expectation: its objectName, else its
// accessible name, else its caption.
inline QString widget_name(const QWidget* widget) {
    if (widget == nullptr) return QStringLiteral("(keiner)");
    if (!widget->objectName().isEmpty()) return widget->objectName();
    if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    return QString::fromLatin1(widget->metaObject()->className());
}

// Presses `key` on the widget that has the focus (the event travels up as a
// key the focus widget leaves alone would).
inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) return;
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &event);
}

// Shows `window`, makes it the active window and gives `first` the focus.
inline void activate(QWidget& window, QWidget* first = nullptr) {
    window.show();
    // Offscreen there is no window manager to activate it; newer Qt marks the
    // direct call as meant for tests only.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(&window);
    QT_WARNING_POP
    if (first != nullptr) first->setFocus(Qt::TabFocusReason);
}

// The widgets Tab reaches in turn, starting with the one that has the focus,
// until the focus comes back to it (or after `most` presses).
inline QStringList tab_walk(int most = 60) {
    QStringList names;
    QWidget* start = QApplication::focusWidget();
    for (int i = 0; i < most; ++i) {
        names << widget_name(QApplication::focusWidget());
        press(Qt::Key_Tab);
        if (QApplication::focusWidget() == start) break;
    }
    return names;
}

// What a screen reader says a widget is called.
inline QString spoken_name(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

// A dialog walked with the keyboard from `first`.
struct KeyboardWalk {
    QStringList order;        // what Tab reaches, from `first` around
    QStringList unreachable;  // enabled, shown controls that Tab never reaches
    QStringList unnamed;      // reached controls a screen reader cannot name
    QStringList defaults;     // the buttons Return presses (one, however the focus moved)
};

inline KeyboardWalk walk_keyboard(QDialog& dialog, QWidget* first) {
    KeyboardWalk walk;
    activate(dialog, first);
    std::set<QWidget*> reached;
    QWidget* start = QApplication::focusWidget();
    for (int i = 0; i < 200; ++i) {
        QWidget* widget = QApplication::focusWidget();
        reached.insert(widget);
        walk.order << widget_name(widget);
        const QString name = spoken_name(widget);
        if (name.isEmpty() || name == QLatin1String("...")) walk.unnamed << widget_name(widget);
        press(Qt::Key_Tab);
        if (QApplication::focusWidget() == start || reached.count(QApplication::focusWidget()))
            break;
    }
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        const bool control = (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                             widget->isVisible() && widget->isEnabled() &&
                             widget->focusProxy() == nullptr;
        if (control && reached.count(widget) == 0) walk.unreachable << widget_name(widget);
    }
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isVisible() && (button->isDefault() || button->autoDefault()))
            walk.defaults << widget_name(button);
    }
    return walk;
}

// The whole walk from `first`: Tab's order (nullptr: not compared) reaches every
// control, a screen reader names each, Return presses `default_button` alone
// and, with `escape`, Escape cancels.
inline void expect_keyboard_walk(QDialog& dialog, QWidget* first, const char* order,
                                 const QString& default_button, bool escape = true) {
    const KeyboardWalk walk = walk_keyboard(dialog, first);
    if (order != nullptr) {
        EXPECT_EQ(walk.order.join(u" | ").toStdString(), order);
    }
    EXPECT_EQ(walk.unreachable.join(u" | ").toStdString(), "");
    EXPECT_EQ(walk.unnamed.join(u" | ").toStdString(), "");
    EXPECT_EQ(walk.defaults.join(u" | "), default_button);
    if (escape) {
        press(Qt::Key_Escape);
        EXPECT_TRUE(!dialog.isVisible() && dialog.result() == QDialog::Rejected) << "Escape";
    }
}

}  // namespace merkwald::test
