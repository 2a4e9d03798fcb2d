#include "shell/window_followers.h"

#include <QDir>
#include <filesystem>
#include <system_error>

#include "engine/feed_target.h"
#include "engine/icalendar.h"
#include "settings/qt_bridges.h"
#include "shell/day_timers.h"
#include "shell/main_window.h"
#include "shell/publish_prompts.h"
#include "shell/tray.h"

namespace merkwald {

WindowFollowers::WindowFollowers(MainWindow& window, const QString& bus)
    : QObject(&window),
      window_(window),
      watch_(
          {[&window] { window.show_data(); }, [&window] { return window.day_timer().running(); }},
          this),
      digest_(bus,
              {[&window](const QString& title, const QString& body) {
                   return window.tray().show_message(title, body);
               },
               [&window] { window.show_main_window(); }},
              this),
      caldav_(this),
      passwords_(this),
      publisher_(caldav_, passwords_, publish_hooks(), this) {
    window.set_refresh_handler([this] { refreshed(); });
}

WindowFollowers::~WindowFollowers() { window_.set_refresh_handler({}); }

void WindowFollowers::started() {
    started_ = true;
    send_digest();
}

void WindowFollowers::refreshed() {
    std::vector<QString> files;
    for (const std::string& file : window_.refresh_tables().files)
        files.push_back(path_text(window_.engine_state().resolve(file)));
    watch_.watch(files);
    write_feed();
    publish_calendar();
    if (started_) send_digest();
}

PublishHooks WindowFollowers::publish_hooks() {
    PublishHooks hooks;
    hooks.notify = [this](const QString& text) {
        // Without a tray the message would go nowhere; a box would stop the window.
        (void)window_.tray().show_message(QStringLiteral("Merkwald: CalDAV-Kalender"), text);
    };
    hooks.ask_password = [this](const QString& account) {
        return ask_caldav_password(&window_, account);
    };
    hooks.confirm_certificate = [this](const QString& host, const QString& fingerprint) {
        return confirm_caldav_certificate(window_.services().dialogs, &window_, host, fingerprint);
    };
    hooks.keep_fingerprint = [this](const QString& fingerprint) {
        window_.settings().caldav_fingerprint = to_utf8(fingerprint);
        (void)write_values(window_.settings_store(), window_.settings(), {"CalDAVFingerabdruck"});
    };
    return hooks;
}

void WindowFollowers::publish_calendar() {
    if (!publishing_wanted(window_.settings()) || !window_.refresh_tables().read_ok) return;
    EngineState state = window_.engine_state();
    SilentSink quiet;
    // A file that could not be read would look like deleted events.
    auto events = feed_events(state, window_.refresh_tables(), quiet);
    if (!events) return;
    const UtcTime stamp = utc_from_unix(window_.services().clock.now().toSecsSinceEpoch());
    publisher_.publish(window_.settings(), std::move(*events), stamp,
                       to_path(window_.program_folder()));
}

void WindowFollowers::send_digest() {
    if (window_.settings().digest_notification)
        digest_.send_for(window_.engine_state().today, window_.refresh_tables().lines);
}

FeedGuard WindowFollowers::feed_guard() {
    FeedGuard guard;
    guard.program_folder = to_path(window_.program_folder());
    for (const std::string& file : window_.refresh_tables().files)
        guard.reminder_files.push_back(window_.engine_state().resolve(file));
    const QString store_file = window_.settings_store().file_name();
    if (!store_file.isEmpty()) guard.settings_file = to_path(store_file);
    return guard;
}

void WindowFollowers::write_feed() {
    const std::string& feed = window_.settings().calendar_feed;
    if (feed.empty() || !window_.refresh_tables().read_ok) return;
    const FeedTarget target = check_feed_target(feed, feed_guard());
    if (target.refusal != FeedRefusal::none) {
        fed_file_.clear();
        report_feed_failure(feed, QStringLiteral("Das Kalender-Abo %1 wird nicht geschrieben. %2")
                                      .arg(QDir::toNativeSeparators(path_text(target.file)),
                                           to_qstring(feed_refusal_text(target.refusal))));
        return;
    }
    EngineState state = window_.engine_state();
    // The feed evaluates the records the refresh kept; the refresh showed their messages.
    SilentSink quiet;
    auto events = feed_events(state, window_.refresh_tables(), quiet);
    // Subscribers fetch the file again when it changes: a refresh that changed
    // none of the coming days leaves it as it is.
    std::error_code missing;
    if (events && feed == fed_file_ && *events == fed_events_ &&
        std::filesystem::exists(target.file, missing))
        return;
    const UtcTime stamp = utc_from_unix(window_.services().clock.now().toSecsSinceEpoch());
    if (events && write_feed_file(target.file, *events, stamp)) {
        fed_file_ = feed;
        fed_events_ = std::move(*events);
        failed_feed_.clear();
        return;
    }
    fed_file_.clear();
    report_feed_failure(feed, QStringLiteral("Das Kalender-Abo %1 konnte nicht geschrieben werden.")
                                  .arg(QDir::toNativeSeparators(to_qstring(feed))));
}

void WindowFollowers::report_feed_failure(const std::string& feed, const QString& text) {
    if (feed == failed_feed_) return;
    failed_feed_ = feed;
    window_.services().dialogs.message(&window_, text, MessageIcon::exclamation);
}

}  // namespace merkwald
