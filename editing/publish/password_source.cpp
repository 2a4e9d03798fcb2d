#include "editing/publish/password_source.h"

#include <QtGlobal>

#ifdef MERKWALD_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>
#endif

#include "editing/publish/caldav_settings.h"

namespace merkwald {

namespace {

#ifdef MERKWALD_HAVE_KEYCHAIN
const QString kService = QStringLiteral("Merkwald CalDAV");
#endif

}  // namespace

#ifdef MERKWALD_HAVE_KEYCHAIN

void KeychainPasswords::fetch(const QString& account,
                              std::function<void(std::optional<QString>)> done) {
    auto* job = new QKeychain::ReadPasswordJob(kService, this);
    job->setAutoDelete(true);
    job->setKey(account);
    connect(job, &QKeychain::Job::finished, this,
            [done = std::move(done)](QKeychain::Job* finished) {
                auto* read = static_cast<QKeychain::ReadPasswordJob*>(finished);
                if (read->error() == QKeychain::NoError)
                    done(read->textData());
                else
                    done(std::nullopt);
            });
    job->start();
}

void KeychainPasswords::store(const QString& account, const QString& password,
                              std::function<void(QString error)> done) {
    auto* job = new QKeychain::WritePasswordJob(kService, this);
    job->setAutoDelete(true);
    job->setKey(account);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this,
            [done = std::move(done)](QKeychain::Job* finished) {
                done(finished->error() == QKeychain::NoError ? QString() : finished->errorString());
            });
    job->start();
}

#else
void KeychainPasswords::fetch(const QString&, std::function<void(std::optional<QString>)> done) {
    QMetaObject::invokeMethod(
        this, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
}

void KeychainPasswords::store(const QString&, const QString&,
                              std::function<void(QString error)> done) {
    QMetaObject::invokeMethod(
        this,
        [done = std::move(done)] {
            done(QStringLiteral("Dieses Merkwald wurde ohne Schlüsselbund gebaut."));
        },
        Qt::QueuedConnection);
}
#endif

std::optional<QString> password_from_environment() {
    if (!qEnvironmentVariableIsSet(kCalDavPasswordVariable)) return std::nullopt;
    return qEnvironmentVariable(kCalDavPasswordVariable);
}

}  // namespace merkwald
