#include "shell/window_followers.h"

#include <QDir>

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
    if (window_.settings().digest_notification)
        digest_.send_for(window_.engine_state().today, window_.refresh_tables().lines);
}

void WindowFollowers::refreshed() {
    std::vector<QString> files;
    for (const std::string& file : window_.refresh_tables().files)
        files.push_back(path_text(window_.engine_state().resolve(file)));
    watch_.watch(files);
    write_feed();
    if (started_ && window_.settings().digest_notification)
        digest_.send_for(window_.engine_state().today, window_.refresh_tables().lines);
}

void WindowFollowers::write_feed() {
    const std::string& feed = window_.settings().calendar_feed;
    if (feed.empty() || !window_.refresh_tables().read_ok) return;
    EngineState state = window_.engine_state();
    // The feed evaluates the records the refresh kept; the refresh showed their messages.
    SilentSink quiet;
    const UtcTime stamp = utc_from_unix(window_.services().clock.now().toSecsSinceEpoch());
    const FeedResult result =
        write_calendar_feed(feed, state, window_.refresh_tables(), stamp, quiet);
    if (result.written || feed == failed_feed_) return;
    failed_feed_ = feed;
    window_.services().dialogs.message(
        &window_,
        QStringLiteral("Das Kalender-Abo %1 konnte nicht geschrieben werden.")
            .arg(QDir::toNativeSeparators(to_qstring(feed))),
        MessageIcon::exclamation);
}

}  // namespace merkwald
