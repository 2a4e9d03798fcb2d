#include "shell/tray/digest_notification.h"

#include <algorithm>

#ifdef MERKWALD_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#endif

#include "settings/qt_bridges.h"
#include "shell/main/list_render.h"

namespace merkwald {

namespace {

constexpr int kShownEntries = 3;
constexpr qsizetype kLineLength = 80;

// One style for every group, its name as the list's heading has it: "Geburtstage: 1",
// "Sonstiges: 2"; the entries without a group stand before the headings.
QString group_count(const std::string& group, int count) {
    const QString name = group.empty() ? QStringLiteral("Ohne Gruppe") : to_qstring(group);
    return name + QStringLiteral(": ") + QString::number(count);
}

}  // namespace

std::optional<Digest> todays_digest(const std::vector<LineEntry>& lines, DaySerial today) {
    std::vector<std::pair<std::string, int>> counts;  // in the order groups first appear
    QStringList shown;
    for (const LineEntry& line : lines) {
        if (line.sort_date != today) continue;
        const QString first = entry_headline(line, kLineLength);
        if (first.isEmpty()) continue;
        auto found = std::find_if(counts.begin(), counts.end(),
                                  [&line](const auto& c) { return c.first == line.group; });
        if (found == counts.end()) {
            counts.emplace_back(line.group, 1);
        } else {
            ++found->second;
        }
        if (shown.size() < kShownEntries) shown << first;
    }
    if (counts.empty()) return std::nullopt;
    QStringList parts;
    int total = 0;
    for (const auto& [group, count] : counts) {
        parts << group_count(group, count);
        total += count;
    }
    return Digest{QStringLiteral("Merkwald: heute"), parts.join(QStringLiteral(", ")) + u'\n' +
                                                         shown.join(u'\n') +
                                                         more_entries_text(total, kShownEntries)};
}

#ifdef MERKWALD_DBUS

namespace {

const QString kSessionBus = QStringLiteral("qt_default_session_bus");

// The session bus is asked for as such: it is made on first use.
QDBusConnection connection(const QString& name) {
    return name == kSessionBus ? QDBusConnection::sessionBus() : QDBusConnection(name);
}

}  // namespace

QString DigestNotifier::session_bus() { return kSessionBus; }

DigestNotifier::DigestNotifier(QString bus, Handlers handlers, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), handlers_(std::move(handlers)) {
    QDBusConnection dbus = connection(bus_);
    if (dbus.isConnected()) {
        dbus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                     SLOT(action_invoked(uint, QString)));
    }
}

#else

QString DigestNotifier::session_bus() { return {}; }

DigestNotifier::DigestNotifier(QString bus, Handlers handlers, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), handlers_(std::move(handlers)) {}

#endif

void DigestNotifier::send_for(DaySerial today, const std::vector<LineEntry>& lines) {
    if (today == sent_for_) return;
    sent_for_ = today;
    const auto digest = todays_digest(lines, today);
    if (!digest) return;
    notify(*digest);
}

void DigestNotifier::show_in_tray(const Digest& digest) {
    if (handlers_.tray_message) handlers_.tray_message(digest.title, digest.body);
}

void DigestNotifier::notify(const Digest& digest) {
#ifdef MERKWALD_DBUS
    QDBusConnection dbus = connection(bus_);
    if (!dbus.isConnected()) {
        show_in_tray(digest);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    call << QStringLiteral("Merkwald") << last_id_ << QStringLiteral("merkwald") << digest.title
         << digest.body << QStringList{QStringLiteral("open"), QStringLiteral("Öffnen")}
         << QVariantMap{} << -1;
    // Asynchronous, and no asking first whether the service is there: a hanging
    // bus must not stop the window. Without the service the call fails (an
    // activatable one is started by the bus) and the tray shows the digest.
    auto* watcher = new QDBusPendingCallWatcher(dbus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, digest](QDBusPendingCallWatcher* w) {
                const QDBusPendingReply<uint> reply = *w;
                if (reply.isValid()) {
                    last_id_ = reply.value();
                } else {
                    show_in_tray(digest);
                }
                w->deleteLater();
            });
#else
    show_in_tray(digest);
#endif
}

void DigestNotifier::action_invoked(uint id, const QString& action) {
    if (id != last_id_ || last_id_ == 0) return;
    // A click on the notification itself is "default" on many desktops.
    const bool open = action == QStringLiteral("open") || action == QStringLiteral("default");
    if (open && handlers_.open) handlers_.open();
}

}  // namespace merkwald
