#include "shell/platform/platform.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "settings/qt_bridges.h"

namespace merkwald {

MessageAnswer QtDialogs::message(QWidget* parent, const QString& text, MessageIcon icon,
                                 MessageButtons buttons, const QString& title) {
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Merkwald") : title);
    box.setText(text);
    switch (icon) {
        case MessageIcon::critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case MessageButtons::ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::ok_cancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
            break;
        case MessageButtons::yes_no:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
            box.button(QMessageBox::No)->setText(QStringLiteral("Nein"));
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return MessageAnswer::cancel;
        case QMessageBox::Yes:
            return MessageAnswer::yes;
        case QMessageBox::No:
            return MessageAnswer::no;
        default:
            return MessageAnswer::ok;
    }
}

QString QtDialogs::open_file_name(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtDialogs::save_file_name(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

QString QtDialogs::save_file_name_of_type(QWidget* parent, const QString& caption,
                                          const QString& folder, const QString& filter,
                                          QString& chosen_filter) {
    return QFileDialog::getSaveFileName(parent, caption, folder, filter, &chosen_filter);
}

std::optional<QColor> QtDialogs::color(QWidget* parent, const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

std::optional<QString> QtDialogs::password(QWidget* parent, const QString& caption,
                                           const QString& label) {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(parent, caption, label, QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return typed;
}

std::optional<QFont> QtDialogs::font(QWidget* parent, const QFont& initial) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) return std::nullopt;
    return chosen;
}

void DialogSink::show_message(std::string_view text, MessageIcon icon) {
    QString shown = to_qstring(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    dialogs_.message(parent_, shown, icon);
}

QColor to_qcolor(std::uint32_t n) {
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

std::uint32_t to_color_number(const QColor& c) {
    return std::uint32_t(c.red()) + 256u * std::uint32_t(c.green()) +
           65536u * std::uint32_t(c.blue());
}

}  // namespace merkwald
