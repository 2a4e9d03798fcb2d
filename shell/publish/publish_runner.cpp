#include "shell/publish/publish_runner.h"

#include <algorithm>

#include "editing/publish/publish_job.h"

namespace merkwald {

PublishRunner::PublishRunner(PublishClient& client, PasswordSource& passwords, PublishHooks hooks,
                             QObject* parent)
    : QObject(parent), client_(client), passwords_(passwords), hooks_(std::move(hooks)) {}

void PublishRunner::publish(const Settings& settings, std::vector<Occurrence> events, UtcTime stamp,
                            const std::filesystem::path& state_folder) {
    const std::optional<CalDavTarget> target = caldav_target(settings);
    if (!target) {
        tell_failure(caldav_problem_text(check_caldav(settings)));
        return;
    }
    Request request{*target, std::move(events), stamp, state_folder};
    if (running_) {
        waiting_ = std::move(request);
        return;
    }
    start(std::move(request));
}

void PublishRunner::start(Request request) {
    const QString account = password_account(request.target);
    if (published_ && published_for_ == account + request.target.fingerprint &&
        *published_ == request.events)
        return;
    if (account != account_) {
        account_ = account;
        password_.reset();
        asked_ = false;
        refused_.clear();
    }
    running_ = true;
    if (password_) return run(std::move(request), *password_);
    if (auto from_environment = password_from_environment();
        from_environment && !refused(*from_environment))
        return run(std::move(request), *from_environment);
    // The store answers later; the request waits in the callback meanwhile.
    auto shared = std::make_shared<Request>(std::move(request));
    passwords_.fetch(account, [this, shared](std::optional<QString> stored) {
        if (stored && !refused(*stored)) {
            password_ = *stored;
            return run(std::move(*shared), *stored);
        }
        with_password(std::move(*shared));
    });
}

void PublishRunner::with_password(Request request) {
    if (!asked_ && hooks_.ask_password) {
        asked_ = true;
        if (auto typed = hooks_.ask_password(account_)) {
            password_ = *typed;
            return run(std::move(request), *typed);
        }
    }
    tell_failure(
        QStringLiteral("Für den CalDAV-Kalender ist kein Passwort bekannt; er wird "
                       "nicht abgeglichen."));
    end_run();
}

bool PublishRunner::refused(const QString& password) const {
    return std::find(refused_.begin(), refused_.end(), password) != refused_.end();
}

void PublishRunner::run(Request request, const QString& password) {
    sent_ = password;
    auto prepared = prepare_publish(request.target, password, request.events, request.stamp,
                                    request.state_folder);
    if (auto* report = std::get_if<PublishReport>(&prepared)) {
        tell_failure(report->failure_text);
        return end_run();
    }
    auto shared = std::make_shared<Request>(std::move(request));
    client_.start(
        std::move(std::get<PublishJob>(prepared)),
        [this, shared](const PublishReport& report) { finished(std::move(*shared), report); });
}

void PublishRunner::finished(Request request, const PublishReport& report) {
    if (report.failure == PublishFailure::none) {
        published_ = std::move(request.events);
        published_for_ = account_ + request.target.fingerprint;
        told_.clear();
        if (!report.conflicts.empty() && hooks_.notify)
            hooks_.notify(QStringLiteral("%1 Termine wurden inzwischen auf dem CalDAV-Server "
                                         "geändert und bleiben, wie sie dort sind.")
                              .arg(report.conflicts.size()));
        return end_run();
    }
    if (report.failure == PublishFailure::untrusted && hooks_.confirm_certificate &&
        hooks_.confirm_certificate(request.target.collection.host(), report.fingerprint)) {
        if (hooks_.keep_fingerprint) hooks_.keep_fingerprint(report.fingerprint);
        request.target.fingerprint = report.fingerprint;
        running_ = false;
        // The newer request, if one came meanwhile, has the old fingerprint in its target.
        if (waiting_) waiting_->target.fingerprint = report.fingerprint;
        return start(waiting_ ? *std::exchange(waiting_, std::nullopt) : std::move(request));
    }
    if (report.failure == PublishFailure::unauthorized) {
        // A typed password may have been mistyped: the next refresh asks again.
        // One from the store or the environment would be refused again.
        password_.reset();
        asked_ = false;
        if (!refused(sent_)) refused_.push_back(sent_);
    }
    tell_failure(report.failure_text);
    end_run();
}

void PublishRunner::end_run() {
    running_ = false;
    if (waiting_) start(*std::exchange(waiting_, std::nullopt));
}

void PublishRunner::tell_failure(const QString& text) {
    if (text == told_) return;
    told_ = text;
    if (hooks_.notify) hooks_.notify(text);
}

}  // namespace merkwald
