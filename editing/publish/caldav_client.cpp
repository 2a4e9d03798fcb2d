#include "editing/publish/caldav_client.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <algorithm>
#include <set>

#include "editing/publish/caldav_settings.h"
#include "settings/qt_bridges.h"

namespace merkwald {

struct CalDavClient::Run {
    PublishJob job;
    PublishPlan plan;
    std::function<void(const PublishReport&)> done;
    PublishReport report;
    std::size_t next = 0;
    std::size_t marked_until = 0;  // creates before this step are written down as pending
    int in_flight = 0;
    int unsaved = 0;
    bool stopped = false;
    QString seen_fingerprint;  // of a certificate refused in this run
};

CalDavClient::CalDavClient(QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)) {}

CalDavClient::~CalDavClient() {
    // Replies still under way end with the network manager, after the run they
    // would report to: they must not report.
    for (QNetworkReply* reply : network_->findChildren<QNetworkReply*>()) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
    }
}

void CalDavClient::start(PublishJob job, std::function<void(const PublishReport&)> done) {
    run_ = std::make_unique<Run>();
    run_->done = std::move(done);
    run_->job = std::move(job);
    run_->plan = plan_publish(run_->job.wanted, run_->job.state);
    run_->report.unchanged = run_->plan.unchanged;
    run_->report.left_alone = run_->plan.left_alone;
    run_->report.dry_run = run_->job.dry_run;
    if (run_->job.dry_run) {
        for (const PublishStep& step : run_->plan.steps) {
            const PublishedItem item{step.uid, step.wanted ? step.wanted->summary : std::string(),
                                     step.wanted ? step.wanted->day : DaySerial{}};
            (step.kind == StepKind::create   ? run_->report.created
             : step.kind == StepKind::change ? run_->report.changed
                                             : run_->report.deleted)
                .push_back(item);
        }
        run_->next = run_->plan.steps.size();
    }
    // `done` always comes from the event loop, never from inside start().
    QMetaObject::invokeMethod(
        this, [this] { send_next(); }, Qt::QueuedConnection);
}

void CalDavClient::send_next() {
    if (!run_) return;
    while (!run_->stopped && run_->in_flight < kParallel && run_->next < run_->plan.steps.size()) {
        if (run_->next >= run_->marked_until) mark_pending();
        if (run_->stopped) break;
        send(run_->plan.steps[run_->next++]);
    }
    end_if_done();
}

void CalDavClient::mark_pending() {
    const auto& steps = run_->plan.steps;
    const std::size_t end = std::min(steps.size(), run_->next + kWriteEvery);
    for (std::size_t i = run_->next; i < end; ++i) {
        const PublishStep& step = steps[i];
        if (step.kind != StepKind::create || step.pending) continue;
        run_->job.state.by_uid[step.uid] = {step.href, {}, step.wanted->hash, false, true};
        ++run_->unsaved;
    }
    run_->marked_until = end;
    save_state(true);
}

QNetworkRequest CalDavClient::request_for(const PublishStep& step) const {
    const PublishJob& job = run_->job;
    QNetworkRequest request(
        job.collection.resolved(QUrl::fromEncoded(QByteArray::fromStdString(step.href))));
    request.setTransferTimeout(job.timeout_ms);
    request.setRawHeader("Authorization",
                         "Basic " + (job.user + u':' + job.password).toUtf8().toBase64());
    // Every request carries the credentials itself; Qt must not answer a 401
    // with cached ones of an earlier run (a changed password would go unseen).
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    return request;
}

void CalDavClient::send(const PublishStep& step, bool adopting) {
    QNetworkRequest request = request_for(step);
    QNetworkReply* reply = nullptr;
    if (adopting) {
        reply = network_->get(request);
    } else if (step.kind == StepKind::remove) {
        request.setRawHeader("If-Match", QByteArray::fromStdString(step.etag));
        reply = network_->deleteResource(request);
    } else {
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArrayLiteral("text/calendar; charset=utf-8"));
        if (step.kind == StepKind::create)
            request.setRawHeader("If-None-Match", "*");
        else
            request.setRawHeader("If-Match", QByteArray::fromStdString(step.etag));
        reply = network_->put(request, QByteArray::fromStdString(step.wanted->text));
    }
    ++run_->in_flight;
    connect(reply, &QNetworkReply::sslErrors, this, [this, reply](const QList<QSslError>&) {
        const QString seen =
            certificate_fingerprint(reply->sslConfiguration().peerCertificate().toDer());
        // Only the one certificate the user confirmed; any other stays refused.
        if (!run_->job.accepted_fingerprint.isEmpty() && seen == run_->job.accepted_fingerprint)
            reply->ignoreSslErrors();
        else
            run_->seen_fingerprint = seen;
    });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, step, adopting] { finished(reply, step, adopting); });
}

void CalDavClient::finished(QNetworkReply* reply, const PublishStep& step, bool adopting) {
    reply->deleteLater();
    --run_->in_flight;
    const QVariant code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError error = reply->error();
    if (!code.isValid()) {
        if (!run_->seen_fingerprint.isEmpty()) {
            run_->report.fingerprint = run_->seen_fingerprint;
            fail(PublishFailure::untrusted, run_->seen_fingerprint);
        } else if (error == QNetworkReply::OperationCanceledError ||
                   error == QNetworkReply::TimeoutError) {
            fail(PublishFailure::timeout, {});
        } else if (error == QNetworkReply::SslHandshakeFailedError) {
            fail(PublishFailure::tls, reply->errorString());
        } else {
            fail(PublishFailure::offline, reply->errorString());
        }
    } else if (adopting) {
        adopt(step, code.toInt(), reply->rawHeader("ETag"));
    } else {
        settle(step, code.toInt(), reply->rawHeader("ETag"));
    }
    send_next();
}

void CalDavClient::settle(const PublishStep& step, int status, const QByteArray& etag) {
    PublishReport& report = run_->report;
    auto& entries = run_->job.state.by_uid;
    const PublishedItem item{step.uid, step.wanted ? step.wanted->summary : std::string(),
                             step.wanted ? step.wanted->day : DaySerial{}};
    const bool success = status >= 200 && status < 300;
    if (step.kind == StepKind::remove && (success || status == 404 || status == 410)) {
        entries.erase(step.uid);
        report.deleted.push_back(item);
    } else if (success) {
        // A weak ETag ("W/") cannot make a PUT conditional; it is kept as none.
        const std::string kept = etag.startsWith("W/") ? std::string() : etag.toStdString();
        entries[step.uid] = {step.href, kept, step.wanted->hash, false, false};
        (step.kind == StepKind::create ? report.created : report.changed).push_back(item);
    } else if (status == 412 && step.pending) {
        // An earlier run's create that the server stored but never confirmed.
        return send(step, true);
    } else if (status == 412 || (step.kind == StepKind::change && status == 404)) {
        // Someone else's now (or removed there by the user): never touched again.
        PublishedResource& entry = entries[step.uid];
        entry.href = step.href;
        entry.etag.clear();
        entry.yielded = true;
        entry.pending = false;
        report.conflicts.push_back(item);
    } else {
        return settle_failure(status);
    }
    ++run_->unsaved;
    save_state(false);
}

void CalDavClient::adopt(const PublishStep& step, int status, const QByteArray& etag) {
    if (status >= 200 && status < 300) {
        const std::string kept = etag.startsWith("W/") ? std::string() : etag.toStdString();
        run_->job.state.by_uid[step.uid] = {step.href, kept, step.wanted->hash, false, false};
        run_->report.created.push_back({step.uid, step.wanted->summary, step.wanted->day});
        ++run_->unsaved;
        save_state(false);
    } else if (status == 404 || status == 410) {
        // Gone again in between: the next run creates it. It stays pending.
    } else {
        settle_failure(status);
    }
}

void CalDavClient::settle_failure(int status) {
    if (status == 401) return fail(PublishFailure::unauthorized, {});
    if (status == 403) return fail(PublishFailure::forbidden, {});
    if (status >= 500) return fail(PublishFailure::server_error, QString::number(status));
    fail(PublishFailure::refused, QString::number(status));
}

void CalDavClient::fail(PublishFailure failure, const QString& detail) {
    if (run_->stopped) return;
    run_->stopped = true;
    run_->report.failure = failure;
    run_->report.failure_text = publish_failure_text(failure, detail);
}

void CalDavClient::save_state(bool force) {
    if (run_->unsaved == 0 || (!force && run_->unsaved < kWriteEvery)) return;
    std::string message;
    if (!write_publish_state(run_->job.state_file, run_->job.state, message)) {
        const bool was_stopped = run_->stopped;
        run_->stopped = true;
        if (!was_stopped || run_->report.failure == PublishFailure::none) {
            run_->report.failure = PublishFailure::state_unwritten;
            run_->report.failure_text =
                publish_failure_text(PublishFailure::state_unwritten, to_qstring(message));
        }
        return;
    }
    run_->unsaved = 0;
}

void CalDavClient::end_if_done() {
    if (run_->in_flight > 0) return;
    if (!run_->stopped && run_->next < run_->plan.steps.size()) return;
    if (!run_->job.dry_run) {
        if (!run_->stopped) {
            // Yielded entries of occurrences that are gone are forgotten: the
            // resources stay the user's either way.
            std::set<std::string_view> wanted;
            for (const WantedResource& r : run_->job.wanted) wanted.insert(r.uid);
            auto& entries = run_->job.state.by_uid;
            for (auto it = entries.begin(); it != entries.end();) {
                const PublishedResource& r = it->second;
                if ((r.yielded || r.pending) && !wanted.contains(it->first)) {
                    it = entries.erase(it);
                    ++run_->unsaved;
                } else {
                    ++it;
                }
            }
        }
        save_state(true);
    }
    std::unique_ptr<Run> ended = std::move(run_);
    ended->done(ended->report);
}

QString certificate_fingerprint(const QByteArray& der) {
    if (der.isEmpty()) return {};
    return normalise_fingerprint(
        QString::fromLatin1(QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex()));
}

QString publish_failure_text(PublishFailure failure, const QString& detail) {
    switch (failure) {
        case PublishFailure::none:
            return {};
        case PublishFailure::offline:
            return QStringLiteral("Der CalDAV-Server ist nicht erreichbar (%1).").arg(detail);
        case PublishFailure::timeout:
            return QStringLiteral("Der CalDAV-Server hat nicht rechtzeitig geantwortet.");
        case PublishFailure::unauthorized:
            return QStringLiteral(
                "Der CalDAV-Server nimmt Benutzername oder Passwort nicht an (401).");
        case PublishFailure::forbidden:
            return QStringLiteral(
                "Der CalDAV-Server verweigert den Zugriff auf den Kalender "
                "(403).");
        case PublishFailure::server_error:
            return QStringLiteral("Der CalDAV-Server meldet einen Fehler (HTTP %1).").arg(detail);
        case PublishFailure::refused:
            return QStringLiteral("Der CalDAV-Server lehnt die Anfrage ab (HTTP %1).").arg(detail);
        case PublishFailure::untrusted:
            return QStringLiteral(
                       "Dem Zertifikat des CalDAV-Servers vertraut das System nicht. "
                       "Sein SHA-256-Fingerabdruck: %1")
                .arg(detail);
        case PublishFailure::tls:
            return QStringLiteral(
                       "Die verschlüsselte Verbindung zum CalDAV-Server schlug fehl "
                       "(%1).")
                .arg(detail);
        case PublishFailure::state_damaged:
        case PublishFailure::state_unwritten:
        case PublishFailure::busy:
            return detail;
    }
    return {};
}

}  // namespace merkwald
