#include "cli.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace merkwald::cli {

namespace {

constexpr std::string_view kHelp =
    "merkwald-cli - die Erinnerungsliste von Merkwald im Terminal\n"
    "\n"
    "Aufruf: merkwald-cli BEFEHL [OPTIONEN]\n"
    "\n"
    "  list [--today DATUM] [--file DATEI] [--lead-days N]\n"
    "                      die heutige Liste, wie sie das Fenster zeigt\n"
    "  list --from DATUM --to DATUM [--file DATEI]\n"
    "                      die Ereignisse von DATUM bis DATUM (beide eingeschlossen)\n"
    "  ics --from DATUM --to DATUM [--file DATEI]\n"
    "                      die Ereignisse als iCalendar (RFC 5545), hoechstens 366 Tage\n"
    "  missed [--today DATUM] [--file DATEI]\n"
    "                      die seit dem letzten Start abgelaufenen Ereignisse\n"
    "  holidays JAHR       die Feiertage eines Jahres (1901-2098)\n"
    "  holidays JAHR --state LAND\n"
    "                      die gesetzlichen Feiertage eines Bundeslandes (BY, NW, BE ...)\n"
    "  church-year JAHR    die Sonn- und Feiertage des Kirchenjahres\n"
    "  holiday DATUM       der Feiertag eines Tages, oder eine leere Zeile\n"
    "  astro [--date DATUM] [--time HH:MM] [--place NAME] [--lon G,M,S,R] [--lat G,M,S,R]\n"
    "        [--zone H] [--dst | --no-dst]\n"
    "                      Sonne und Mond für einen Ort und Zeitpunkt\n"
    "  namedays [--today DATUM] [--all]\n"
    "                      die Namenstage der Vornamen in den Geburtstagen (7 Tage im\n"
    "                      Voraus); mit --all dazu alle Namen des Tages\n"
    "  publish [--dry-run] [--today DATUM] [--file DATEI] [--accept-fingerprint SHA256]\n"
    "                      bringt den CalDAV-Kalender der Einstellungen auf den Stand\n"
    "                      der kommenden 365 Tage; mit --dry-run nur die Vorschau\n"
    "  check [--file DATEI]\n"
    "                      meldet jede fehlerhafte Zeile als DATEI:ZEILE: Text\n"
    "  add birthday NAME DATUM [--template N] [--lead-days N] [--file DATEI] [--utf8]\n"
    "  add appointment TEXT DATUM [HH:MM] [--template N] [--lead-days N] [--file DATEI]\n"
    "      [--utf8]\n"
    "                      haengt einen Geburtstag oder Termin an die Datei an\n"
    "                      (der einzige Befehl, der eine Datei schreibt); eine\n"
    "                      Windows-1252-Datei, die den Text nicht fassen kann, wird\n"
    "                      nur mit --utf8 in UTF-8 umgewandelt\n"
    "  --help, --version\n"
    "\n"
    "Datumsangaben: T.M.JJJJ, TT.MM.JJ oder JJJJ-MM-TT.\n"
    "--file DATEI: ein relativer Name gilt im aktuellen Ordner; ohne --file die\n"
    "Hauptdatei der Einstellungen, deren Name im Programmordner gilt.\n";

using Command = int (*)(const std::vector<std::string>&, Context&);

constexpr std::pair<std::string_view, Command> kCommands[] = {
    {"list", run_list},         {"missed", run_missed},
    {"holidays", run_holidays}, {"church-year", run_church_year},
    {"holiday", run_holiday},   {"astro", run_astro},
    {"ics", run_ics},           {"check", run_check},
    {"add", run_add},           {"namedays", run_namedays},
    {"publish", run_publish},
};

}  // namespace

bool take_name_value(const std::vector<std::string>& args, std::size_t& i, std::string& name,
                     std::string& value) {
    name = args[i];
    if (const auto eq = name.find('='); eq != std::string::npos && name.starts_with("--")) {
        value = name.substr(eq + 1);
        name.resize(eq);
        return true;
    }
    if (i + 1 >= args.size()) return false;
    value = args[++i];
    return true;
}

std::string command_line_file(const Context& ctx, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path path(std::u8string(name.begin(), name.end()));
    if (path.is_absolute()) return name;
    std::error_code ec;
    const fs::path folder = ctx.working_folder.empty() ? fs::current_path(ec) : ctx.working_folder;
    const std::u8string absolute = (folder / path).lexically_normal().u8string();
    return {absolute.begin(), absolute.end()};
}

int run(const std::vector<std::string>& args, Context& ctx) {
    if (args.empty()) {
        ctx.err << kHelp;
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        ctx.out << kHelp;
        return kExitOk;
    }
    if (args[0] == "--version") {
        ctx.out << "merkwald-cli " MERKWALD_VERSION "\n";
        return kExitOk;
    }
    for (const auto& [name, command] : kCommands) {
        if (args[0] == name) return command({args.begin() + 1, args.end()}, ctx);
    }
    ctx.err << "Unbekannter Befehl: " << args[0] << "\n\n" << kHelp;
    return kExitUsage;
}

}  // namespace merkwald::cli
