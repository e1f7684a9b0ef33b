#include "analysis/live_heart_rate.h"

#include <algorithm>

namespace somatrix {

void CLiveHeartRate::OnBeat(double timeSec) {
    if (m_bAny && timeSec - m_fLastBeat > kTimeoutSec) {
        Reset();
    }
    if (m_bAny && timeSec > m_fLastBeat) {
        if (m_rr.size() == kMedianOf) {
            m_rr.erase(m_rr.begin());
        }
        m_rr.push_back(timeSec - m_fLastBeat);
    }
    m_bAny = true;
    m_fLastBeat = std::max(m_fLastBeat, timeSec);
    ++m_nBeats;
}

double CLiveHeartRate::Bpm(double nowSec) const {
    if (m_nBeats < kBeatsNeeded || m_rr.empty() || nowSec - m_fLastBeat > kTimeoutSec) {
        return -1;
    }
    std::vector<double> sorted = m_rr;
    std::sort(sorted.begin(), sorted.end());
    const size_t mid = sorted.size() / 2;
    const double median =
        sorted.size() % 2 == 1 ? sorted[mid] : 0.5 * (sorted[mid - 1] + sorted[mid]);
    return 60.0 / median;
}

void CLiveHeartRate::Reset() {
    m_bAny = false;
    m_fLastBeat = 0;
    m_nBeats = 0;
    m_rr.clear();
}

}  // namespace somatrix
