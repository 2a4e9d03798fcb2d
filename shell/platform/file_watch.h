#pragma once
// Watches the files of the file list so that an outside edit refreshes the list.
// Editors and sync tools often replace a file by renaming a new one over it; the
// watch on the old file then ends, so the folders are watched too and the files
// are watched again after every change. A burst of changes gives one refresh.
// Whether anything really changed is decided by each file's size and change time
// as the last refresh saw them: the program's own rewrites, followed by its own
// refresh, give no second one.

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace merkwald {

class FileWatch final : public QObject {
public:
    struct Handlers {
        std::function<void()> refresh;
        // False while a refresh must wait (a modal command runs); asked again later.
        std::function<bool()> can_refresh;
    };

    // The time from the first change of a burst to the refresh.
    static constexpr int kSettleMs = 300;

    explicit FileWatch(Handlers handlers, QObject* parent = nullptr);

    // After each refresh: watches exactly these files (absolute paths) and takes
    // their present state as the one the list shows.
    void watch(const std::vector<QString>& files);
    [[nodiscard]] QStringList watched_files() const { return watcher_.files(); }

private:
    struct Stamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::int64_t changed = 0;  // nanoseconds
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    [[nodiscard]] static Stamp stamp_of(const QString& file);
    void changed();
    void settle();
    [[nodiscard]] std::set<QString> watched_folders() const;
    void rearm();

    Handlers handlers_;
    QFileSystemWatcher watcher_;
    QTimer settle_timer_;
    std::map<QString, Stamp> stamps_;
};

}  // namespace merkwald
