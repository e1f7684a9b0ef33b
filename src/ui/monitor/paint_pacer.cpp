#include "ui/monitor/paint_pacer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <vector>

#include "display/paint_pacing.h"

namespace somatrix {

namespace {

qint64 SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double RefreshRate() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->refreshRate() : 60.0;
}

// The frame clock of the GUI thread: lives while any pacer does. A request never flushes on the
// spot: the flush runs once the current event (one receive event may touch both windows) is
// done, and no sooner than one refresh interval after the last.
class CFrameClock {
public:
    static CFrameClock& Acquire() {
        if (!s_pClock) {
            s_pClock = new CFrameClock();
        }
        ++s_pClock->m_nUsers;
        return *s_pClock;
    }
    // Exists while any pacer does.
    static CFrameClock& Current() { return *s_pClock; }
    static void Release(CPaintPacer* pacer) {
        CFrameClock* clock = s_pClock;
        std::erase(clock->m_pacers, pacer);
        if (--clock->m_nUsers == 0) {
            delete clock;
            s_pClock = nullptr;
        }
    }

    void Request(CPaintPacer* pacer) {
        if (std::find(m_pacers.begin(), m_pacers.end(), pacer) == m_pacers.end()) {
            m_pacers.push_back(pacer);
        }
        if (m_timer.isActive()) {
            return;
        }
        const int64_t delayUs = m_pacing.DelayUs(m_clock.nsecsElapsed() / 1000);
        m_timer.start(static_cast<int>((delayUs + 999) / 1000));
    }

private:
    CFrameClock() : m_pacing(CPaintPacing::IntervalForRate(RefreshRate())) {
        m_clock.start();
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    }

    void Tick() {
        m_pacing.Flushed(m_clock.nsecsElapsed() / 1000);
        std::vector<CPaintPacer*> due;
        due.swap(m_pacers);
        for (CPaintPacer* pacer : due) {
            pacer->Flush();
        }
    }

    static inline CFrameClock* s_pClock = nullptr;
    int m_nUsers = 0;
    CPaintPacing m_pacing;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::vector<CPaintPacer*> m_pacers;  // those with rectangles waiting
};

}  // namespace

CPaintPacer::CPaintPacer(QWidget* widget) : m_pWidget(widget) {
    CFrameClock::Acquire();
}

CPaintPacer::~CPaintPacer() {
    CFrameClock::Release(this);
}

void CPaintPacer::Invalidate(const QRect& rect) {
    if (rect.isEmpty()) {
        return;
    }
    if (m_nPendingNs < 0) {
        m_nPendingNs = SteadyNs();
    }
    m_pending += rect;
    CFrameClock::Current().Request(this);
}

void CPaintPacer::InvalidateAll() {
    Invalidate(m_pWidget->rect());
}

void CPaintPacer::Flush() {
    if (m_pending.isEmpty()) {
        return;
    }
    m_pWidget->update(m_pending);
    m_pending = QRegion();
    if (m_nFlushedNs < 0) {
        m_nFlushedNs = m_nPendingNs;
    }
    m_nPendingNs = -1;
}

}  // namespace somatrix
