#include "shell/main/window_followers.h"

#include <QDir>
#include <filesystem>
#include <system_error>

#include "engine/feed_target.h"
#include "engine/file_lock.h"
#include "engine/icalendar.h"
#include "settings/qt_bridges.h"
#include "shell/main/day_timers.h"
#include "shell/main/main_window.h"
#include "shell/publish/publish_prompts.h"
#include "shell/tray/tray.h"

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

WindowFollowers::~WindowFollowers() {
    window_.set_refresh_handler({});
    // Its result is dropped with this object; the file it writes stays whole.
    if (worker_.joinable()) worker_.join();
}

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

FeedGuard WindowFollowers::feed_guard() {
    FeedGuard guard;
    guard.program_folder = to_path(window_.program_folder());
    for (const std::string& file : window_.refresh_tables().files)
        guard.reminder_files.push_back(window_.engine_state().resolve(file));
    const QString store_file = window_.settings_store().file_name();
    if (!store_file.isEmpty()) guard.settings_file = to_path(store_file);
    return guard;
}

PublishHooks WindowFollowers::publish_hooks() {
    PublishHooks hooks;
    hooks.notify = [this](const QString& text) {
        // Without a tray the message would go nowhere; a box would stop the window.
        (void)window_.tray().show_message(QStringLiteral("Merkwald: CalDAV-Kalender"), text);
    };
    hooks.ask_password = [this](const QString& account) {
        return ask_caldav_password(window_.services().dialogs, &window_, account);
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

void WindowFollowers::publish_calendar(const std::vector<Occurrence>& events, UtcTime stamp) {
    if (!publishing_wanted(window_.settings())) return;
    // The runner sends nothing when the calendar already holds these events.
    publisher_.publish(window_.settings(), events, stamp, to_path(window_.program_folder()));
}

void WindowFollowers::write_feed() {
    const std::string& feed = window_.settings().calendar_feed;
    const bool publish = publishing_wanted(window_.settings());
    if ((feed.empty() && !publish) || !window_.refresh_tables().read_ok) return;
    std::filesystem::path target_file;
    if (!feed.empty()) {
        const FeedTarget target = check_feed_target(feed, feed_guard());
        if (target.refusal == FeedRefusal::none) {
            target_file = target.file;
        } else {
            fed_file_.clear();
            report_feed_failure(feed,
                                QStringLiteral("Das Kalender-Abo %1 wird nicht geschrieben. %2")
                                    .arg(QDir::toNativeSeparators(path_text(target.file)),
                                         to_qstring(feed_refusal_text(target.refusal))));
            if (!publish) return;
        }
    }
    FeedKey key{target_file.empty() ? std::string() : feed,
                {},
                window_.settings(),
                window_.engine_state().today,
                window_.engine_state().lead_days};
    for (const std::string& file : window_.refresh_tables().files) {
        const std::filesystem::path path = window_.engine_state().resolve(file);
        key.files.emplace_back(path, current_stamp(path));
    }
    std::error_code missing;
    const bool file_current =
        target_file.empty() ||
        (key.feed == fed_file_ && std::filesystem::exists(target_file, missing));
    const UtcTime stamp = utc_from_unix(window_.services().clock.now().toSecsSinceEpoch());
    // Nothing it depends on changed since the events were computed: nothing to
    // compute. The same as the run going on asks for nothing more either. A
    // publish that failed is tried again with the events it had.
    if (running_ ? running_key_ == key : fed_key_ == key && file_current) {
        pending_.reset();
        if (!running_ && fed_events_) publish_calendar(*fed_events_, stamp);
        return;
    }
    FeedJob job{std::move(key), target_file, window_.engine_state(), {}, stamp, nullptr};
    // Of the refresh, the run needs only the records it kept.
    job.refreshed.failed_files = window_.refresh_tables().failed_files;
    job.refreshed.captured = window_.refresh_tables().captured;
    pending_ = std::move(job);
    if (!running_) start_feed_run();
}

void WindowFollowers::start_feed_run() {
    running_ = true;
    ++feed_runs_;
    FeedJob job = std::move(*pending_);
    pending_.reset();
    running_key_ = job.key;
    // What the file holds is known only now: a run that ended while this one
    // waited may have written it, or failed to.
    std::error_code missing;
    job.fed = !job.target.empty() && job.key.feed == fed_file_ &&
                      std::filesystem::exists(job.target, missing)
                  ? fed_events_
                  : nullptr;
    worker_ = std::thread([this, job = std::move(job)]() mutable {
        FeedDone done;
        done.key = std::move(job.key);
        // The feed evaluates the records the refresh kept; the refresh showed their messages.
        SilentSink quiet;
        std::optional<std::vector<Occurrence>> events =
            feed_events(job.state, job.refreshed, quiet);
        done.stamp = job.stamp;
        if (events && (job.target.empty() || (job.fed && *events == *job.fed))) {
            // Subscribers fetch the file again when it changes: a refresh that
            // changed none of the coming days leaves it as it is.
            done.ok = true;
        } else if (events) {
            // Another program may have put a file of its own there since the
            // window checked the name: checked again under the lock, it stays.
            const FileLock lock = lock_file(job.target);
            std::error_code missing;
            if (lock.held() &&
                (!std::filesystem::exists(job.target, missing) || is_own_calendar(job.target)) &&
                write_feed_file(job.target, *events, job.stamp)) {
                done.ok = true;
                done.file_written = true;
            }
        }
        if (done.ok)
            done.events = std::make_shared<const std::vector<Occurrence>>(std::move(*events));
        QMetaObject::invokeMethod(
            this, [this, done = std::move(done)]() mutable { feed_run_done(std::move(done)); },
            Qt::QueuedConnection);
    });
}

void WindowFollowers::feed_run_done(FeedDone done) {
    worker_.join();
    running_ = false;
    running_key_.reset();
    const std::string feed = done.key.feed;
    if (done.ok) {
        // A run for no file leaves no file holding its events.
        fed_file_ = feed;
        if (!feed.empty()) failed_feed_.clear();
        fed_events_ = std::move(done.events);
        fed_key_ = std::move(done.key);
        publish_calendar(*fed_events_, done.stamp);
    } else if (feed.empty()) {
        // Only the CalDAV calendar wanted the events: the next refresh tries again.
        fed_key_.reset();
    } else {
        fed_file_.clear();
        fed_key_.reset();
        report_feed_failure(feed,
                            QStringLiteral("Das Kalender-Abo %1 konnte nicht geschrieben werden.")
                                .arg(QDir::toNativeSeparators(to_qstring(feed))));
    }
    if (pending_) start_feed_run();
}

void WindowFollowers::report_feed_failure(const std::string& feed, const QString& text) {
    if (feed == failed_feed_) return;
    failed_feed_ = feed;
    window_.services().dialogs.message(&window_, text, MessageIcon::exclamation);
}

}  // namespace merkwald
