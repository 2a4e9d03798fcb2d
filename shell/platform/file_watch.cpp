#include "shell/platform/file_watch.h"

#include <QFileInfo>
#include <chrono>
#include <filesystem>
#include <set>
#include <system_error>

#include "settings/qt_bridges.h"

namespace merkwald {

FileWatch::FileWatch(Handlers handlers, QObject* parent)
    : QObject(parent), handlers_(std::move(handlers)) {
    settle_timer_.setSingleShot(true);
    settle_timer_.setInterval(kSettleMs);
    connect(&settle_timer_, &QTimer::timeout, this, &FileWatch::settle);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileWatch::changed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileWatch::changed);
}

FileWatch::Stamp FileWatch::stamp_of(const QString& file) {
    const std::filesystem::path path = to_path(file);
    std::error_code error;
    Stamp stamp;
    stamp.size = std::filesystem::file_size(path, error);
    if (error) return {};
    const auto time = std::filesystem::last_write_time(path, error);
    if (error) return {};
    stamp.exists = true;
    stamp.changed =
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    return stamp;
}

void FileWatch::watch(const std::vector<QString>& files) {
    std::map<QString, Stamp> stamps;
    for (const QString& file : files) stamps[QFileInfo(file).absoluteFilePath()] = {};
    for (auto& [file, stamp] : stamps) stamp = stamp_of(file);
    // Unchanged files stay watched as they are; a changed one may be a new file
    // under the old name and is watched afresh.
    const QStringList watched = watcher_.files();
    QStringList dropped;
    for (const QString& file : watched) {
        const auto now = stamps.find(file);
        const auto before = stamps_.find(file);
        if (now == stamps.end() || before == stamps_.end() || before->second != now->second)
            dropped << file;
    }
    stamps_ = std::move(stamps);
    const std::set<QString> folders = watched_folders();
    for (const QString& folder : watcher_.directories())
        if (!folders.contains(folder)) dropped << folder;
    if (!dropped.isEmpty()) watcher_.removePaths(dropped);
    rearm();
}

std::set<QString> FileWatch::watched_folders() const {
    std::set<QString> folders;
    for (const auto& [file, stamp] : stamps_) folders.insert(QFileInfo(file).absolutePath());
    return folders;
}

void FileWatch::rearm() {
    const QStringList watched = watcher_.files();
    for (const auto& [file, stamp] : stamps_)
        if (!watched.contains(file) && QFileInfo::exists(file)) watcher_.addPath(file);
    const QStringList folders = watcher_.directories();
    for (const QString& folder : watched_folders())
        if (!folders.contains(folder) && QFileInfo::exists(folder)) watcher_.addPath(folder);
}

void FileWatch::changed() {
    // The first change of a burst starts the wait; the rest join it.
    if (!settle_timer_.isActive()) settle_timer_.start();
}

void FileWatch::settle() {
    rearm();
    bool differs = false;
    for (const auto& [file, stamp] : stamps_) differs = differs || stamp_of(file) != stamp;
    if (!differs) return;
    if (handlers_.can_refresh && !handlers_.can_refresh()) {
        settle_timer_.start();
        return;
    }
    // The refresh calls watch() again with the new state.
    if (handlers_.refresh) handlers_.refresh();
}

}  // namespace merkwald
