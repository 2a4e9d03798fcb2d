#pragma once
// Where the calendar server's password comes from. The desktop's secret store
// (through QtKeychain) answers asynchronously, and may not answer at all (no
// store running): callers then ask the user and keep the answer in memory.
// Tests use a scripted source and need no store.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace merkwald {

class PasswordSource {
public:
    virtual ~PasswordSource() = default;
    // Calls `done` (perhaps later, from the event loop) with the password, or
    // nullopt when this source has none.
    virtual void fetch(const QString& account,
                       std::function<void(std::optional<QString>)> done) = 0;
};

// The desktop's secret store.
class KeychainPasswords final : public QObject, public PasswordSource {
public:
    explicit KeychainPasswords(QObject* parent = nullptr) : QObject(parent) {}
    void fetch(const QString& account, std::function<void(std::optional<QString>)> done) override;
    // Calls `done` with an empty text when stored, else with the store's error.
    void store(const QString& account, const QString& password,
               std::function<void(QString error)> done);
};

// The environment variable kCalDavPasswordVariable; nullopt when unset.
[[nodiscard]] std::optional<QString> password_from_environment();

}  // namespace merkwald
