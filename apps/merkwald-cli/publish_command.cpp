// The coming days' events to a CalDAV calendar: `publish`.

#include <QEventLoop>
#include <QTimer>
#include <iostream>
#include <optional>
#include <ostream>

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include "cli.h"
#include "editing/publish/caldav_client.h"
#include "editing/publish/password_source.h"
#include "editing/publish/publish_job.h"
#include "engine/date_text.h"
#include "engine/icalendar.h"
#include "engine/occurrences.h"
#include "settings/qt_bridges.h"

namespace merkwald::cli {

namespace {

constexpr std::string_view kUsage =
    "Aufruf: merkwald-cli publish [--dry-run] [--today DATUM] [--file DATEI]\n"
    "        [--accept-fingerprint SHA256]\n";

// How long the secret store may take to answer before the terminal is asked.
constexpr int kKeychainWaitMs = 10000;

struct PublishOptions {
    bool dry_run = false;
    std::optional<DaySerial> today;
    std::optional<std::string> file;
    std::optional<QString> fingerprint;
};

std::optional<PublishOptions> parse_options(const std::vector<std::string>& args,
                                            const Context& ctx) {
    PublishOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dry-run") {
            o.dry_run = true;
            continue;
        }
        std::string name, value;
        if (!take_name_value(args, i, name, value)) return std::nullopt;
        if (name == "--today") {
            o.today = parse_date(value);
            if (!o.today) return std::nullopt;
        } else if (name == "--file" && !value.empty()) {
            o.file = command_line_file(ctx, value);
        } else if (name == "--accept-fingerprint") {
            o.fingerprint = normalise_fingerprint(to_qstring(value));
            if (o.fingerprint->isEmpty()) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

// Asked on the terminal without echo; nullopt when there is no terminal.
std::optional<QString> password_from_terminal(std::ostream& err) {
#ifdef _WIN32
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(input, &mode)) return std::nullopt;
    SetConsoleMode(input, mode & ~DWORD(ENABLE_ECHO_INPUT));
#else
    if (!isatty(STDIN_FILENO)) return std::nullopt;
    termios old_mode{};
    tcgetattr(STDIN_FILENO, &old_mode);
    termios quiet = old_mode;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
#endif
    err << "Passwort für den CalDAV-Kalender: " << std::flush;
    std::string line;
    const bool got = bool(std::getline(std::cin, line));
#ifdef _WIN32
    SetConsoleMode(input, mode);
#else
    tcsetattr(STDIN_FILENO, TCSANOW, &old_mode);
#endif
    err << '\n';
    if (!got) return std::nullopt;
    return QString::fromStdString(line);
}

std::optional<QString> password_from_keychain(const CalDavTarget& target) {
    KeychainPasswords keychain;
    std::optional<QString> found;
    QEventLoop loop;
    bool answered = false;
    keychain.fetch(password_account(target), [&](std::optional<QString> password) {
        found = std::move(password);
        answered = true;
        loop.quit();
    });
    QTimer::singleShot(kKeychainWaitMs, &loop, &QEventLoop::quit);
    if (!answered) loop.exec();
    return found;
}

std::optional<QString> find_password(const CalDavTarget& target, std::ostream& err) {
    if (auto password = password_from_environment()) return password;
    if (auto password = password_from_keychain(target)) return password;
    return password_from_terminal(err);
}

PublishReport run_job(PublishJob job) {
    CalDavClient client;
    PublishReport report;
    QEventLoop loop;
    client.start(std::move(job), [&](const PublishReport& done) {
        report = done;
        loop.quit();
    });
    loop.exec();
    return report;
}

}  // namespace

int run_publish(const std::vector<std::string>& args, Context& ctx) {
    const auto options = parse_options(args, ctx);
    if (!options) {
        ctx.err << kUsage;
        return kExitUsage;
    }
    std::optional<CalDavTarget> target = caldav_target(ctx.entry_settings);
    if (!target) {
        ctx.err << to_utf8(caldav_problem_text(check_caldav(ctx.entry_settings))) << '\n';
        return kExitUsage;
    }
    if (options->fingerprint) target->fingerprint = *options->fingerprint;

    const DaySerial today = options->today.value_or(ctx.today);
    StderrSink sink(ctx.err);
    EngineState state(ctx.engine, today, ctx.program_folder);
    const OccurrenceList list =
        collect_occurrences(state, options->file.value_or(ctx.data_filename),
                            DateRange{today, today + kFeedDays - 1}, sink);
    // A file that could not be read would look like deleted events.
    if (list.failed_files > 0) return kExitFailure;

    QString password;
    if (!options->dry_run) {
        const std::optional<QString> found = find_password(*target, ctx.err);
        if (!found) {
            ctx.err << "Kein Passwort für den CalDAV-Kalender: weder im Schlüsselbund noch in "
                    << kCalDavPasswordVariable << ", und kein Terminal zum Fragen.\n";
            return kExitUsage;
        }
        password = *found;
    }
    auto prepared = prepare_publish(*target, password, list.events, utc_from_unix(ctx.unix_seconds),
                                    ctx.program_folder, options->dry_run);
    const PublishReport report = std::holds_alternative<PublishJob>(prepared)
                                     ? run_job(std::move(std::get<PublishJob>(prepared)))
                                     : std::get<PublishReport>(prepared);
    ctx.out << publish_report_text(report);
    if (report.failure == PublishFailure::none) return kExitOk;
    ctx.err << to_utf8(report.failure_text) << '\n';
    if (report.failure == PublishFailure::untrusted)
        ctx.err << "Ist es das Zertifikat Ihres Servers, bestätigen Sie es mit\n"
                   "  merkwald-cli publish --accept-fingerprint "
                << to_utf8(report.fingerprint)
                << "\noder in den Einstellungen (Seite \"Allgemein\").\n";
    return kExitFailure;
}

}  // namespace merkwald::cli
