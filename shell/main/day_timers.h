#pragma once
// The main window's two one-second timers. Each is a QTimer calling `tick()`;
// tests call `tick()` themselves and move a ManualClock in between.

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

#include "calendar/date_serial.h"
#include "shell/platform/platform.h"

namespace merkwald {

[[nodiscard]] int second_of_day(const QTime& time);

// When the day timer refreshes: every `Intervall` minutes, and once per day change. After
// a sleep of several days the day mark catches up one day per tick.
class RefreshSchedule {
public:
    enum class Due { nothing, reread, new_day };

    // A period below one minute would re-read (and sound) every second.
    void start(const QDateTime& now, int interval_minutes, DaySerial today);
    [[nodiscard]] Due tick(const QDateTime& now);
    [[nodiscard]] const QDateTime& next_reread() const { return next_reread_; }
    [[nodiscard]] DaySerial next_day_mark() const { return next_day_mark_; }

private:
    int interval_minutes_ = 60;
    QDateTime next_reread_;
    DaySerial next_day_mark_{};
};

// The day timer `Timer1`: the labels every second, then the periodic or the day-change refresh.
class DayTimer final : public QObject {
public:
    struct Handlers {
        std::function<void(const QDateTime&)> second;  // labels and moon
        std::function<void()> reread;
        std::function<void()> new_day;
    };

    DayTimer(const Clock& clock, Handlers handlers, QObject* parent = nullptr);
    void start_schedule(int interval_minutes, DaySerial today);
    void start() { timer_.start(); }
    void stop() { timer_.stop(); }
    [[nodiscard]] bool running() const { return timer_.isActive(); }
    void tick();
    [[nodiscard]] const RefreshSchedule& schedule() const { return schedule_; }

private:
    const Clock& clock_;
    Handlers handlers_;
    RefreshSchedule schedule_;
    QTimer timer_;
};

// The unload timer `Timer2`: the automatic close of "/unload=". Without that word it stops at its
// first tick; once the count has run out it fires `elapsed` and stops.
class UnloadTimer final : public QObject {
public:
    struct Handlers {
        std::function<void(int remaining)> count;
        std::function<void()> elapsed;
    };

    UnloadTimer(std::optional<int> seconds, Handlers handlers, QObject* parent = nullptr);
    void start() { timer_.start(); }
    void stop() { timer_.stop(); }
    [[nodiscard]] bool running() const { return timer_.isActive(); }
    void tick();

private:
    std::optional<int> seconds_;
    long long ticks_ = 0;
    Handlers handlers_;
    QTimer timer_;
};

}  // namespace merkwald
