#pragma once
// The per-user settings store: four primitive operations over QSettings. On
// Windows the subkeys are registry keys under HKEY_CURRENT_USER; elsewhere the
// whole store is one file (~/.config/Merkwald/Merkwald.conf), the key
// "Software\Merkwald" its top level and every other subkey a group in it.
// No operation throws; each answers whether it succeeded. A failed write is also
// told to the notice handler, so that no change of the settings is lost unseen.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

class QSettings;

namespace merkwald {

// A key of the store: a type of its own, so that a key and a value name cannot
// change places unnoticed.
struct StoreKey {
    std::string_view path;
};
inline constexpr StoreKey kMainKey{"Software\\Merkwald"};
inline constexpr StoreKey kRunKey{"Software\\Microsoft\\Windows\\CurrentVersion\\Run"};
inline constexpr std::string_view kKeyClass = "Merkwald";

// What a value holds: a text (UTF-8), a 32-bit number, or nothing (a value of
// another kind: it reads as present but without content, and is never stored).
using StoreValue = std::variant<std::monostate, std::string, std::int32_t>;

class SettingsStore {
public:
    // The user's own store.
    [[nodiscard]] static SettingsStore user_store();
    // A store in one INI file (tests, portable set-ups).
    [[nodiscard]] static SettingsStore file_store(const QString& path);

    // Fails when the key or the value is missing or cannot be read.
    [[nodiscard]] bool query_value(StoreKey key, std::string_view name,
                                   StoreValue& value) const noexcept;
    // Never creates the key: fails when it is missing, when the value holds
    // nothing, or when the write fails.
    bool set_value(StoreKey key, std::string_view name, const StoreValue& value) noexcept;
    // True only when the key did not exist before. The class text is kept for
    // the registry's sake; the file ignores it.
    bool create_key(StoreKey key, std::string_view key_class) noexcept;
    bool delete_value(StoreKey key, std::string_view name) noexcept;

    // The file behind the store; empty for the registry.
    [[nodiscard]] const QString& file_name() const { return file_; }

    // Gets a German text naming the file: when a write fails (once, and again
    // only after a write succeeded in between), and when a file with lines Qt
    // cannot read was copied to kDamagedSuffix before Qt rewrote it without them.
    // Copies of the store share the handler.
    void set_notice_handler(std::function<void(const std::string&)> handler);
    // The next failed write is told even when an earlier failure was: the user
    // has just asked to store something.
    void report_next_failure();

private:
    struct Shared {
        std::function<void(const std::string&)> notice;
        bool failure_told = false;
        QByteArray known_whole;  // the file as last written, which Qt reads whole
    };

    explicit SettingsStore(QString file) : file_(std::move(file)) {}
    [[nodiscard]] bool key_exists(std::string_view subkey) const;
    // Applies `change` to the open key and writes the key out.
    bool commit(QSettings& settings, const std::function<void(QSettings&)>& change) const;
    // Passes `ok` through; a failure is told once.
    bool note_write(bool ok) const;
    void tell(const std::string& text) const;

    QString file_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

// Beside the store file, what it held before a rewrite dropped its unreadable lines.
inline constexpr std::string_view kDamagedSuffix = ".defekt";

// The message of a failed write.
[[nodiscard]] std::string store_failure_text(const QString& store_name);

// Keeps what stands before the first zero character and trims blanks at both ends.
[[nodiscard]] std::string clean_value(std::string_view text);

}  // namespace merkwald
