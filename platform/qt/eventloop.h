#pragma once
// The event loop as a long command on the user-interface thread needs it:
// a pass over pending events, the wait cursor, and paint at a bounded rate.
#include <chrono>
#include <memory>

class QWidget;

// Handles every pending user-interface event before returning.
void PumpMessages();

// The pump of a long command that runs on this thread: it handles pending
// events when asked, at most once per interval (the first time always). A
// pass of the event loop costs a system call or more, far more than one
// step of a search, and nobody can tell a millisecond's wait.
class CEventPump {
public:
    explicit CEventPump(std::chrono::microseconds interval) : m_interval(interval) {}
    // True when the next Pump() will handle events.
    bool Due() const { return std::chrono::steady_clock::now() - m_last >= m_interval; }
    void Pump();

private:
    std::chrono::microseconds m_interval;
    std::chrono::steady_clock::time_point m_last{};
};

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// While it lives, the window repaints at most once per interval: a search
// pumps events after every file, and painting the whole window each time
// would cost far more than the search itself. What changed in between is
// painted at the next tick, and once more when the throttle goes.
class CPaintThrottle {
public:
    CPaintThrottle(QWidget* window, int intervalMs);
    ~CPaintThrottle();
    CPaintThrottle(const CPaintThrottle&) = delete;
    CPaintThrottle& operator=(const CPaintThrottle&) = delete;

private:
    class Filter;
    std::unique_ptr<Filter> m_filter;
};
