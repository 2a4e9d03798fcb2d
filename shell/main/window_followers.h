#pragma once
// What follows each refresh of the main window: the calendar feed and the CalDAV
// calendar are brought up to date, the files of the file list are watched, and today's digest goes out once at
// the start and once at each day change.

#include <QObject>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "editing/publish/caldav_client.h"
#include "editing/publish/password_source.h"
#include "engine/feed_target.h"
#include "engine/file_access.h"
#include "engine/icalendar.h"
#include "engine/occurrences.h"
#include "settings/settings.h"
#include "shell/platform/file_watch.h"
#include "shell/publish/publish_runner.h"
#include "shell/tray/digest_notification.h"

namespace merkwald {

class MainWindow;

class WindowFollowers final : public QObject {
public:
    // Follows every refresh of `window` from now on; `bus` carries the digest's
    // notifications (see DigestNotifier).
    WindowFollowers(MainWindow& window, const QString& bus);
    ~WindowFollowers() override;

    // After the start: the first digest.
    void started();
    void refreshed();

    // The coming days' events for the feed and the CalDAV calendar are computed
    // (and the feed written) beside the window; true while a run is going or waiting.
    [[nodiscard]] bool feed_busy() const { return running_ || pending_.has_value(); }
    // How many times the feed's events were computed, for the tests.
    [[nodiscard]] int feed_runs() const { return feed_runs_; }
    [[nodiscard]] PublishRunner& publisher() { return publisher_; }

private:
    // What the feed's events depend on: when none of it changed since the
    // feed file was written, they are not computed again.
    struct FeedKey {
        std::string feed;
        std::vector<std::pair<std::filesystem::path, FileStamp>> files;
        Settings settings;
        DaySerial today{};
        std::optional<int> lead_days;
        friend bool operator==(const FeedKey&, const FeedKey&) = default;
    };
    // One run, with its own copies of everything it reads.
    struct FeedJob {
        FeedKey key;
        std::filesystem::path target;  // empty: only the CalDAV calendar wants the events
        EngineState state;
        RefreshTables refreshed;
        UtcTime stamp;
        std::shared_ptr<const std::vector<Occurrence>> fed;  // what the file holds, when known
    };
    struct FeedDone {
        FeedKey key;
        bool ok = false;
        bool file_written = false;  // else the file stayed (or there is none)
        std::shared_ptr<const std::vector<Occurrence>> events;
        UtcTime stamp;
    };

    void write_feed();
    void start_feed_run();
    void feed_run_done(FeedDone done);
    [[nodiscard]] FeedGuard feed_guard();
    // Once for one name, not after every refresh.
    void report_feed_failure(const std::string& feed, const QString& text);
    void send_digest();
    void publish_calendar(const std::vector<Occurrence>& events, UtcTime stamp);
    [[nodiscard]] PublishHooks publish_hooks();

    MainWindow& window_;
    FileWatch watch_;
    DigestNotifier digest_;
    bool started_ = false;
    std::string fed_file_;  // what the feed file holds since its last write
    // The events last computed, and what from.
    std::shared_ptr<const std::vector<Occurrence>> fed_events_;
    std::optional<FeedKey> fed_key_;
    std::string failed_feed_;  // reported once, not after every refresh
    // Never two runs at once: a request while one runs waits, and a later one replaces it.
    std::thread worker_;
    bool running_ = false;
    std::optional<FeedKey> running_key_;
    std::optional<FeedJob> pending_;
    int feed_runs_ = 0;
    CalDavClient caldav_;
    KeychainPasswords passwords_;
    PublishRunner publisher_;
};

}  // namespace merkwald
