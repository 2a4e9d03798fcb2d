#include "shell/start/autostart_xdg.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include "settings/settings_autostart.h"

namespace merkwald {

namespace {

constexpr char kEntryName[] = "merkwald.desktop";

// The value of `key` in the file's [Desktop Entry] group, empty when absent.
QString entry_value(const QString& text, const QString& key) {
    bool in_group = false;
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            in_group = line == QStringLiteral("[Desktop Entry]");
        } else if (in_group && line.startsWith(key)) {
            const QString rest = line.mid(key.size()).trimmed();
            if (rest.startsWith(u'=')) return rest.mid(1).trimmed();
        }
    }
    return {};
}

}  // namespace

QString xdg_autostart_folder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart");
}

bool fits_desktop_entry(const QString& executable) {
    for (const QChar c : executable) {
        const bool line_break = c == u'\n' || c == u'\r' || c == u'\t';
        if (!line_break && (c.unicode() < 0x20 || c.unicode() == 0x7f)) return false;
    }
    return true;
}

QString desktop_exec_line(const QString& executable, bool once) {
    // Inside the quotes the Exec syntax escapes " ` $ \ with a backslash, and the
    // string syntax of the file doubles every backslash once more; % is doubled.
    // A line break, a carriage return and a tab take the string syntax's escapes,
    // which the desktop undoes before it splits the quoted arguments.
    QString quoted;
    for (const QChar c : executable) {
        if (c == u'\n') {
            quoted += QStringLiteral("\\n");
        } else if (c == u'\r') {
            quoted += QStringLiteral("\\r");
        } else if (c == u'\t') {
            quoted += QStringLiteral("\\t");
        } else if (c == u'"' || c == u'`' || c == u'$') {
            quoted += QStringLiteral("\\\\") + c;
        } else if (c == u'\\') {
            quoted += QStringLiteral("\\\\\\\\");
        } else if (c == u'%') {
            quoted += QStringLiteral("%%");
        } else {
            quoted += c;
        }
    }
    return u'"' + quoted + u'"' +
           (once ? QStringLiteral(" /once /no_logo") : QStringLiteral(" /no_logo"));
}

XdgAutostart::XdgAutostart(QString executable, QString autostart_folder)
    : executable_(std::move(executable)), folder_(std::move(autostart_folder)) {}

QString XdgAutostart::entry_path() const {
    return folder_ + u'/' + QString::fromLatin1(kEntryName);
}

AutostartChoice XdgAutostart::current() const {
    QFile file(entry_path());
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(file.readAll());
    // An entry switched off by the desktop's own settings counts as absent.
    if (entry_value(text, QStringLiteral("Hidden"))
            .compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
        return {};
    return {true, entry_value(text, QStringLiteral("Exec")).contains(QStringLiteral("/once"))};
}

bool XdgAutostart::apply(const AutostartChoice& choice) {
    if (!choice.enabled) {
        QFile file(entry_path());
        return !file.exists() || file.remove();
    }
    if (!fits_desktop_entry(executable_) || !QDir().mkpath(folder_)) return false;
    QSaveFile file(entry_path());
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QString text = QStringLiteral(
                             "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Merkwald\n"
                             "Comment=Erinnerungen beim Anmelden anzeigen\n"
                             "Exec=%1\n"
                             "Icon=merkwald\n"
                             "Terminal=false\n"
                             "X-GNOME-Autostart-enabled=true\n")
                             .arg(desktop_exec_line(executable_, choice.once));
    file.write(text.toUtf8());
    return file.commit();
}

std::unique_ptr<AutostartEntry> system_autostart(SettingsStore& store, const QString& executable) {
#ifdef Q_OS_WIN
    return std::make_unique<RunKeyAutostart>(store, executable);
#else
    (void)store;
    return std::make_unique<XdgAutostart>(executable);
#endif
}

}  // namespace merkwald
