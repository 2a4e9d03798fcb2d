#include "shell/window_followers.h"

#include <QDir>
#include <filesystem>
#include <system_error>

#include "engine/icalendar.h"
#include "settings/qt_bridges.h"
#include "shell/day_timers.h"
#include "shell/main_window.h"
#include "shell/tray.h"

namespace merkwald {

WindowFollowers::WindowFollowers(MainWindow& window, QDBusConnection bus)
    : QObject(&window),
      window_(window),
      watch_(
          {[&window] { window.show_data(); }, [&window] { return window.day_timer().running(); }},
          this),
      digest_(std::move(bus),
              {[&window](const QString& title, const QString& body) {
                   return window.tray().show_message(title, body);
               },
               [&window] { window.show_main_window(); }},
              this) {
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
    if (started_) send_digest();
}

void WindowFollowers::send_digest() {
    if (window_.settings().digest_notification)
        digest_.send_for(window_.engine_state().today, window_.refresh_tables().lines);
}

void WindowFollowers::write_feed() {
    const std::string& feed = window_.settings().calendar_feed;
    if (feed.empty() || !window_.refresh_tables().read_ok) return;
    EngineState state = window_.engine_state();
    // The feed evaluates the records the refresh kept; the refresh showed their messages.
    SilentSink quiet;
    auto events = feed_events(state, window_.refresh_tables(), quiet);
    // Subscribers fetch the file again when it changes: a refresh that changed
    // none of the coming days leaves it as it is.
    std::error_code missing;
    if (events && feed == fed_file_ && *events == fed_events_ &&
        std::filesystem::exists(feed, missing))
        return;
    const UtcTime stamp = utc_from_unix(window_.services().clock.now().toSecsSinceEpoch());
    if (events && write_feed_file(feed, *events, stamp)) {
        fed_file_ = feed;
        fed_events_ = std::move(*events);
        return;
    }
    fed_file_.clear();
    if (feed == failed_feed_) return;
    failed_feed_ = feed;
    window_.services().dialogs.message(
        &window_,
        QStringLiteral("Das Kalender-Abo %1 konnte nicht geschrieben werden.")
            .arg(QDir::toNativeSeparators(to_qstring(feed))),
        MessageIcon::exclamation);
}

}  // namespace merkwald
