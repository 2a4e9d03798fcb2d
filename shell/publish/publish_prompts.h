#pragma once
// The questions publishing asks the user in a window: the CalDAV password (no
// echo) and whether to trust a certificate the system does not know.

#include <QString>
#include <optional>

#include "shell/platform/platform.h"

class QWidget;

namespace merkwald {

// nullopt when cancelled.
[[nodiscard]] std::optional<QString> ask_caldav_password(Dialogs& dialogs, QWidget* parent,
                                                         const QString& account);

// Yes/No, naming host and fingerprint.
[[nodiscard]] bool confirm_caldav_certificate(Dialogs& dialogs, QWidget* parent,
                                              const QString& host, const QString& fingerprint);

}  // namespace merkwald
