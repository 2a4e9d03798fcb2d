#include "shell/main/day_timers.h"

#include <algorithm>
#include <climits>

#include "settings/qt_bridges.h"

namespace merkwald {

int second_of_day(const QTime& time) { return time.msecsSinceStartOfDay() / 1000; }

void RefreshSchedule::start(const QDateTime& now, int interval_minutes, DaySerial today) {
    interval_minutes_ = std::max(1, interval_minutes);
    next_reread_ = now.addSecs(qint64(interval_minutes_) * 60);
    next_day_mark_ = today + 1;
}

RefreshSchedule::Due RefreshSchedule::tick(const QDateTime& now) {
    if (now >= next_reread_) {
        next_reread_ = now.addSecs(qint64(interval_minutes_) * 60);
        return Due::reread;
    }
    if (to_day_serial(now.date()) >= next_day_mark_) {
        ++next_day_mark_;
        return Due::new_day;
    }
    return Due::nothing;
}

DayTimer::DayTimer(const Clock& clock, Handlers handlers, QObject* parent)
    : QObject(parent), clock_(clock), handlers_(std::move(handlers)) {
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &DayTimer::tick);
}

void DayTimer::start_schedule(int interval_minutes, DaySerial today) {
    schedule_.start(clock_.now(), interval_minutes, today);
}

void DayTimer::tick() {
    const QDateTime now = clock_.now();
    if (handlers_.second) handlers_.second(now);
    switch (schedule_.tick(now)) {
        case RefreshSchedule::Due::reread:
            if (handlers_.reread) handlers_.reread();
            break;
        case RefreshSchedule::Due::new_day:
            if (handlers_.new_day) handlers_.new_day();
            break;
        case RefreshSchedule::Due::nothing:
            break;
    }
}

UnloadTimer::UnloadTimer(std::optional<int> seconds, Handlers handlers, QObject* parent)
    : QObject(parent), seconds_(seconds), handlers_(std::move(handlers)) {
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &UnloadTimer::tick);
}

void UnloadTimer::tick() {
    ++ticks_;
    if (!seconds_) {
        stop();
        return;
    }
    const long long remaining = *seconds_ - ticks_ + 1;
    if (handlers_.count) handlers_.count(int(std::clamp<long long>(remaining, INT_MIN, INT_MAX)));
    if (ticks_ > *seconds_) {
        // Once is enough: with standby the close button only hides, and pressing
        // it every second would hide the window again after each re-read.
        stop();
        if (handlers_.elapsed) handlers_.elapsed();
    }
}

}  // namespace merkwald
