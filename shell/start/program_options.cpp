#include "shell/start/program_options.h"

#include <QCommandLineParser>

#include "shell/main/main_window.h"

namespace merkwald {
namespace {

QString help_text(ProgramKind kind) {
    const bool light = kind == ProgramKind::light;
    QString text = light ? QStringLiteral(
                               "Aufruf: merklight [OPTION] [WORT]...\n"
                               "Zeigt die fälligen Erinnerungen (Merkwald light).\n\n")
                         : QStringLiteral(
                               "Aufruf: merkwald [OPTION] [WORT]...\n"
                               "Zeigt die fälligen Erinnerungen und bearbeitet "
                               "die Erinnerungsdateien.\n\n");
    text += QStringLiteral(
        "  -h, --help       diese Hilfe zeigen und beenden\n"
        "  -v, --version    die Version zeigen und beenden\n\n"
        "Wörter:\n");
    if (!light) text += QStringLiteral("  no_logo          ohne Startbild\n");
    text += QStringLiteral(
        "  /once            sofort still beenden, wenn das Programm heute schon lief\n"
        "  /file=DATEI      DATEI statt der eingestellten Erinnerungsdatei lesen\n"
        "  no_events        sofort beenden, wenn nichts fällig ist\n"
        "  /unload=N        nach N Sekunden von selbst schließen\n\n"
        "Läuft das Programm schon, holt ein weiterer Start sein Fenster nach vorn\n"
        "und gibt ihm die Wörter weiter (/file= öffnet die Datei dort).\n");
    return text;
}

}  // namespace

std::optional<QString> information_request(const QStringList& arguments, ProgramKind kind,
                                           const ProgramVersion& version) {
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption show_version({QStringLiteral("v"), QStringLiteral("version")},
                                          QString());
    parser.addOption(help);
    parser.addOption(show_version);
    // The old words are positional arguments to the parser; anything else that looks
    // like an option is ignored, as the old words never were options.
    (void)parser.parse(arguments);
    if (parser.isSet(help)) return help_text(kind);
    if (parser.isSet(show_version)) {
        return (kind == ProgramKind::light ? QStringLiteral("merklight ")
                                           : QStringLiteral("merkwald ")) +
               version.text() + u'\n';
    }
    return std::nullopt;
}

}  // namespace merkwald
