#pragma once
// What follows each refresh of the main window: the calendar feed is brought up to date,
// the files of the file list are watched, and today's digest goes out once at
// the start and once at each day change.

#include <QObject>
#include <string>
#include <vector>

#include "engine/feed_target.h"
#include "engine/occurrences.h"
#include "shell/platform/file_watch.h"
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

private:
    void write_feed();
    [[nodiscard]] FeedGuard feed_guard();
    // Once for one name, not after every refresh.
    void report_feed_failure(const std::string& feed, const QString& text);
    void send_digest();

    MainWindow& window_;
    FileWatch watch_;
    DigestNotifier digest_;
    bool started_ = false;
    std::string fed_file_;  // what the feed file holds since its last write
    std::vector<Occurrence> fed_events_;
    std::string failed_feed_;  // reported once, not after every refresh
};

}  // namespace merkwald
