#include "shell/publish/publish_prompts.h"

namespace merkwald {

std::optional<QString> ask_caldav_password(Dialogs& dialogs, QWidget* parent,
                                           const QString& account) {
    return dialogs.password(parent, QStringLiteral("CalDAV-Kalender"),
                            QStringLiteral("Passwort für %1:").arg(account));
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
