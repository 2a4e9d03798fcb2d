#include "shell/publish/publish_prompts.h"

#include <QInputDialog>
#include <QLineEdit>

namespace merkwald {

std::optional<QString> ask_caldav_password(QWidget* parent, const QString& account) {
    bool ok = false;
    const QString password = QInputDialog::getText(parent, QStringLiteral("CalDAV-Kalender"),
                                                   QStringLiteral("Passwort für %1:").arg(account),
                                                   QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return password;
}

bool confirm_caldav_certificate(Dialogs& dialogs, QWidget* parent, const QString& host,
                                const QString& fingerprint) {
    const QString text =
        QStringLiteral(
            "Dem Zertifikat des CalDAV-Servers %1 vertraut das System nicht.\n\n"
            "SHA-256-Fingerabdruck:\n%2\n\nVergleichen Sie ihn mit dem Ihres Servers. "
            "Diesem Zertifikat (und nur diesem) künftig vertrauen?")
            .arg(host, fingerprint);
    return dialogs.message(parent, text, MessageIcon::exclamation, MessageButtons::yes_no) ==
           MessageAnswer::yes;
}

}  // namespace merkwald
