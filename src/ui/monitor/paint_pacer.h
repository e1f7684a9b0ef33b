#pragma once
// Collects a window's invalid rectangles and hands them to QWidget::update at most once per
// screen refresh (see CPaintPacing): a burst of samples becomes one paint.
#include <QElapsedTimer>
#include <QRegion>
#include <QTimer>

#include "display/paint_pacing.h"

class QWidget;

namespace somatrix {

class CPaintPacer {
public:
    explicit CPaintPacer(QWidget* widget);

    void Invalidate(const QRect& rect);
    void InvalidateAll();

private:
    void Flush();
    int64_t NowUs() const { return m_clock.nsecsElapsed() / 1000; }

    QWidget* m_pWidget;
    CPaintPacing m_pacing;
    QElapsedTimer m_clock;
    QTimer m_timer;
    QRegion m_pending;
};

}  // namespace somatrix
