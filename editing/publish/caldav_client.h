#pragma once
// Carries out a publish plan against a CalDAV collection over HTTP(S), without
// blocking: the caller's event loop runs while the requests are under way. One
// failure of the connection or the server (offline, timeout, 401, 403, 5xx, an
// untrusted certificate) stops the run; the state file then holds exactly what
// succeeded, so that the next run sends nothing twice. A condition that fails
// (412: someone changed or took the resource on the server) leaves that
// resource alone for good and is counted.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/file_lock.h"
#include "engine/publish_plan.h"

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace merkwald {

struct PublishJob {
    QUrl collection;  // ending in '/'
    QString user, password;
    QString accepted_fingerprint;  // normalised; empty: none
    std::filesystem::path state_file;
    FileLock state_lock;  // held from reading the state until the run ends
    PublishState state;
    std::vector<WantedResource> wanted;
    bool dry_run = false;
    int timeout_ms = 30000;  // without an answer this long a request counts as failed
};

enum class PublishFailure {
    none,
    offline,        // no connection to the server
    timeout,        // the server did not answer in time
    unauthorized,   // 401: user name or password wrong
    forbidden,      // 403
    server_error,   // 5xx
    refused,        // another answer the run cannot go on after
    untrusted,      // a certificate the system does not trust and the user did not accept
    tls,            // another TLS failure
    state_damaged,  // the state file cannot be read: nothing was sent
    state_unwritten,
    busy,  // another program is publishing to the calendar: nothing was sent
};

// One line of the report: what happened to which occurrence.
struct PublishedItem {
    std::string uid;
    std::string summary;  // empty for a deletion (the text is gone)
    DaySerial day{};      // none for a deletion
};

struct PublishReport {
    std::vector<PublishedItem> created, changed, deleted;
    std::vector<PublishedItem> conflicts;  // this run: changed or taken on the server (412)
    std::vector<std::string> left_alone;   // left alone from earlier runs, or without ETag
    int unchanged = 0;
    PublishFailure failure = PublishFailure::none;
    QString failure_text;  // German
    QString fingerprint;   // of the untrusted certificate, normalised
    bool dry_run = false;
};

// What the programs and the command-line tool hand a job to; tests script it.
class PublishClient {
public:
    virtual ~PublishClient() = default;
    // Starts the job; `done` is called once, from the event loop, when it ended.
    virtual void start(PublishJob job, std::function<void(const PublishReport&)> done) = 0;
};

class CalDavClient final : public QObject, public PublishClient {
public:
    explicit CalDavClient(QObject* parent = nullptr);
    ~CalDavClient() override;
    void start(PublishJob job, std::function<void(const PublishReport&)> done) override;

    // Requests under way at once: a server answers each in turn, and a few
    // overlapping ones hide the round trips.
    static constexpr int kParallel = 4;
    // The state is written after this many successes, and at the end.
    static constexpr int kWriteEvery = 50;

private:
    struct Run;
    void send_next();
    void mark_pending();
    [[nodiscard]] QNetworkRequest request_for(const PublishStep& step) const;
    // `adopting`: a GET for the ETag of a resource an earlier run created.
    void send(const PublishStep& step, bool adopting = false);
    void finished(QNetworkReply* reply, const PublishStep& step, bool adopting);
    void settle(const PublishStep& step, int status, const QByteArray& etag);
    void adopt(const PublishStep& step, int status, const QByteArray& etag);
    void settle_failure(int status);
    void fail(PublishFailure failure, const QString& text);
    void save_state(bool force);
    void end_if_done();

    QNetworkAccessManager* network_;
    std::unique_ptr<Run> run_;
};

// The SHA-256 fingerprint of a DER certificate, normalised.
[[nodiscard]] QString certificate_fingerprint(const QByteArray& der);

// The German sentence for a failure (with its detail where one is known).
[[nodiscard]] QString publish_failure_text(PublishFailure failure, const QString& detail = {});

}  // namespace merkwald
