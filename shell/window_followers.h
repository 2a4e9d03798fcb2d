#pragma once
// What follows each refresh of the main window: the calendar feed and the CalDAV
// calendar are brought up to date,
// the files of the file list are watched, and today's digest goes out once at
// the start and once at each day change.

#include <QObject>
#include <string>
#include <vector>

#include "editing/publish/caldav_client.h"
#include "editing/publish/password_source.h"
#include "engine/feed_target.h"
#include "engine/occurrences.h"
#include "shell/digest_notification.h"
#include "shell/file_watch.h"
#include "shell/publish_runner.h"

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

    [[nodiscard]] PublishRunner& publisher() { return publisher_; }

private:
    void write_feed();
    [[nodiscard]] FeedGuard feed_guard();
    // Once for one name, not after every refresh.
    void report_feed_failure(const std::string& feed, const QString& text);
    void send_digest();
    void publish_calendar();
    [[nodiscard]] PublishHooks publish_hooks();

    MainWindow& window_;
    FileWatch watch_;
    DigestNotifier digest_;
    bool started_ = false;
    std::string fed_file_;  // what the feed file holds since its last write
    std::vector<Occurrence> fed_events_;
    std::string failed_feed_;  // reported once, not after every refresh
    CalDavClient caldav_;
    KeychainPasswords passwords_;
    PublishRunner publisher_;
};

}  // namespace merkwald
