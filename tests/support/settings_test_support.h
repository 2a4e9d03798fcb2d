#pragma once
// A settings store in a temporary folder, and a message sink that records.

#include <sys/resource.h>
#include <unistd.h>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <string>
#include <vector>

#include "recording_sink.h"
#include "settings/settings_store.h"

namespace merkwald::test {

// Outside the registry the store is an INI file, which hands every value back
// as text; what the program reads is the same either way, so tests compare texts.
inline StoreValue as_text(const StoreValue& value) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return std::to_string(*n);
    return value;
}

inline QByteArray file_bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

inline void write_file(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

class TempStore {
public:
    TempStore() : path_(dir_.filePath("Merkwald.conf")), store_(SettingsStore::file_store(path_)) {}

    // The store as it would be after a restart: Qt keeps the files it read in a
    // cache, so the file is copied to a name Qt has not seen yet.
    SettingsStore reopened() {
        const QString copy = dir_.filePath(QString("reopened%1.conf").arg(++copies_));
        QFile::copy(path_, copy);
        return SettingsStore::file_store(copy);
    }

    const QString& path() const { return path_; }
    SettingsStore& store() { return store_; }

private:
    QTemporaryDir dir_;
    QString path_;
    SettingsStore store_;
    int copies_ = 0;
};

// The store file and its folder read-only, for root as well: root is not
// stopped by permission bits, so while alive, writes that would make a file of
// this process longer than zero bytes fail (as on a full disk).
class ReadOnlyStore {
public:
    explicit ReadOnlyStore(const QString& store_file)
        : file_(store_file), folder_(QFileInfo(store_file).absolutePath()) {
        QFile::setPermissions(file_, QFileDevice::ReadOwner);
        QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (!root_) return;
        old_signal_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit none = old_;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~ReadOnlyStore() {
        if (root_) {
            ::setrlimit(RLIMIT_FSIZE, &old_);
            std::signal(SIGXFSZ, old_signal_);
        }
        QFile::setPermissions(
            folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile::setPermissions(file_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    ReadOnlyStore(const ReadOnlyStore&) = delete;
    ReadOnlyStore& operator=(const ReadOnlyStore&) = delete;

private:
    QString file_, folder_;
    bool root_ = ::geteuid() == 0;
    rlimit old_{};
    void (*old_signal_)(int) = nullptr;
};

}  // namespace merkwald::test
