#include "shell/file_watch.h"

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
    stamps_.clear();
    for (const QString& file : files) stamps_[QFileInfo(file).absoluteFilePath()] = {};
    for (auto& [file, stamp] : stamps_) stamp = stamp_of(file);
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    rearm();
}

void FileWatch::rearm() {
    std::set<QString> folders;
    const QStringList watched = watcher_.files();
    for (const auto& [file, stamp] : stamps_) {
        folders.insert(QFileInfo(file).absolutePath());
        if (!watched.contains(file) && QFileInfo::exists(file)) watcher_.addPath(file);
    }
    const QStringList watched_folders = watcher_.directories();
    for (const QString& folder : folders)
        if (!watched_folders.contains(folder) && QFileInfo::exists(folder))
            watcher_.addPath(folder);
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
