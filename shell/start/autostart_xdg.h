#pragma once
// The log-on start on freedesktop.org desktops: an autostart entry
// $XDG_CONFIG_HOME/autostart/merkwald.desktop (~/.config when the variable is
// unset), present exactly while the start at log-on is on. Its Exec line names
// the program and "/once /no_logo" or "/no_logo", as the run key does on Windows.

#include <QString>
#include <memory>

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace merkwald {

// The folder the desktop reads its autostart entries from.
[[nodiscard]] QString xdg_autostart_folder();

// Whether a desktop entry can name the program: its strings may hold no control
// character but those with an escape (line break, carriage return, tab).
[[nodiscard]] bool fits_desktop_entry(const QString& executable);

// The Exec value: the program quoted as the desktop entry format asks, then the
// words. One line whatever the name holds (see fits_desktop_entry).
[[nodiscard]] QString desktop_exec_line(const QString& executable, bool once);

class XdgAutostart final : public AutostartEntry {
public:
    XdgAutostart(QString executable, QString autostart_folder = xdg_autostart_folder());

    [[nodiscard]] AutostartChoice current() const override;
    // False, and no entry written, for a program name no entry can hold.
    bool apply(const AutostartChoice& choice) override;
    [[nodiscard]] QString entry_path() const;

private:
    QString executable_;
    QString folder_;
};

// The system's own kind of entry: the run key on Windows, the autostart entry elsewhere.
[[nodiscard]] std::unique_ptr<AutostartEntry> system_autostart(SettingsStore& store,
                                                               const QString& executable);

}  // namespace merkwald
