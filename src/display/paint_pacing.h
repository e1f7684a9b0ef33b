#pragma once
// When a painted window may repaint: at most once per screen refresh, at once when it has been
// idle for longer. Samples arrive hundreds of times a second; the screen shows some sixty
// frames, so repaints in between would only cost time. The live windows own one each and ask it
// on the GUI thread with a monotonic time in microseconds.
#include <cstdint>

namespace somatrix {

class CPaintPacing {
public:
    explicit CPaintPacing(int64_t intervalUs) : m_nIntervalUs(intervalUs) {}

    // Screen refresh rate in frames per second; nonsense rates fall back to 60.
    static int64_t IntervalForRate(double framesPerSecond);

    // Microseconds to wait before the next repaint may be asked for: 0 when one may go now.
    int64_t DelayUs(int64_t nowUs) const;
    // A repaint was asked for at `nowUs`.
    void Flushed(int64_t nowUs) {
        m_nLastUs = nowUs;
        m_bAny = true;
    }
    int64_t IntervalUs() const { return m_nIntervalUs; }

private:
    int64_t m_nIntervalUs;
    int64_t m_nLastUs = 0;
    bool m_bAny = false;
};

}  // namespace somatrix
