#pragma once
// Bounded waits on the event loop, for tests of timers, file watches and D-Bus:
// nothing waits longer than its bound, and nothing waits for a person.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace merkwald::test {

// Runs the event loop until `done` or the bound passes.
template <class F>
bool wait_until(F done, int bound_ms = 5000) {
    QDeadlineTimer deadline(bound_ms);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

// Runs the event loop for a while, to see that nothing more happens.
inline void settle_for(int ms) {
    (void)wait_until([] { return false; }, ms);
}

}  // namespace merkwald::test
