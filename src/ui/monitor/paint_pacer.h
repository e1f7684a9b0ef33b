#pragma once
// Collects a window's invalid rectangles and hands them to QWidget::update at most once per
// screen refresh (see CPaintPacing): a burst of samples becomes one paint. All live windows share
// one frame clock, so the plot and the information panel are updated together and their window
// is composed once per frame, not once for each of them.
#include <QRegion>

class QWidget;

namespace somatrix {

class CPaintPacer {
public:
    explicit CPaintPacer(QWidget* widget);
    ~CPaintPacer();
    CPaintPacer(const CPaintPacer&) = delete;
    CPaintPacer& operator=(const CPaintPacer&) = delete;

    void Invalidate(const QRect& rect);
    void InvalidateAll();
    // Whether rectangles wait for their update (a paint now would not show them yet).
    bool HasPending() const { return !m_pending.isEmpty(); }

    // Steady-clock time in nanoseconds of the oldest change that the next paint shows (handed to
    // update() and not painted yet), -1 for none; the display benchmark measures its age.
    qint64 OldestUnpaintedNs() const { return m_nFlushedNs; }
    // The window painted: everything handed to update() so far is on screen.
    void Painted() { m_nFlushedNs = -1; }

    // Hands the pending rectangles to the window (the frame clock calls it).
    void Flush();

private:
    QWidget* m_pWidget;
    QRegion m_pending;
    qint64 m_nPendingNs = -1;  // oldest change still waiting for the frame clock
    qint64 m_nFlushedNs = -1;  // oldest change handed to update()
};

}  // namespace somatrix
