#include "platform/qt/eventloop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

void PumpMessages()
{
    // One pass of the event loop handles every event pending now: input,
    // posted events, due timers and paints.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void CEventPump::Pump()
{
    if (!Due())
        return;
    PumpMessages();
    m_last = std::chrono::steady_clock::now();
}

CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

class CPaintThrottle::Filter : public QObject {
public:
    Filter(QWidget* window, int intervalMs) : m_window(window), m_interval(intervalMs)
    {
        m_clock.start();
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { RequestPaint(); });
        window->installEventFilter(this);
    }
    ~Filter() override
    {
        if (!m_window)
            return;
        m_window->removeEventFilter(this);
        RequestPaint();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::UpdateRequest || m_bLetThrough)
            return false;
        if (m_clock.elapsed() >= m_interval) {
            m_clock.restart();
            return false;
        }
        // Hold it: the dirty region waits for the timer's request.
        if (!m_timer.isActive())
            m_timer.start(static_cast<int>(m_interval - m_clock.elapsed()));
        return true;
    }

private:
    void RequestPaint()
    {
        m_clock.restart();
        m_bLetThrough = true;
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(m_window, &request);
        m_bLetThrough = false;
    }

    QPointer<QWidget> m_window;
    qint64 m_interval;
    QElapsedTimer m_clock;
    QTimer m_timer;
    bool m_bLetThrough = false;
};

CPaintThrottle::CPaintThrottle(QWidget* window, int intervalMs) : m_filter(std::make_unique<Filter>(window, intervalMs))
{
}

CPaintThrottle::~CPaintThrottle() = default;
