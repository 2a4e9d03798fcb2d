#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>
#include <limits>
#include <memory>

#include "engine/safe_rewrite.h"
#include "engine/text.h"
#include "settings/qt_bridges.h"

namespace merkwald {
namespace {

QString registry_path(std::string_view subkey) {
    return QStringLiteral("HKEY_CURRENT_USER\\") + to_qstring(subkey);
}

StoreValue from_variant(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::QString:
            return to_utf8(value.toString());
        case QMetaType::UInt:
            // A registry DWORD may come back unsigned; it is the same 32 bits.
            return std::int32_t(value.toUInt());
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::LongLong: {
            const qlonglong n = value.toLongLong();
            if (n >= std::numeric_limits<std::int32_t>::min() &&
                n <= std::numeric_limits<std::int32_t>::max()) {
                return std::int32_t(n);
            }
            return std::monostate{};
        }
        default:
            return std::monostate{};
    }
}

QVariant to_variant(const StoreValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return to_qstring(*text);
    return QVariant(std::get<std::int32_t>(value));
}

// A fresh QSettings for every operation: its status then tells about this
// operation alone, and a file changed by the other program is read anew.
std::unique_ptr<QSettings> open_key(const QString& file, std::string_view subkey) {
    if (file.isEmpty()) {
        return std::make_unique<QSettings>(registry_path(subkey), QSettings::NativeFormat);
    }
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    if (subkey != kMainKey.path) {
        QString group = to_qstring(subkey);
        group.replace(u'\\', u'/');
        settings->beginGroup(group);
    }
    return settings;
}

QByteArray file_bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Qt keeps the files it read in a cache and tells a parse error only to the
// reader that parsed the file: a copy under a name Qt has not seen is parsed
// afresh. A copy that cannot be made counts as whole.
bool parses_whole(const QByteArray& bytes) {
    QTemporaryFile copy;
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush()) return true;
    const QSettings settings(copy.fileName(), QSettings::IniFormat);
    return settings.status() != QSettings::FormatError;
}

QString shown_name(const QString& file) {
    return file.isEmpty() ? registry_path(kMainKey.path) : QDir::toNativeSeparators(file);
}

}  // namespace

std::string store_failure_text(const QString& store_name) {
    return to_utf8(QStringLiteral("Die Einstellungen konnten nicht in %1 gespeichert werden. Ist "
                                  "die Datei oder ihr Ordner schreibgeschützt? Die Änderungen "
                                  "gelten nur bis zum Beenden.")
                       .arg(shown_name(store_name)));
}

SettingsStore SettingsStore::user_store() {
#ifdef Q_OS_WIN
    return SettingsStore(QString());
#else
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Merkwald"),
                          QStringLiteral("Merkwald"));
    return SettingsStore(probe.fileName());
#endif
}

SettingsStore SettingsStore::file_store(const QString& path) { return SettingsStore(path); }

bool SettingsStore::key_exists(std::string_view subkey) const {
    if (!file_.isEmpty()) return QFileInfo::exists(file_);
    const auto split = subkey.rfind('\\');
    const std::string_view parent = split == std::string_view::npos ? "" : subkey.substr(0, split);
    const QString leaf = to_qstring(subkey.substr(split == std::string_view::npos ? 0 : split + 1));
    const QSettings parent_key(registry_path(parent), QSettings::NativeFormat);
    return parent_key.childGroups().contains(leaf, Qt::CaseInsensitive);
}

bool SettingsStore::query_value(StoreKey key, std::string_view name,
                                StoreValue& value) const noexcept {
    const std::string_view subkey = key.path;
    try {
        if (!key_exists(subkey)) return false;
        const auto settings = open_key(file_, subkey);
        const QString key = to_qstring(name);
        // A file with a line Qt cannot parse still gives the values it could.
        if (settings->status() == QSettings::AccessError || !settings->contains(key)) return false;
        value = from_variant(settings->value(key));
        return true;
    } catch (...) {
        return false;
    }
}

bool SettingsStore::set_value(StoreKey key, std::string_view name,
                              const StoreValue& value) noexcept {
    const std::string_view subkey = key.path;
    try {
        if (std::holds_alternative<std::monostate>(value)) return false;
        if (!key_exists(subkey)) return note_write(false);
        const auto settings = open_key(file_, subkey);
        // Qt keeps the values of a failed write pending and writes them again when
        // the file is next opened: an error here means the store still refuses
        // them, although the value would look stored. (A file Qt cannot read it
        // does not write either.)
        if (settings->status() == QSettings::AccessError) return note_write(false);
        const QString key = to_qstring(name);
        const QVariant variant = to_variant(value);
        // Every write is a rewrite of the whole file: skip the ones that change nothing.
        if (settings->contains(key) && settings->value(key).toString() == variant.toString())
            return true;
        return commit(*settings, [&](QSettings& s) { s.setValue(key, variant); });
    } catch (...) {
        return note_write(false);
    }
}

bool SettingsStore::commit(QSettings& settings,
                           const std::function<void(QSettings&)>& change) const {
    // Qt writes back only the lines it could parse: the whole file is kept aside first.
    const QByteArray before = file_.isEmpty() ? QByteArray() : file_bytes(file_);
    const bool damaged =
        !file_.isEmpty() && before != shared_->known_whole && !parses_whole(before);
    const QString copy = file_ + to_qstring(kDamagedSuffix);
    if (damaged &&
        !write_file_safely(to_path(copy), {before.constData(), std::size_t(before.size())}).ok())
        return note_write(false);
    change(settings);
    settings.sync();
    // A QSettings keeps its first error: after a parse error only the file tells
    // whether the write happened.
    const bool ok = damaged ? file_bytes(file_) != before : settings.status() == QSettings::NoError;
    note_write(ok);
    if (!ok || file_.isEmpty()) return ok;
    shared_->known_whole = file_bytes(file_);
    if (damaged) {
        tell(to_utf8(QStringLiteral("Die Einstellungsdatei %1 enthielt Zeilen, die nicht gelesen "
                                    "werden konnten. Sie wurde ohne diese Zeilen neu geschrieben; "
                                    "ihr alter Inhalt liegt in %2.")
                         .arg(shown_name(file_), shown_name(copy))));
    }
    return ok;
}

bool SettingsStore::note_write(bool ok) const {
    if (ok) {
        shared_->failure_told = false;
    } else if (!shared_->failure_told) {
        shared_->failure_told = true;
        tell(store_failure_text(file_));
    }
    return ok;
}

void SettingsStore::tell(const std::string& text) const {
    if (shared_->notice) shared_->notice(text);
}

void SettingsStore::set_notice_handler(std::function<void(const std::string&)> handler) {
    shared_->notice = std::move(handler);
}

void SettingsStore::report_next_failure() { shared_->failure_told = false; }

bool SettingsStore::create_key(StoreKey key, std::string_view key_class) noexcept {
    const std::string_view subkey = key.path;
    static_cast<void>(key_class);
    try {
        if (key_exists(subkey)) return false;
        if (!file_.isEmpty()) {
            QFile file(file_);
            return note_write(QDir().mkpath(QFileInfo(file_).absolutePath()) &&
                              file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
        }
        // QSettings makes a registry key only to hold a value.
        const auto settings = open_key(file_, subkey);
        const QString marker = QStringLiteral("Merkwald-create-key");
        settings->setValue(marker, 0);
        settings->remove(marker);
        settings->sync();
        return note_write(settings->status() == QSettings::NoError && key_exists(subkey));
    } catch (...) {
        return note_write(false);
    }
}

bool SettingsStore::delete_value(StoreKey key, std::string_view name) noexcept {
    const std::string_view subkey = key.path;
    try {
        if (!key_exists(subkey)) return false;
        const auto settings = open_key(file_, subkey);
        const QString key = to_qstring(name);
        // An unreadable file seems to lack every value: that is a failure, not "missing".
        if (settings->status() == QSettings::AccessError) return note_write(false);
        if (!settings->contains(key)) return false;
        return commit(*settings, [&](QSettings& s) { s.remove(key); });
    } catch (...) {
        return note_write(false);
    }
}

std::string clean_value(std::string_view text) {
    return std::string(trim_blanks(text.substr(0, text.find('\0'))));
}

}  // namespace merkwald
