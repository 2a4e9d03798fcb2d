#include "settings/settings_autostart.h"

#include <QDir>

#include "settings/qt_bridges.h"

namespace merkwald {

std::string run_key_command(const QString& executable, bool once) {
    const std::string path = to_utf8(QDir::toNativeSeparators(executable));
    return "\"" + path + "\"" + (once ? " /once /no_logo" : " /no_logo");
}

AutostartChoice RunKeyAutostart::current() const {
    StoreValue value;
    if (!store_.query_value(kRunKey, kRunValueName, value)) return {};
    const auto* text = std::get_if<std::string>(&value);
    return {true, text != nullptr && text->find("/once") != std::string::npos};
}

bool RunKeyAutostart::apply(const AutostartChoice& choice) {
    if (!choice.enabled) {
        StoreValue value;
        return store_.delete_value(kRunKey, kRunValueName) ||
               !store_.query_value(kRunKey, kRunValueName, value);
    }
    store_.create_key(kRunKey, kKeyClass);
    return store_.set_value(kRunKey, kRunValueName, run_key_command(executable_, choice.once));
}

}  // namespace merkwald
