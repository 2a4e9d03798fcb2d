#include "shell/widgets/window_helpers.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QWidget>

namespace merkwald {

void centre_on_screen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize size = window.size().expandedTo(window.sizeHint());
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void keep_default_button(QDialog& dialog, QPushButton& default_button) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button != &default_button) button->setAutoDefault(false);
    }
    default_button.setAutoDefault(true);
    default_button.setDefault(true);
}

QString qt_filter(std::string_view pairs, int preset) {
    const QStringList parts = to_qstring(pairs).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        // Qt reads the patterns from the parentheses; add them where the text has none.
        if (!description.contains(u'(')) description += QStringLiteral(" (") + pattern + u')';
        filters << description;
    }
    if (preset >= 1 && preset <= filters.size()) filters.move(preset - 1, 0);
    QString joined = filters.join(QStringLiteral(";;"));
#ifndef Q_OS_WIN
    // "*.*" would hide the many files without an extension here.
    joined.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
#endif
    return joined;
}

}  // namespace merkwald
