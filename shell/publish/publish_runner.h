#pragma once
// Publishing to the CalDAV calendar from the windows: after a refresh whose
// events changed, in the background. Never two runs at once: a refresh during a
// run asks for one more run afterwards, with the newest events. A failure is
// told once (until a run succeeds) and tried again at the next refresh. The
// password comes from the secret store, else it is asked once per start and
// kept in memory; a wrong one (401) is forgotten and asked again, and a stored
// one the server refused is not sent again.

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "editing/publish/caldav_client.h"
#include "editing/publish/caldav_settings.h"
#include "editing/publish/password_source.h"
#include "engine/occurrences.h"
#include "settings/settings.h"

namespace merkwald {

// What the runner asks of the user and the window; tests script them.
struct PublishHooks {
    std::function<void(const QString& text)> notify;  // one tray message
    // nullopt: cancelled.
    std::function<std::optional<QString>(const QString& account)> ask_password;
    // Whether the user trusts the certificate with this fingerprint.
    std::function<bool(const QString& host, const QString& fingerprint)> confirm_certificate;
    // Stores an accepted fingerprint in the settings.
    std::function<void(const QString& fingerprint)> keep_fingerprint;
};

class PublishRunner final : public QObject {
public:
    PublishRunner(PublishClient& client, PasswordSource& passwords, PublishHooks hooks,
                  QObject* parent = nullptr);

    // After a refresh: the coming days' events for the calendar of `settings`.
    void publish(const Settings& settings, std::vector<Occurrence> events, UtcTime stamp,
                 const std::filesystem::path& state_folder);

    [[nodiscard]] bool running() const { return running_; }

private:
    struct Request {
        CalDavTarget target;
        std::vector<Occurrence> events;
        UtcTime stamp;
        std::filesystem::path state_folder;
    };

    void start(Request request);
    void with_password(Request request);
    void run(Request request, const QString& password);
    [[nodiscard]] bool refused(const QString& password) const;
    void finished(Request request, const PublishReport& report);
    void end_run();
    // Once for one text until a run succeeds.
    void tell_failure(const QString& text);

    PublishClient& client_;
    PasswordSource& passwords_;
    PublishHooks hooks_;
    bool running_ = false;
    std::optional<Request> waiting_;
    QString account_;  // whose password is kept
    std::optional<QString> password_;
    bool asked_ = false;            // the user was asked this start (and cancelled)
    QString sent_;                  // the password of the run under way
    std::vector<QString> refused_;  // by the server (401), for this account
    // What the calendar holds since the last run that succeeded.
    std::optional<std::vector<Occurrence>> published_;
    QString published_for_;
    QString told_;
};

}  // namespace merkwald
