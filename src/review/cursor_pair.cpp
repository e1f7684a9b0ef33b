#include "review/cursor_pair.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace somatrix {

void CCursorPair::Toggle(int64_t viewStart, int64_t viewEnd) {
    if (m_bVisible || m_nCount <= 0) {
        Hide();
        return;
    }
    const int64_t span = viewEnd > viewStart ? viewEnd - viewStart : 0;
    m_nSampleA = Clamp(viewStart + span / 3);
    m_nSampleB = Clamp(viewStart + span * 2 / 3);
    m_bVisible = true;
}

void CCursorPair::Hide() {
    m_bVisible = false;
    m_nDragging = -1;
}

void CCursorPair::SetCount(int64_t count) {
    m_nCount = count > 0 ? count : 0;
    m_nSampleA = Clamp(m_nSampleA);
    m_nSampleB = Clamp(m_nSampleB);
    Hide();
}

int64_t CCursorPair::Clamp(int64_t s) const {
    if (s >= m_nCount) {
        s = m_nCount - 1;
    }
    return s < 0 ? 0 : s;
}

int CCursorPair::Grab(int32_t x, int32_t pixelA, int32_t pixelB) {
    m_nDragging = -1;
    if (!m_bVisible) {
        return -1;
    }
    const int32_t da = std::abs(x - pixelA);
    const int32_t db = std::abs(x - pixelB);
    if (da <= kGrabPixels && da <= db) {
        m_nDragging = 0;
    } else if (db <= kGrabPixels) {
        m_nDragging = 1;
    }
    return m_nDragging;
}

bool CCursorPair::DragTo(int64_t s) {
    if (m_nDragging < 0) {
        return false;
    }
    Place(m_nDragging, s);
    return true;
}

void CCursorPair::Place(int which, int64_t s) {
    (which == 0 ? m_nSampleA : m_nSampleB) = Clamp(s);
}

CCursorReadout CCursorPair::Readout(const uint16_t* samples, double sampleRate, double scale,
                                    double offset) const {
    CCursorReadout r;
    if (samples == nullptr || m_nCount <= 0 || sampleRate <= 0.0) {
        r.m_dBpm = std::numeric_limits<double>::quiet_NaN();
        return r;
    }
    r.m_dTimeA = double(m_nSampleA) / sampleRate;
    r.m_dTimeB = double(m_nSampleB) / sampleRate;
    r.m_dValueA = samples[m_nSampleA] * scale + offset;
    r.m_dValueB = samples[m_nSampleB] * scale + offset;
    r.m_dDeltaMs = double(m_nSampleB - m_nSampleA) * 1000.0 / sampleRate;
    r.m_dDeltaValue = r.m_dValueB - r.m_dValueA;
    r.m_dBpm = m_nSampleA == m_nSampleB ? std::numeric_limits<double>::quiet_NaN()
                                        : 60000.0 / std::fabs(r.m_dDeltaMs);
    return r;
}

}  // namespace somatrix
