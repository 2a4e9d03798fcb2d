#pragma once
// The log-on start through the run key: the value "Merkwald" under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, present
// exactly while the start at log-on is on. Other systems keep their entry
// elsewhere and bring their own AutostartEntry.

#include <QString>
#include <string>

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace merkwald {

inline constexpr std::string_view kRunValueName = "Merkwald";

// The program is named by its executable, which need not lie in the program
// folder; the path is quoted so that blanks in it cannot start another program.
[[nodiscard]] std::string run_key_command(const QString& executable, bool once);

class RunKeyAutostart final : public AutostartEntry {
public:
    RunKeyAutostart(SettingsStore& store, QString executable)
        : store_(store), executable_(std::move(executable)) {}

    [[nodiscard]] AutostartChoice current() const override;
    bool apply(const AutostartChoice& choice) override;

private:
    SettingsStore& store_;
    QString executable_;
};

}  // namespace merkwald
