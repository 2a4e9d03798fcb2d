#pragma once
// Today's digest: the entries due today as a desktop notification through the
// freedesktop notification service, else as the tray's own message. Builds
// without D-Bus (Windows) have only the tray's message.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "engine/engine_state.h"

namespace merkwald {

struct Digest {
    QString title;  // "Merkwald: heute"
    QString body;   // "2 Geburtstage, 1 Termin" and the first entries
};

// The entries whose date is `today`, counted per group, then the first line of
// the first few of them. Nothing when none is due today.
[[nodiscard]] std::optional<Digest> todays_digest(const std::vector<LineEntry>& lines,
                                                  DaySerial today);

class DigestNotifier final : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        // The tray's message; false when there is no notification area.
        std::function<bool(const QString& title, const QString& body)> tray_message;
        std::function<void()> open;  // the action "Öffnen"
    };

    static inline const QString kService = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

    // `bus` names the D-Bus connection that carries the notifications (Qt's name
    // for it); one that is not connected, or a build without D-Bus, leaves the tray.
    DigestNotifier(QString bus, Handlers handlers, QObject* parent = nullptr);

    // The session bus's name; empty without D-Bus.
    [[nodiscard]] static QString session_bus();

    // Sends today's digest unless it was sent for `today` already.
    void send_for(DaySerial today, const std::vector<LineEntry>& lines);

private slots:
    void action_invoked(uint id, const QString& action);

private:
    void notify(const Digest& digest);
    void show_in_tray(const Digest& digest);

    QString bus_;
    Handlers handlers_;
    DaySerial sent_for_{};
    uint last_id_ = 0;
};

}  // namespace merkwald
