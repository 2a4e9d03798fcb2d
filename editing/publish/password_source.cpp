#include "editing/publish/password_source.h"

#include <qt6keychain/keychain.h>

#include <QtGlobal>

#include "editing/publish/caldav_settings.h"

namespace merkwald {

namespace {

const QString kService = QStringLiteral("Merkwald CalDAV");

}  // namespace

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

std::optional<QString> password_from_environment() {
    if (!qEnvironmentVariableIsSet(kCalDavPasswordVariable)) return std::nullopt;
    return qEnvironmentVariable(kCalDavPasswordVariable);
}

}  // namespace merkwald
