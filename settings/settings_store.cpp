#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <limits>
#include <memory>

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
    if (subkey != kMainKey) {
        QString group = to_qstring(subkey);
        group.replace(u'\\', u'/');
        settings->beginGroup(group);
    }
    return settings;
}

}  // namespace

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

bool SettingsStore::query_value(std::string_view subkey, std::string_view name,
                                StoreValue& value) const noexcept {
    try {
        if (!key_exists(subkey)) return false;
        const auto settings = open_key(file_, subkey);
        const QString key = to_qstring(name);
        if (settings->status() != QSettings::NoError || !settings->contains(key)) return false;
        value = from_variant(settings->value(key));
        return true;
    } catch (...) {
        return false;
    }
}

bool SettingsStore::set_value(std::string_view subkey, std::string_view name,
                              const StoreValue& value) noexcept {
    try {
        if (std::holds_alternative<std::monostate>(value) || !key_exists(subkey)) return false;
        const auto settings = open_key(file_, subkey);
        // A file that could not be read must not be replaced by this one value.
        if (settings->status() != QSettings::NoError) return false;
        const QString key = to_qstring(name);
        const QVariant variant = to_variant(value);
        // Every write is a rewrite of the whole file: skip the ones that change nothing.
        if (settings->contains(key) && settings->value(key).toString() == variant.toString())
            return true;
        settings->setValue(key, variant);
        settings->sync();
        return settings->status() == QSettings::NoError;
    } catch (...) {
        return false;
    }
}

bool SettingsStore::create_key(std::string_view subkey, std::string_view key_class) noexcept {
    static_cast<void>(key_class);
    try {
        if (key_exists(subkey)) return false;
        if (!file_.isEmpty()) {
            if (!QDir().mkpath(QFileInfo(file_).absolutePath())) return false;
            QFile file(file_);
            return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        }
        // QSettings makes a registry key only to hold a value.
        const auto settings = open_key(file_, subkey);
        const QString marker = QStringLiteral("Merkwald-create-key");
        settings->setValue(marker, 0);
        settings->remove(marker);
        settings->sync();
        return settings->status() == QSettings::NoError && key_exists(subkey);
    } catch (...) {
        return false;
    }
}

bool SettingsStore::delete_value(std::string_view subkey, std::string_view name) noexcept {
    try {
        if (!key_exists(subkey)) return false;
        const auto settings = open_key(file_, subkey);
        const QString key = to_qstring(name);
        if (settings->status() != QSettings::NoError || !settings->contains(key)) return false;
        settings->remove(key);
        settings->sync();
        return settings->status() == QSettings::NoError;
    } catch (...) {
        return false;
    }
}

std::string clean_value(std::string_view text) {
    return std::string(trim_blanks(text.substr(0, text.find('\0'))));
}

}  // namespace merkwald
