#include "ui/monitor/paint_pacer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace somatrix {

namespace {
double RefreshRate() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->refreshRate() : 60.0;
}
}  // namespace

CPaintPacer::CPaintPacer(QWidget* widget)
    : m_pWidget(widget), m_pacing(CPaintPacing::IntervalForRate(RefreshRate())) {
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Flush(); });
}

void CPaintPacer::Invalidate(const QRect& rect) {
    if (rect.isEmpty()) {
        return;
    }
    m_pending += rect;
    if (m_timer.isActive()) {
        return;
    }
    const int64_t delayUs = m_pacing.DelayUs(NowUs());
    if (delayUs == 0) {
        Flush();
    } else {
        m_timer.start(static_cast<int>((delayUs + 999) / 1000));
    }
}

void CPaintPacer::InvalidateAll() {
    Invalidate(m_pWidget->rect());
}

void CPaintPacer::Flush() {
    if (m_pending.isEmpty()) {
        return;
    }
    m_pacing.Flushed(NowUs());
    m_pWidget->update(m_pending);
    m_pending = QRegion();
}

}  // namespace somatrix
